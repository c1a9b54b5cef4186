#include "ui/dialogs/uShowNumber.h"

#include "ui/dialogs/RadioGroup.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace solvena {

using namespace Qt::StringLiterals;

TfrmShowNumber::TfrmShowNumber(std::function<void(std::optional<bool>)> apply, QWidget* parent)
    : ToolDialog(u"frmShowNumber"_s, u"数値を表示"_s, false, parent),
      rdoShowNumber(new RadioGroup(u"数値"_s, {u"表示しない"_s, u"表示する"_s}, -1, this)),
      apply_(std::move(apply))
{
    rdoShowNumber->setObjectName(u"rdoShowNumber"_s);
    auto* body = new QVBoxLayout;
    body->addWidget(rdoShowNumber);
    setBody(body);
    setTabOrder(rdoShowNumber, btnOK);
    rdoShowNumber->setFocus();
}

void TfrmShowNumber::btnOKClick()
{
    const int index = rdoShowNumber->itemIndex();
    apply_(index == 0 || index == 1 ? std::optional(index == 1) : std::nullopt);
    hide();
}

}  // namespace solvena
