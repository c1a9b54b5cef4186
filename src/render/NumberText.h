#pragma once
// Numbers as the vector files write them: as short as they can be while exact to what
// the drawing needs, appended to a string being built.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace solvena {

inline void appendInt(std::string& out, int64_t value)
{
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// `value` to `digits` decimals, trailing zeros and a bare point dropped ("-0" as "0").
inline void appendDecimal(std::string& out, double value, int digits)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits).ptr;
    std::string_view text(buffer, size_t(end - buffer));
    if (text.find('.') != std::string_view::npos) {
        while (text.ends_with('0'))
            text.remove_suffix(1);
        if (text.ends_with('.'))
            text.remove_suffix(1);
    }
    if (text == "-0")
        text = "0";
    out += text;
}

// A coordinate as short as it is exact to the ten-thousandth: lines stand on whole or
// half units, and only slanted ones between.
inline void appendNumber(std::string& out, double value)
{
    const double twice = value * 2;
    if (twice == std::floor(twice) && std::abs(twice) < 1e15) {
        const auto halves = static_cast<int64_t>(twice);
        const int64_t whole = halves / 2;
        if (halves % 2 != 0 && whole == 0 && halves < 0)
            out += '-';
        appendInt(out, whole);
        if (halves % 2 != 0)
            out += ".5";
        return;
    }
    appendDecimal(out, value, 4);
}

}  // namespace solvena
