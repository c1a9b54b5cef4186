#pragma once
// UTF-8 helpers for text that crosses into the program from outside (JSON files) and
// the UTF-16 that the CP932 codec speaks.

#include <cstddef>
#include <string>
#include <string_view>

namespace solvena {

// What decodeUtf8 returns for a malformed sequence.
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// Decodes the code point at `pos` and moves `pos` past it. Strict: overlong forms,
// encoded surrogates, values above U+10FFFF and cut sequences give kInvalidCodePoint
// and leave `pos` where it was. `pos` must be before the end of `text`.
char32_t decodeUtf8(std::string_view text, size_t& pos);

// Appends the UTF-8 form of a code point (a surrogate or a value above U+10FFFF
// becomes U+FFFD).
void appendUtf8(std::string& out, char32_t codePoint);

// UTF-8 to UTF-16; every malformed byte becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// Text from a file made fit for a one-line message: control characters and line
// separators shown as U+XXXX, malformed bytes as U+FFFD, and anything past `maxChars`
// characters cut with "…", so that a hostile name can neither break nor flood it.
std::string printableExcerpt(std::string_view utf8, int maxChars);

}  // namespace solvena
