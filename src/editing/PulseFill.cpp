#include "editing/PulseFill.h"

#include "editing/CellVisit.h"

namespace solvena {

bool fillPulse(TCell& chart, const CellSelection& selection, int32_t lowLength,
               int32_t highLength, int32_t startLevel)
{
    // A zero period would divide by zero.
    if (lowLength < 1 || highLength < 1)
        return false;
    if (startLevel != kLevelLow && startLevel != kLevelHigh)
        return false;
    const int64_t period = int64_t{lowLength} + highLength;
    const int64_t first = startLevel == kLevelLow ? lowLength : highLength;
    const int32_t other = invertLevel(startLevel);
    const int32_t left = clampedToRecord(selection).left;
    forEachCell(selection, [&](int32_t c, int32_t r) {
        chart.level[c][r] = (c - left) % period < first ? startLevel : other;
    });
    return true;
}

}  // namespace solvena
