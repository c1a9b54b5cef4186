#include "storage/ViewPreferences.h"

#include "storage/ProfileFile.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace {

constexpr std::string_view kSection = "View";
constexpr std::string_view kVertLine = "VertLine";
constexpr std::string_view kHorzLine = "HorzLine";
constexpr std::string_view kAlignRight = "AlignRight";

bool readFlag(std::string_view ini, std::string_view key, bool fallback)
{
    const std::optional<std::string> text = readProfileString(ini, kSection, key);
    if (!text || text->empty())
        return fallback;
    // from_chars takes no "+", which an integer may still carry.
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+' && text->size() > 1 && first[1] != '-')
        ++first;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return fallback;
    return value != 0;
}

}  // namespace

ViewPreferences readViewPreferences(std::string_view ini)
{
    const ViewPreferences defaults;
    return {.vertLine = readFlag(ini, kVertLine, defaults.vertLine),
            .horzLine = readFlag(ini, kHorzLine, defaults.horzLine),
            .alignRight = readFlag(ini, kAlignRight, defaults.alignRight)};
}

std::string writeViewPreferences(std::string_view ini, const ViewPreferences& preferences)
{
    std::string bytes = writeProfileString(ini, kSection, kVertLine, preferences.vertLine ? "1" : "0");
    bytes = writeProfileString(bytes, kSection, kHorzLine, preferences.horzLine ? "1" : "0");
    return writeProfileString(bytes, kSection, kAlignRight, preferences.alignRight ? "1" : "0");
}
