#include "document/Document.h"

namespace solvena {

TCell document;
TCell clipboardBuffer;
TCell historySlots[kHistorySlotCount];

bool modifiedFlag = false;
int32_t undoCount = 0;
int32_t redoCount = 0;
FontDesc chartFont;

void resetChart(TCell& cell, int32_t gridColCount, int32_t gridRowCount)
{
    cell.colCount = gridColCount;
    cell.rowCount = gridRowCount;
    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            cell.level[c][r] = 0;
            cell.delay[c][r] = 0;
            cell.cellFlags[c][r] = 0;
        }
        cell.timingLine[c] = 0;
    }
    for (auto& name : cell.signalName)
        name.clear();
}

}  // namespace solvena
