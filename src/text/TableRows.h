#pragma once
// Looking rows up in the program's tables (chart formats, picture formats) by their
// id or by their ASCII name, which extensions and option values give in any case.

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace solvena {

inline bool sameLetters(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The row whose `name` is `name` in any case; none for others.
template <typename Row>
const Row* rowNamed(const std::vector<Row>& table, std::string_view name)
{
    const auto row = std::find_if(table.begin(), table.end(), [&](const Row& r) { return sameLetters(r.name, name); });
    return row == table.end() ? nullptr : &*row;
}

// The row of `id`; a table without one is a programming error.
template <typename Row, typename Id>
const Row& rowWithId(const std::vector<Row>& table, Id id)
{
    const auto row = std::find_if(table.begin(), table.end(), [&](const Row& r) { return r.id == id; });
    if (row == table.end())
        throw std::logic_error("a table without the row of an id");
    return *row;
}

}  // namespace solvena
