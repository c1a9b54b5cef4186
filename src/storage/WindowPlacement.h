#pragma once
// The main window's place kept between runs: section "Window", keys "Left", "Top",
// "Width" and "Height" (the window's area without the system's frame, as it is when
// not maximised, in screen pixels) and "Maximized" ("1" or "0").

#include <optional>
#include <string>
#include <string_view>

namespace solvena {

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;

    bool operator==(const WindowPlacement&) const = default;
};

// The place the file's bytes give, or nothing unless all four numbers are integers,
// the corner within a million pixels of the origin and the size 1 to a million
// pixels each way: the window must not come up nowhere because of a hand-edited
// value. A missing or unreadable "Maximized" reads as not maximised.
std::optional<WindowPlacement> readWindowPlacement(std::string_view ini);

// `ini` with the five keys written, in the order above; everything else is kept.
std::string writeWindowPlacement(std::string_view ini, const WindowPlacement& placement);

}  // namespace solvena
