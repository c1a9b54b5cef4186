#include "document/EditHistory.h"

namespace solvena {

namespace {

// undoCount may reach 6 although only five earlier states are kept, so the last
// undo repeats the state before it; a redo only counts back up to 5.
constexpr int32_t kMaxUndoCount = 6;
constexpr int32_t kRedoRaisesUndoBelow = 5;

}  // namespace

void recordSnapshot(const TCell& document, EditHistory history)
{
    TCell (&records)[11] = history.records;
    for (int i = 9; i >= kHistoryHead; --i)
        records[i + 1] = records[i];
    records[kHistoryHead] = document;
    if (history.undoCount < kMaxUndoCount)
        ++history.undoCount;
    history.redoCount = 0;
}

void undoCommand(TCell& document, EditHistory history)
{
    if (!canUndo(history))
        return;
    TCell (&records)[11] = history.records;
    document = records[kHistoryHead + 1];
    for (int i = 0; i <= 9; ++i)
        records[i] = records[i + 1];
    --history.undoCount;
    ++history.redoCount;
}

void redoCommand(TCell& document, EditHistory history)
{
    if (!canRedo(history))
        return;
    TCell (&records)[11] = history.records;
    document = records[kHistoryHead - 1];
    for (int i = 9; i >= 0; --i)
        records[i + 1] = records[i];
    --history.redoCount;
    if (history.undoCount < kRedoRaisesUndoBelow)
        ++history.undoCount;
}

}  // namespace solvena
