#pragma once
// The grid's layout as a value: how many columns and rows the chart uses, their
// sizes, the grid font, the name alignment and the grid lines. The on-screen grid
// holds one and derives its cell rectangles from it; output lays the whole chart out
// from one; the chart file stores its counts and column widths; the layout commands
// change it through the functions below.

#include "document/FontDesc.h"

#include <cstdint>
#include <vector>

namespace solvena {

// The grid as the program starts. These are the only place the numbers are spelled.
namespace grid_defaults {
inline constexpr int32_t kColCount = 30;          // the name column and 29 steps
inline constexpr int32_t kRowCount = 5;           // the header row and 4 signals
inline constexpr int32_t kNameColumnWidth = 80;
inline constexpr int32_t kColWidth = 15;
inline constexpr int32_t kRowHeight = 25;
inline constexpr int32_t kHeaderRowHeight = 25;   // also what the row-height command keeps
inline constexpr int32_t kMaxCount = 100;         // columns or rows: the chart record's capacity
inline constexpr int32_t kMaxCellSize = 1000;     // pixels of a column or row the commands allow
FontDesc gridFont();                              // "ＭＳ ゴシック", 13 pixels
FontDesc headerFont();                            // chartFont: the program's face, 10 points
}  // namespace grid_defaults

struct GridLayout {
    // One width per column and one height per row: their sizes are the counts.
    std::vector<int32_t> colWidths;
    std::vector<int32_t> rowHeights;
    int32_t defaultColWidth = grid_defaults::kColWidth;
    int32_t defaultRowHeight = grid_defaults::kRowHeight;
    FontDesc gridFont = grid_defaults::gridFont();
    bool namesRightAligned = false;
    bool vertLines = true;   // lines between data cells; the header row's always show
    bool horzLines = true;

    GridLayout();

    int32_t colCount() const { return static_cast<int32_t>(colWidths.size()); }
    int32_t rowCount() const { return static_cast<int32_t>(rowHeights.size()); }
    int32_t colWidth(int32_t col) const;     // 0 outside the counts
    int32_t rowHeight(int32_t row) const;

    bool operator==(const GridLayout&) const = default;
};

// A layout of these column widths and `rowCount` rows of the default height, taken as
// given (no limits applied), everything else as the program starts.
GridLayout gridLayoutWith(std::vector<int32_t> colWidths, int32_t rowCount);

// Counts are kept within 1..100. Added columns and rows get the default size; the
// sizes of removed ones are dropped.
void setColCount(GridLayout& layout, int32_t count);
void setRowCount(GridLayout& layout, int32_t count);

// Give every column (every row) the new default size.
void setDefaultColWidth(GridLayout& layout, int32_t width);
void setDefaultRowHeight(GridLayout& layout, int32_t height);

// One column's width or one row's height, never below 0; outside the counts nothing.
void setColWidth(GridLayout& layout, int32_t col, int32_t width);
void setRowHeight(GridLayout& layout, int32_t row, int32_t height);

// The row-height command: every row `height`, then the header row back to its own.
void applyRowHeight(GridLayout& layout, int32_t height);

// The column-width command: every column `width` but the name column, which keeps
// the width it has, dragged or not.
void applyColumnWidth(GridLayout& layout, int32_t width);

// A column dragged to another place in the header: only the widths follow it (the
// chart's cells stay at their indexes). Returns whether the widths changed.
bool moveColumn(GridLayout& layout, int32_t from, int32_t to);

// The extent a chart file gives: the counts, then the widths of columns 0, 1, ...
void applyChartExtent(GridLayout& layout, int32_t colCount, int32_t rowCount,
                      const std::vector<int32_t>& colWidths);

}  // namespace solvena
