#pragma once
// Reasons as the window words them, for tests that pin what the user reads there. Qt
// stays out of this header: some tests name helpers as Qt's keywords do.

#include "text/Reason.h"

#include <string>
#include <vector>

class QString;

namespace solvena {

QString japaneseText(const Reason& reason);
std::string japanese(const Reason& reason);
std::vector<std::string> japanese(const std::vector<Reason>& reasons);

}  // namespace solvena
