#include "storage/ViewPreferences.h"

#include "storage/ProfileFile.h"

#include <charconv>
#include <cstdint>
#include <optional>

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
    const std::optional<std::string> text = readProfileString(ini, kSection, key);
    if (!text || text->empty())
        return std::nullopt;
    // from_chars takes no "+", which an integer may still carry.
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+' && text->size() > 1 && first[1] != '-')
        ++first;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value != 0;
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
