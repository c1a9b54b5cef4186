#pragma once
// Undo and redo over whole-chart snapshots: a window of eleven records whose slot 5
// is the head (the chart as last recorded), slots 6..10 the earlier states and
// slots 0..4 the undone ones, slot 4 the next to redo.

#include "document/TCell.h"

#include <cstdint>

namespace solvena {

inline constexpr int kHistoryHead = 5;

// What the history works on, handed in by the caller so that tests can use their
// own records instead of the program's globals.
struct EditHistory {
    TCell (&records)[11];
    int32_t& undoCount;   // 0..6
    int32_t& redoCount;
};

// Records `document` as the newest state. Pending redo steps end here: the states
// they would bring back belong to a line of changes the user has left.
void recordSnapshot(const TCell& document, EditHistory history);

// Brings back the state before the head and slides the window one place towards
// the undone end. Does nothing while no undo step is offered.
void undoCommand(TCell& document, EditHistory history);

// Brings back the nearest undone state and slides the window back. Does nothing
// while no redo step is offered.
void redoCommand(TCell& document, EditHistory history);

inline bool canUndo(const EditHistory& history) { return history.undoCount > 0; }
inline bool canRedo(const EditHistory& history) { return history.redoCount > 0; }

}  // namespace solvena
