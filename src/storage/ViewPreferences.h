#pragma once
// The three view options kept between runs, and their place in the preferences
// file: section "View", keys "VertLine", "HorzLine", "AlignRight".

#include <string>
#include <string_view>

namespace solvena {

// The view options as the window holds them; the defaults are a first run's.
struct ViewPreferences {
    bool vertLine = true;    // vertical lines between the grid's cells
    bool horzLine = true;    // horizontal lines between the grid's cells
    bool alignRight = false; // signal names right-aligned in the name column

    bool operator==(const ViewPreferences&) const = default;
};

// The options the file's bytes give. A value counts when it is a decimal integer
// (optional sign, 32 bits): nonzero is on, 0 off. A missing key or any other text
// gives that option's value in `defaults`, so an unreadable or absent file reads as
// `defaults`. Layers stack: readViewPreferences(mine, readViewPreferences(shared)).
ViewPreferences readViewPreferences(std::string_view ini, const ViewPreferences& defaults = {});

// The file's bytes with the options written, in the order VertLine, HorzLine,
// AlignRight, as "1" or "0"; everything else in the file is kept. All three are
// written, except over a shared file of defaults that the program does not write
// (`shared`, its bytes): an option equal to the value `shared` gives it is left
// out unless `ini` already holds its key. The user's file so holds the user's own
// choices only, and a later change of the shared defaults still reaches the rest.
std::string writeViewPreferences(std::string_view ini, const ViewPreferences& preferences,
                                 std::string_view shared = {});

}  // namespace solvena
