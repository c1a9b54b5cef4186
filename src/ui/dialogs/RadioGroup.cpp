#include "ui/dialogs/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace solvena {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int itemIndex,
                       QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this))
{
    auto* column = new QVBoxLayout(this);
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], this);
        buttons_->addButton(item, static_cast<int>(i));
        column->addWidget(item);
    }
    setItemIndex(itemIndex);
    connect(buttons_, &QButtonGroup::idToggled, this, [this] { updateTabStop(); });
}

void RadioGroup::updateTabStop()
{
    // Tab reaches the group once, on its chosen item (the first while none is); the
    // arrow keys move between the items.
    QAbstractButton* stop = buttons_->checkedButton();
    if (!stop && !buttons_->buttons().isEmpty())
        stop = buttons_->buttons().constFirst();
    for (QAbstractButton* item : buttons_->buttons())
        item->setFocusPolicy(item == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

int RadioGroup::itemIndex() const
{
    return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* item = buttons_->button(index)) {
        item->setChecked(true);
        updateTabStop();
        return;
    }
    // An exclusive group cannot uncheck its checked button by itself.
    buttons_->setExclusive(false);
    for (QAbstractButton* item : buttons_->buttons())
        item->setChecked(false);
    buttons_->setExclusive(true);
    updateTabStop();
}

}  // namespace solvena
