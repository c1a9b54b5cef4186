#include "ui/dialogs/uSetDelay.h"

#include "ui/dialogs/IntSpinField.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace solvena {

using namespace Qt::StringLiterals;

TfrmSetDelay::TfrmSetDelay(std::function<void(int32_t)> apply, QWidget* parent)
    : ToolDialog(u"frmSetDelay"_s, u"遅延設定"_s, false, parent),
      edtDelay(new IntSpinField(0, 50, 0, this)),
      apply_(std::move(apply))
{
    edtDelay->setObjectName(u"edtDelay"_s);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(u"遅延"_s, this));
    row->addWidget(edtDelay);
    setBody(row);

    // OK comes first: the dialog opens on it, ready to apply the last delay again.
    setTabOrder(btnOK, edtDelay);
    btnOK->setFocus();
}

void TfrmSetDelay::btnOKClick()
{
    edtDelay->correct();
    apply_(edtDelay->value());
    hide();
}

}  // namespace solvena
