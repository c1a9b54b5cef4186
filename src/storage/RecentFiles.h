#pragma once
// The files opened or saved last, newest first, as the preferences file keeps them:
// section "Recent", keys "File1" (the newest) to "File8", one full path each.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

inline constexpr size_t kMaxRecentFiles = 8;

// The list the file's bytes hold, File1 first: missing keys and empty values are
// skipped, a path met again is dropped, at most kMaxRecentFiles.
std::vector<std::string> readRecentFiles(std::string_view ini);

// `ini` with its "Recent" section holding `files` in order as File1, File2, ... (at
// most kMaxRecentFiles) and no FileN key beyond them; a path holding a line break,
// which no INI line can hold, is left out. Nothing else in the file changes, and a
// file without the section gets none for an empty list.
std::string writeRecentFiles(std::string_view ini, const std::vector<std::string>& files);

// `files` with `path` at the front, once, cut to kMaxRecentFiles.
std::vector<std::string> withRecentFile(std::vector<std::string> files, const std::string& path);

}  // namespace solvena
