#include "ui/dialogs/ToolDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace solvena {

using namespace Qt::StringLiterals;

ToolDialog::ToolDialog(const QString& objectName, const QString& caption, bool sizeable,
                       QWidget* parent)
    : QDialog(parent), btnOK(new QPushButton(u"OK"_s, this))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(false);
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (!sizeable)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flags);
    btnOK->setObjectName(u"btnOK"_s);
    // Enter anywhere in the dialog is OK.
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

void ToolDialog::setBody(QLayout* body)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(body);
    column->addLayout(buttons);
    if (windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint))
        column->setSizeConstraint(QLayout::SetFixedSize);
}

void ToolDialog::showModeless()
{
    show();
    raise();
    activateWindow();
}

}  // namespace solvena
