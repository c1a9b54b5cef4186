#pragma once
// Where DrawText puts a single line of text in a rectangle: the one arithmetic every
// canvas uses, so that names and labels stand on the same pixels on every surface.

#include "render/Canvas.h"

#include <cstdint>

namespace solvena {

// The top-left corner of a text `textWidth` wide in a font `fontHeight` high (ascent
// plus descent) placed in `rect` by TextFlag flags, with DrawText's integer division
// that truncates toward zero.
inline CanvasPoint placeText(const CanvasRect& rect, unsigned flags, int32_t textWidth,
                             int32_t fontHeight)
{
    int64_t x = rect.left;
    int64_t y = rect.top;
    if (flags & TextFlag::Center)
        x = (int64_t{rect.left} + rect.right - textWidth) / 2;
    else if (flags & TextFlag::Right)
        x = int64_t{rect.right} - textWidth;
    if (flags & TextFlag::VCenter)
        y = rect.top + (int64_t{rect.bottom} - rect.top) / 2 - fontHeight / 2;
    return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

}  // namespace solvena
