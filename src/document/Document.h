#pragma once
// The program's chart records and the values beside them. They live for the whole
// run; only the user interface layer reaches for them, core functions take what
// they touch as parameters.

#include "document/FontDesc.h"
#include "document/TCell.h"

namespace solvena {

inline constexpr int kHistorySlotCount = 11;

extern TCell document;                          // the chart being edited
extern TCell clipboardBuffer;                   // the internal clipboard
extern TCell historySlots[kHistorySlotCount];   // the undo/redo window

extern bool modifiedFlag;     // changed since the last reset, load or save
extern int32_t undoCount;     // undo steps offered
extern int32_t redoCount;     // redo steps offered
extern FontDesc chartFont;    // font of the header texts

}  // namespace solvena
