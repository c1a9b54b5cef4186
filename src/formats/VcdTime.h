#pragma once
// Lengths of simulated time as people write them ("10ns", "2.5 us", "0"), held as
// whole femtoseconds, the finest unit a value change dump can name.

#include "text/Reason.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace solvena {

// Femtoseconds in one of each unit.
inline constexpr int64_t kFemtosecondsPerSecond = 1'000'000'000'000'000;

// Why a text is not a time.
enum class TimeTextError {
    None,
    Empty,        // nothing but blanks
    NotANumber,   // no digits, a sign, a second point, letters before the unit
    NoUnit,       // a number other than 0 without its unit
    UnknownUnit,  // a unit other than s, ms, us (µs), ns, ps, fs
    TooFine,      // not a whole number of femtoseconds
    TooLarge,     // beyond about 9,223 seconds
};

struct TimeText {
    int64_t femtoseconds = 0;
    TimeTextError error = TimeTextError::None;

    bool ok() const { return error == TimeTextError::None; }
};

// Reads a time: a decimal number (a point and digits after it allowed, no sign), blanks
// allowed before the unit, the unit's letters in any case. "0" alone needs no unit.
// Blanks around the whole are ignored.
TimeText parseTimeText(std::string_view text);

// The time as the shortest text parseTimeText reads back: the largest unit that holds it
// whole ("10ns", "1500ps", "0s").
std::string timeText(int64_t femtoseconds);

// The reason a text is not a time; none for TimeTextError::None.
Reason timeTextReason(TimeTextError error);

}  // namespace solvena
