#include "ui/dialogs/uSetEdge.h"

#include "ui/dialogs/RadioGroup.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace solvena {

using namespace Qt::StringLiterals;

TfrmSetEdge::TfrmSetEdge(std::function<void(std::optional<EdgeArrow>)> apply, QWidget* parent)
    : ToolDialog(u"frmSetEdge"_s, u"エッジ動作の矢印"_s, true, parent),
      rdoEdge(new RadioGroup(u"エッジ動作の矢印"_s, {u"なし"_s, u"立ち上がり"_s, u"立ち下がり"_s}, 0, this)),
      apply_(std::move(apply))
{
    rdoEdge->setObjectName(u"rdoEdge"_s);
    auto* body = new QVBoxLayout;
    body->addWidget(rdoEdge);
    setBody(body);
    setTabOrder(rdoEdge, btnOK);
    rdoEdge->setFocus();
}

void TfrmSetEdge::btnOKClick()
{
    const EdgeArrow arrows[] = {EdgeArrow::None, EdgeArrow::Rising, EdgeArrow::Falling};
    const int index = rdoEdge->itemIndex();
    apply_(index >= 0 && index < 3 ? std::optional(arrows[index]) : std::nullopt);
    hide();
}

}  // namespace solvena
