#pragma once
// What every canvas does alike: the pen position, the pen and the brush, with GDI's
// initial values (a black solid pen, a white solid brush), and where a text goes. A
// canvas builds on it, reads the state when it draws and shows texts where told.

#include "render/Canvas.h"
#include "render/TextPlacement.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace solvena {

// Where a text goes: its top-left corner at a point, or placed in a box by DrawText's
// flags; clipped to the box, when there is one, unless the text fits inside it.
struct TextSpot {
    CanvasPoint at;
    const CanvasRect* box = nullptr;
    unsigned flags = 0;
    bool placed = false;   // by the flags in the box, rather than at `at`

    CanvasPoint origin(int32_t textWidth, int32_t fontHeight) const
    {
        return placed ? placeText(*box, flags, textWidth, fontHeight) : at;
    }
    // Whether the text, drawn from `origin`, must be cut at the box.
    bool cuts(CanvasPoint origin, int32_t textWidth, int32_t fontHeight) const
    {
        return box && (origin.x < box->left || origin.y < box->top ||
                       int64_t{origin.x} + textWidth > box->right ||
                       int64_t{origin.y} + fontHeight > box->bottom);
    }
};

class BasicCanvas : public Canvas {
public:
    void setPenColor(uint32_t rgb) override { penRgb_ = rgb & 0xFFFFFFu; }
    void setPenStyle(PenStyle style) override { penStyle_ = style; }
    void setBrushColor(uint32_t rgb) override { brushRgb_ = rgb & 0xFFFFFFu; }
    void setBrushStyle(BrushStyle style) override { brushStyle_ = style; }
    void moveTo(int32_t x, int32_t y) override { placePen(x, y); }
    CanvasPoint penPosition() const override { return pen_; }

    // Empty texts and boxes without an inside show nothing, on every surface.
    void textOut(int32_t x, int32_t y, const std::string& cp932) final
    {
        if (!cp932.empty())
            showText(cp932, TextSpot{{x, y}});
    }
    void textRect(const CanvasRect& clip, int32_t x, int32_t y, const std::string& cp932) final
    {
        if (!cp932.empty() && !clip.isEmpty())
            showText(cp932, TextSpot{{x, y}, &clip});
    }
    void drawText(const std::string& cp932, const CanvasRect& rect, unsigned flags) final
    {
        if (!cp932.empty() && !rect.isEmpty())
            showText(cp932, TextSpot{{}, &rect, flags, true});
    }

protected:
    // Shows a text that is not empty; its box, where it has one, has an inside.
    virtual void showText(const std::string& cp932, const TextSpot& spot) = 0;

    uint32_t penRgb() const { return penRgb_; }
    bool penIsClear() const { return penStyle_ == PenStyle::Clear; }
    uint32_t brushRgb() const { return brushRgb_; }
    bool brushIsSolid() const { return brushStyle_ == BrushStyle::Solid; }
    // Moves the pen to (x, y) and returns where it stood: where a line drawn there begins.
    CanvasPoint advancePen(int32_t x, int32_t y)
    {
        const CanvasPoint from = pen_;
        placePen(x, y);
        return from;
    }

private:
    // The pen's point is written in one piece: read back whole by the next line, two
    // halves written apart would stall that read on every line a chart draws.
    void placePen(int32_t x, int32_t y)
    {
        const uint64_t point = uint64_t(uint32_t(x)) | uint64_t(uint32_t(y)) << 32;
        static_assert(offsetof(CanvasPoint, y) == 4 && std::endian::native == std::endian::little);
        pen_ = std::bit_cast<CanvasPoint>(point);
    }

    CanvasPoint pen_;
    uint32_t penRgb_ = 0x000000;
    PenStyle penStyle_ = PenStyle::Solid;
    uint32_t brushRgb_ = 0xFFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
};

}  // namespace solvena
