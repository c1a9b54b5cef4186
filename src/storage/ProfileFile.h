#pragma once
// Keys of a profile (INI) file, read from and written into its bytes. Writing
// changes one line or adds lines; every other byte of the file stays where it was,
// so hand-made sections, comments and layout survive the program's writes.
//
// Rules:
//   - A line ends at LF; a CR just before it belongs to the line break. A UTF-8
//     byte-order mark at the very start belongs to no line and is kept.
//   - A section starts at a line whose first non-blank byte is "[" and that holds
//     a "]"; its name is the text between them. A "[" line without "]" is no header.
//   - A key line is a line in a section, not starting with ";", holding "="; its
//     name is the text before the first "=", its value the text after it.
//   - Names are compared without regard to the case of ASCII letters (a CP932
//     double-byte character is compared as it is); blanks (space, tab) around
//     names and values do not count. A value enclosed in a matching pair of '"' or
//     "'" is read without them.
//   - Where a section or key occurs twice, the first one counts.
//   - Lines before the first section, ";" comments, blank and unrecognised lines
//     are never read as keys and never changed.
//   - New lines take the file's own line break (that of its first line); a file
//     without any line break gets CR LF.

#include <optional>
#include <string>
#include <string_view>

namespace solvena {

// The value of `key` in `section`, or nothing when the section or the key is missing.
std::optional<std::string> readProfileString(std::string_view ini, std::string_view section,
                                             std::string_view key);

// `ini` with `key` in `section` set to `value`: the key's line is replaced in place
// by "key=value" (keeping the spelling of the name found in the file), or a line is
// added after the section's last key line (after its header when it has none), or
// the section is appended at the end with the key as its one line.
// Throws std::invalid_argument for what would break the file's lines or could not be
// found again under its name: a CR or LF anywhere, an empty or blank-edged name, a
// section name holding "]", a key name holding "=" or starting with ";" or "[".
std::string writeProfileString(std::string_view ini, std::string_view section, std::string_view key,
                               std::string_view value);

// `ini` without the lines of `key` in `section` (every one of them, so that no later
// duplicate comes to count instead); the same bytes when there is none.
std::string removeProfileKey(std::string_view ini, std::string_view section, std::string_view key);

// The value of `key` in `section` as a decimal integer (optional sign, 32 bits), or
// nothing when it is missing or holds any other text.
std::optional<int> readProfileInt(std::string_view ini, std::string_view section, std::string_view key);

}  // namespace solvena
