#pragma once
// A toolkit-free description of a font, as the renderer and the canvases exchange it.

#include <cstdint>
#include <string>

namespace solvena {

struct FontDesc {
    std::string family;      // UTF-8; empty means the toolkit's default face
    int pointSize = 0;       // used when pixelSize is 0
    int pixelSize = 0;       // character height in pixels, takes precedence
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint32_t color = 0x000000;  // 0xRRGGBB

    bool operator==(const FontDesc&) const = default;
};

}  // namespace solvena
