#pragma once
// Conversion between Unicode text and code page 932 (Shift-JIS with the Windows
// extensions), the encoding of signal names and chart files.

#include <optional>
#include <string>
#include <string_view>

namespace solvena {

// Decodes CP932 bytes. A byte sequence that is not CP932 becomes U+FFFD, one per
// offending byte, so that damaged text still shows.
std::u16string cp932ToUtf16(std::string_view bytes);

// Encodes text as CP932; nullopt when some character has no CP932 code.
std::optional<std::string> utf16ToCp932(std::u16string_view text);

// Whether a single UTF-16 code unit sequence (one character) can be held in CP932.
bool isCp932Encodable(std::u16string_view text);

}  // namespace solvena
