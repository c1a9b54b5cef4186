#include "editing/AttributeCommands.h"

#include "editing/CellVisit.h"

namespace solvena {

void setEdgeDelay(TCell& chart, const CellSelection& selection, int32_t delay)
{
    forEachCell(selection, [&](int32_t c, int32_t r) {
        if (c > 0 && chart.level[c - 1][r] != chart.level[c][r])
            chart.delay[c][r] = delay;
    });
}

void setEdgeArrows(TCell& chart, const CellSelection& selection, EdgeArrow arrow)
{
    constexpr uint8_t arrowBits = kFlagRisingArrow | kFlagFallingArrow;
    const uint8_t bits = arrow == EdgeArrow::Rising    ? kFlagRisingArrow
                         : arrow == EdgeArrow::Falling ? kFlagFallingArrow
                                                       : 0;
    forEachCell(selection, [&](int32_t c, int32_t r) {
        chart.cellFlags[c][r] = static_cast<uint8_t>((chart.cellFlags[c][r] & ~arrowBits) | bits);
    });
}

void setNumberLabels(TCell& chart, const CellSelection& selection, bool shown)
{
    forEachCell(selection, [&](int32_t c, int32_t r) {
        uint8_t& flags = chart.cellFlags[c][r];
        flags = static_cast<uint8_t>(shown ? flags | kFlagShowNumber : flags & ~kFlagShowNumber);
    });
}

void toggleTimingLines(TCell& chart, const CellSelection& selection)
{
    const CellSelection block = clampedToRecord(selection);
    // One row's worth of columns: each column flips once, however many rows there are.
    forEachCell(CellSelection{block.left, block.top, block.right, block.top},
                [&](int32_t c, int32_t) { chart.timingLine[c] = chart.timingLine[c] == 1 ? 0 : 1; });
}

}  // namespace solvena
