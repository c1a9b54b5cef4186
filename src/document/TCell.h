#pragma once
// The chart record: one fixed-size value holding every cell the grid can show.

#include <cstdint>
#include <string>

namespace solvena {

// Capacity of the record: column 0 holds the names, row 0 is the header row.
inline constexpr int kMaxCols = 100;
inline constexpr int kMaxRows = 100;

// Level codes stored in TCell::level.
inline constexpr int32_t kLevelLow = 0;
inline constexpr int32_t kLevelHigh = 1;
inline constexpr int32_t kLevelUndefined = 2;

// Bits of TCell::cellFlags.
inline constexpr uint8_t kFlagRisingArrow = 1;
inline constexpr uint8_t kFlagFallingArrow = 2;
inline constexpr uint8_t kFlagShowNumber = 4;

// The whole chart. Arrays are indexed [column][row]. The record does not own the
// chart's extent: the grid's counts decide how much of it is in use.
struct TCell {
    int32_t colCount = 0;
    int32_t rowCount = 0;
    int32_t level[kMaxCols][kMaxRows] = {};
    int32_t delay[kMaxCols][kMaxRows] = {};
    int32_t timingLine[kMaxCols] = {};
    // Names are kept as CP932 bytes, exactly as the chart file stores them.
    std::string signalName[kMaxRows];
    uint8_t cellFlags[kMaxCols][kMaxRows] = {};

    bool operator==(const TCell&) const = default;
};

// The complement of a level: 0 <-> 1, every other value unchanged.
constexpr int32_t invertLevel(int32_t level)
{
    if (level == kLevelLow) return kLevelHigh;
    if (level == kLevelHigh) return kLevelLow;
    return level;
}

// The data part of starting a new chart: records the grid's counts and empties
// every cell, name and timing line of the whole record.
void resetChart(TCell& cell, int32_t gridColCount, int32_t gridRowCount);

}  // namespace solvena
