#pragma once
// The program's chart records and the values beside them as a fresh program has them:
// every window test starts from there, whatever the test before it left behind.

#include "document/Document.h"

#include <memory>

namespace solvena {

inline void resetProgramState()
{
    static const auto empty = std::make_unique<TCell>();
    document = *empty;
    clipboardBuffer = *empty;
    for (TCell& slot : historySlots)
        slot = *empty;
    modifiedFlag = false;
    undoCount = 0;
    redoCount = 0;
}

}  // namespace solvena
