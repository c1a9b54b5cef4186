#pragma once
// A whole number as a person types it into a number prompt.

#include <cstdint>
#include <optional>
#include <string_view>

namespace solvena {

// The number `text` stands for, or nothing: an optional sign and decimal digits that
// fit 32 bits, blanks around them allowed. The full-width digits, signs and blank a
// Japanese input method types count as their ASCII ones.
std::optional<int32_t> parseWholeNumber(std::u16string_view text);

}  // namespace solvena
