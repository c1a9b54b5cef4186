#include "ui/dialogs/uMakeClock.h"

#include "ui/dialogs/IntSpinField.h"
#include "ui/dialogs/RadioGroup.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace solvena {

using namespace Qt::StringLiterals;

TfrmMakePulse::TfrmMakePulse(std::function<void(const PulseSettings&)> fill, QWidget* parent)
    : ToolDialog(u"frmMakePulse"_s, u"パルス波形作成"_s, false, parent),
      edt0PerN(new IntSpinField(1, 50, 1, this)),
      edt1perN(new IntSpinField(1, 50, 1, this)),
      rdgBegin(new RadioGroup(u"開始値"_s, {u"0から始める"_s, u"1から始める"_s}, 0, this)),
      fill_(std::move(fill))
{
    edt0PerN->setObjectName(u"edt0PerN"_s);
    edt1perN->setObjectName(u"edt1perN"_s);
    rdgBegin->setObjectName(u"rdgBegin"_s);

    auto* lengths = new QFormLayout;
    lengths->addRow(u"0の間隔："_s, edt0PerN);
    lengths->addRow(u"1の間隔："_s, edt1perN);
    auto* body = new QVBoxLayout;
    body->addLayout(lengths);
    body->addWidget(rdgBegin);
    setBody(body);

    setTabOrder(edt0PerN, edt1perN);
    setTabOrder(edt1perN, rdgBegin);
    setTabOrder(rdgBegin, btnOK);
    edt0PerN->setFocus();
}

void TfrmMakePulse::btnOKClick()
{
    // A number typed and confirmed with Enter never left its field: correct it here,
    // so an emptied field counts as its minimum and shows it.
    edt0PerN->correct();
    edt1perN->correct();
    fill_(PulseSettings{edt0PerN->value(), edt1perN->value(), rdgBegin->itemIndex() == 1 ? 1 : 0});
    hide();
}

}  // namespace solvena
