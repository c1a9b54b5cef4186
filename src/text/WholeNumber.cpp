#include "text/WholeNumber.h"

#include <charconv>
#include <string>

namespace solvena {

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}

// The ASCII character a full-width one is typed for; others as they are, and
// anything else beyond ASCII as a character no number holds.
char asciiOf(char16_t c)
{
    if (c >= u'０' && c <= u'９')
        return static_cast<char>('0' + (c - u'０'));
    if (c == u'＋')
        return '+';
    if (c == u'－')
        return '-';
    return c < 0x80 ? static_cast<char>(c) : '\x7F';
}

}  // namespace

std::optional<int32_t> parseWholeNumber(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::string ascii;
    for (const char16_t c : text)
        ascii += asciiOf(c);
    // from_chars takes "-" but not "+"; a second sign must not slip through.
    std::string_view digits = ascii;
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return value;
}

}  // namespace solvena
