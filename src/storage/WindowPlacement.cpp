#include "storage/WindowPlacement.h"

#include "storage/ProfileFile.h"

namespace solvena {

namespace {

constexpr std::string_view kSection = "Window";
constexpr int kLimit = 1'000'000;

struct Field {
    std::string_view key;
    int WindowPlacement::*member;
    int min;
};

// In the order they are written.
constexpr Field kFields[] = {
    {"Left", &WindowPlacement::left, -kLimit},
    {"Top", &WindowPlacement::top, -kLimit},
    {"Width", &WindowPlacement::width, 1},
    {"Height", &WindowPlacement::height, 1},
};

}  // namespace

std::optional<WindowPlacement> readWindowPlacement(std::string_view ini)
{
    WindowPlacement placement;
    for (const Field& field : kFields) {
        const std::optional<int> value = readProfileInt(ini, kSection, field.key);
        if (!value || *value < field.min || *value > kLimit)
            return std::nullopt;
        placement.*field.member = *value;
    }
    placement.maximized = readProfileInt(ini, kSection, "Maximized").value_or(0) != 0;
    return placement;
}

std::string writeWindowPlacement(std::string_view ini, const WindowPlacement& placement)
{
    std::string bytes(ini);
    for (const Field& field : kFields)
        bytes = writeProfileString(bytes, kSection, field.key, std::to_string(placement.*field.member));
    return writeProfileString(bytes, kSection, "Maximized", placement.maximized ? "1" : "0");
}

}  // namespace solvena
