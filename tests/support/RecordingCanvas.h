#pragma once
// A canvas that records what the renderer asks of it, for tests that look at the
// drawing operations rather than at pixels.

#include "render/Canvas.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace solvena {

struct RecordedLine {
    CanvasPoint from;
    CanvasPoint to;
    bool operator==(const RecordedLine&) const = default;
};

struct RecordedText {
    enum class Kind { TextOut, TextRect, DrawText };
    Kind kind = Kind::TextOut;
    std::string cp932;
    CanvasPoint at;       // TextOut, TextRect
    CanvasRect rect;      // TextRect's clip, DrawText's rectangle
    unsigned flags = 0;   // DrawText
    FontDesc font;
};

struct RecordedPolygon {
    std::vector<CanvasPoint> points;
    uint32_t brushColor = 0;
    BrushStyle brushStyle = BrushStyle::Clear;
};

class RecordingCanvas final : public Canvas {
public:

    void setPenColor(uint32_t rgb) override { penColor_ = rgb; }
    void setPenStyle(PenStyle style) override { penStyle_ = style; }
    void setBrushColor(uint32_t rgb) override { brushColor_ = rgb; }
    void setBrushStyle(BrushStyle style) override { brushStyle_ = style; }
    void setFont(const FontDesc& font) override { font_ = font; }

    void moveTo(int32_t x, int32_t y) override { pen_ = {x, y}; }
    void lineTo(int32_t x, int32_t y) override
    {
        if (lines.size() == maxLines)
            throw std::length_error("more lines than the picture can hold");
        lines.push_back({pen_, {x, y}});
        pen_ = {x, y};
    }
    CanvasPoint penPosition() const override { return pen_; }

    void polygon(std::span<const CanvasPoint> points) override
    {
        polygons.push_back({{points.begin(), points.end()}, brushColor_, brushStyle_});
    }

    void textOut(int32_t x, int32_t y, const std::string& cp932) override
    {
        texts.push_back({RecordedText::Kind::TextOut, cp932, {x, y}, {}, 0, font_});
    }
    void textRect(const CanvasRect& clip, int32_t x, int32_t y, const std::string& cp932) override
    {
        texts.push_back({RecordedText::Kind::TextRect, cp932, {x, y}, clip, 0, font_});
    }
    void drawText(const std::string& cp932, const CanvasRect& rect, unsigned flags) override
    {
        // Text is drawn over a clear brush only; an opaque one would hide lines.
        textOverSolidBrush = textOverSolidBrush || brushStyle_ != BrushStyle::Clear;
        texts.push_back({RecordedText::Kind::DrawText, cp932, {}, rect, flags, font_});
    }

    size_t maxLines = SIZE_MAX;  // beyond it a drawing is runaway: lineTo throws
    std::vector<RecordedLine> lines;
    std::vector<RecordedText> texts;
    std::vector<RecordedPolygon> polygons;
    bool textOverSolidBrush = false;

private:
    CanvasPoint pen_;
    uint32_t penColor_ = 0;
    PenStyle penStyle_ = PenStyle::Solid;
    uint32_t brushColor_ = 0xFFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontDesc font_;
};

}  // namespace solvena
