#pragma once
// The drawing surface the chart renderer paints on. It mirrors the small part of a
// GDI device context the renderer needs, with GDI's semantics, so that raster,
// vector and metafile surfaces can each reproduce the same picture.

#include "document/FontDesc.h"

#include <cstdint>
#include <span>
#include <string>

namespace solvena {

struct CanvasPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

// A GDI RECT: left/top inclusive, right/bottom exclusive.
struct CanvasRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    // A box with no inside; text placed in it shows nothing, on every surface.
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const CanvasRect&) const = default;
};

enum class PenStyle { Solid, Clear };
enum class BrushStyle { Clear, Solid };

// Flags of drawText, the DT_* flags the renderer uses. Text is always laid out on a
// single line; without VCenter it sits at the rectangle's top, without Right or
// Center at its left.
namespace TextFlag {
inline constexpr unsigned SingleLine = 1u << 0;
inline constexpr unsigned VCenter = 1u << 1;
inline constexpr unsigned Right = 1u << 2;
inline constexpr unsigned Center = 1u << 3;
}  // namespace TextFlag

// Colours are 0xRRGGBB. Text arrives as CP932 bytes and is decoded by the canvas.
// Text is drawn with a transparent background: the renderer clears the brush before
// every text it draws, and nothing else needs an opaque one.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setPenColor(uint32_t rgb) = 0;
    virtual void setPenStyle(PenStyle style) = 0;
    virtual void setBrushColor(uint32_t rgb) = 0;
    virtual void setBrushStyle(BrushStyle style) = 0;
    // The font of the text operations, including its colour.
    virtual void setFont(const FontDesc& font) = 0;

    virtual void moveTo(int32_t x, int32_t y) = 0;
    // Paints from the pen position to (x, y): the first pixel, not the last. The pen
    // then stands at (x, y).
    virtual void lineTo(int32_t x, int32_t y) = 0;
    virtual CanvasPoint penPosition() const = 0;
    // moveTo(x1, y1) then lineTo(x2, y2), in one call: a chart is mostly single lines.
    virtual void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
    {
        moveTo(x1, y1);
        lineTo(x2, y2);
    }

    // Fills the interior with the brush and strokes the closed outline with the pen,
    // every vertex painted.
    virtual void polygon(std::span<const CanvasPoint> points) = 0;

    // Text whose top-left corner stands at (x, y), unclipped.
    virtual void textOut(int32_t x, int32_t y, const std::string& cp932) = 0;
    // Text whose top-left corner stands at (x, y), clipped to `clip`.
    virtual void textRect(const CanvasRect& clip, int32_t x, int32_t y, const std::string& cp932) = 0;
    // Text placed in `rect` by TextFlag flags and clipped to it.
    virtual void drawText(const std::string& cp932, const CanvasRect& rect, unsigned flags) = 0;
};

}  // namespace solvena
