#include "storage/ViewPreferences.h"

#include "storage/ProfileFile.h"

#include <optional>

namespace solvena {

namespace {

constexpr std::string_view kSection = "View";

struct Option {
    std::string_view key;
    bool ViewPreferences::*member;
};

// In the order they are written.
constexpr Option kOptions[] = {
    {"VertLine", &ViewPreferences::vertLine},
    {"HorzLine", &ViewPreferences::horzLine},
    {"AlignRight", &ViewPreferences::alignRight},
};

// The option the file sets, or nothing where it holds no integer for it.
std::optional<bool> readFlag(std::string_view ini, std::string_view key)
{
    const std::optional<int> value = readProfileInt(ini, kSection, key);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

}  // namespace

ViewPreferences readViewPreferences(std::string_view ini, const ViewPreferences& defaults)
{
    ViewPreferences result = defaults;
    for (const Option& option : kOptions)
        result.*option.member = readFlag(ini, option.key).value_or(defaults.*option.member);
    return result;
}

std::string writeViewPreferences(std::string_view ini, const ViewPreferences& preferences,
                                 std::string_view shared)
{
    std::string bytes(ini);
    for (const Option& option : kOptions) {
        const bool value = preferences.*option.member;
        if (readFlag(shared, option.key) == value && !readProfileString(bytes, kSection, option.key))
            continue;
        bytes = writeProfileString(bytes, kSection, option.key, value ? "1" : "0");
    }
    return bytes;
}

}  // namespace solvena
