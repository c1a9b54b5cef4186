#pragma once
// The program's one rule for giving a path another extension.

#include <string>

namespace solvena {

// Replaces the part from the last "." that stands after the last path separator
// ("\", "/" or ":") by `extension` (which includes its dot); where there is no
// such ".", appends `extension`.
std::string replaceExtension(const std::string& path, const std::string& extension);

}  // namespace solvena
