#include "formats/VcdTime.h"

#include <array>
#include <cctype>
#include <limits>

namespace solvena {

namespace {

struct Unit {
    std::string_view name;
    int exponent;  // the unit is 10^exponent femtoseconds
};

constexpr std::array<Unit, 6> kUnits{{{"s", 15}, {"ms", 12}, {"us", 9}, {"ns", 6}, {"ps", 3}, {"fs", 0}}};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The unit's exponent; -1 for a name that is no unit.
int unitExponent(std::string_view name)
{
    // The micro sign and the Greek mu, in UTF-8, stand for "u".
    for (const std::string_view micro : {std::string_view("\xC2\xB5"), std::string_view("\xCE\xBC")})
        if (name.size() == micro.size() + 1 && name.substr(0, micro.size()) == micro &&
            (name.back() == 's' || name.back() == 'S'))
            return 9;
    for (const Unit& unit : kUnits) {
        if (unit.name.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < name.size(); ++i)
            same = same && std::tolower(static_cast<unsigned char>(name[i])) == unit.name[i];
        if (same) return unit.exponent;
    }
    return -1;
}

}  // namespace

TimeText parseTimeText(std::string_view text)
{
    text = trimmed(text);
    if (text.empty()) return {0, TimeTextError::Empty};

    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t mantissa = 0;
    int fractionDigits = 0;  // after the point, up to the last that is not 0
    int pendingZeros = 0;    // zeros after the point not yet known to matter
    bool digits = false;
    bool point = false;
    const auto shift = [&mantissa](int digit) {
        if (mantissa > (kMax - digit) / 10) return false;
        mantissa = mantissa * 10 + digit;
        return true;
    };
    size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) return {0, TimeTextError::NotANumber};
            point = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        digits = true;
        if (point && c == '0') {
            ++pendingZeros;
            continue;
        }
        for (; pendingZeros > 0; --pendingZeros, ++fractionDigits)
            if (!shift(0)) return {0, TimeTextError::TooLarge};
        if (!shift(c - '0')) return {0, TimeTextError::TooLarge};
        if (point) ++fractionDigits;
    }
    if (!digits) return {0, TimeTextError::NotANumber};

    const std::string_view unitName = trimmed(text.substr(i));
    if (unitName.empty()) return {0, mantissa == 0 ? TimeTextError::None : TimeTextError::NoUnit};
    const int exponent = unitExponent(unitName);
    if (exponent < 0) {
        const unsigned char first = static_cast<unsigned char>(unitName.front());
        return {0, std::isalpha(first) || first >= 0x80 ? TimeTextError::UnknownUnit : TimeTextError::NotANumber};
    }

    // mantissa * 10^(exponent - fractionDigits), exactly.
    if (fractionDigits > exponent) return {0, TimeTextError::TooFine};
    for (int k = exponent - fractionDigits; k > 0; --k)
        if (!shift(0)) return {0, TimeTextError::TooLarge};
    return {mantissa, TimeTextError::None};
}

std::string timeText(int64_t femtoseconds)
{
    if (femtoseconds == 0) return "0s";
    for (const Unit& unit : kUnits) {
        int64_t scale = 1;
        for (int k = 0; k < unit.exponent; ++k) scale *= 10;
        if (femtoseconds % scale == 0) return std::to_string(femtoseconds / scale) + std::string(unit.name);
    }
    return std::to_string(femtoseconds) + "fs";
}

Reason timeTextReason(TimeTextError error)
{
    switch (error) {
    case TimeTextError::None: return {};
    case TimeTextError::Empty: return ReasonKind::TimeEmpty;
    case TimeTextError::NotANumber: return ReasonKind::TimeNotANumber;
    case TimeTextError::NoUnit: return ReasonKind::TimeNoUnit;
    case TimeTextError::UnknownUnit: return ReasonKind::TimeUnknownUnit;
    case TimeTextError::TooFine: return ReasonKind::TimeTooFine;
    case TimeTextError::TooLarge: return ReasonKind::TimeTooLarge;
    }
    return {};
}

}  // namespace solvena
