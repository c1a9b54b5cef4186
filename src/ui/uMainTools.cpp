// TfrmMain: the clipboard commands, the pulse generator and the cell-attribute
// commands. Every change goes through the one edit pipeline, so each of them marks
// the chart modified and records it; the dialogs act on the selection current when
// their OK is pressed.

#include "ui/uMain.h"

#include "document/Document.h"
#include "editing/AttributeCommands.h"
#include "editing/ClipboardCommands.h"
#include "editing/PulseFill.h"
#include "ui/ChartGrid.h"
#include "ui/dialogs/uMakeClock.h"
#include "ui/dialogs/uSetDelay.h"
#include "ui/dialogs/uSetEdge.h"
#include "ui/dialogs/uShowNumber.h"

#include <functional>
#include <stdexcept>

namespace solvena {

using namespace Qt::StringLiterals;

void TfrmMain::createDialogs()
{
    // What an OK does: the change through the edit pipeline, its errors in the error box.
    const auto apply = [this](const std::function<void(TCell&, const CellSelection&)>& change,
                              SnapshotBefore before = SnapshotBefore::No) {
        runGuarded([&] { editChart(change, before); });
    };
    // Created once, in this order, and only hidden afterwards: each keeps its values.
    frmSetEdge = new TfrmSetEdge(
        [apply](std::optional<EdgeArrow> arrow) {
            apply([arrow](TCell& chart, const CellSelection& s) {
                if (arrow)
                    setEdgeArrows(chart, s, *arrow);
            });
        },
        this);
    frmMakePulse = new TfrmMakePulse(
        [apply](const PulseSettings& pulse) {
            apply(
                [pulse](TCell& chart, const CellSelection& s) {
                    if (!fillPulse(chart, s, pulse.lowLength, pulse.highLength, pulse.startLevel))
                        throw std::invalid_argument(u"パルスの間隔は1以上にしてください"_s.toStdString());
                },
                SnapshotBefore::Yes);
        },
        this);
    frmShowNumber = new TfrmShowNumber(
        [apply](std::optional<bool> shown) {
            apply([shown](TCell& chart, const CellSelection& s) {
                if (shown)
                    setNumberLabels(chart, s, *shown);
            });
        },
        this);
    frmSetDelay = new TfrmSetDelay(
        [apply](int32_t delay) {
            apply([delay](TCell& chart, const CellSelection& s) { setEdgeDelay(chart, s, delay); });
        },
        this);
}

bool TfrmMain::refuseSingleCell()
{
    const CellSelection s = dgdMain->selection();
    if (s.left != s.right || s.top != s.bottom)
        return false;
    prompts().warning(u"2マス以上の範囲を選択してください"_s);
    return true;
}

void TfrmMain::actCutExecute()
{
    editChart([](TCell& chart, const CellSelection& s) { cutLevels(chart, s, clipboardBuffer); });
}

void TfrmMain::actCopyExecute()
{
    copyLevels(document, dgdMain->selection(), clipboardBuffer);
}

void TfrmMain::actPasteExecute()
{
    editChart([](TCell& chart, const CellSelection& s) { pasteLevels(chart, s, clipboardBuffer); });
}

void TfrmMain::actDeleteExecute()
{
    editChart(deleteLevels);
}

void TfrmMain::actMakePulseExecute()
{
    if (!refuseSingleCell())
        frmMakePulse->showModeless();
}

void TfrmMain::actSetDelayExecute()
{
    frmSetDelay->showModeless();
}

void TfrmMain::actShowEdgeExecute()
{
    if (!refuseSingleCell())
        frmSetEdge->showModeless();
}

void TfrmMain::actShowNumberExecute()
{
    if (!refuseSingleCell())
        frmShowNumber->showModeless();
}

void TfrmMain::actTimingLineExecute()
{
    editChart(toggleTimingLines);
}

}  // namespace solvena
