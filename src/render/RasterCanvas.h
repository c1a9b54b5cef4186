#pragma once
// A Canvas over a QPainter for raster surfaces (the grid on screen, a bitmap). Lines
// are painted pixel by pixel as GDI paints them, as one-pixel rectangles, never with
// QPainter's own line rasteriser, whose pixels differ. Where the painter's surface is
// a 32-bit image, lines and cached text go straight into its pixels.

#include "render/Canvas.h"

#include <QColor>
#include <QFont>

#include <memory>
#include <vector>

class QPainter;

class RasterCanvas final : public Canvas {
public:
    // Saves the painter's state and restores it when the canvas goes away; draw with
    // the painter again only after that.
    explicit RasterCanvas(QPainter& painter);
    ~RasterCanvas() override;
    RasterCanvas(const RasterCanvas&) = delete;
    RasterCanvas& operator=(const RasterCanvas&) = delete;

    void setPenColor(uint32_t rgb) override;
    void setPenStyle(PenStyle style) override;
    void setBrushColor(uint32_t rgb) override;
    void setBrushStyle(BrushStyle style) override;
    void setFont(const FontDesc& font) override;

    void moveTo(int32_t x, int32_t y) override;
    void lineTo(int32_t x, int32_t y) override;
    CanvasPoint penPosition() const override { return pen_; }

    void polygon(std::span<const CanvasPoint> points) override;

    void textOut(int32_t x, int32_t y, const std::string& cp932) override;
    void textRect(const CanvasRect& clip, int32_t x, int32_t y, const std::string& cp932) override;
    void drawText(const std::string& cp932, const CanvasRect& rect, unsigned flags) override;

private:
    void strokeSegment(CanvasPoint from, CanvasPoint to);
    struct FontState;
    struct PreparedText;
    static std::vector<std::shared_ptr<FontState>>& fontCache();
    PreparedText& prepare(const std::string& cp932);
    void paintText(PreparedText& text, int32_t x, int32_t y, const CanvasRect* clip);
    // Composites the text's cached coverage straight into the image's pixels; false
    // where the text cannot be reproduced that way and must go through the painter.
    bool blendText(PreparedText& text, int32_t x, int32_t y, const CanvasRect* clip);

    // Where lines can be written straight into the pixels of the painter's image
    // (an unclipped or rectangle-clipped QImage or widget backing store, moved at most
    // by whole pixels), the
    // runs skip QPainter's per-call work; elsewhere they go through fillRect. Text
    // goes the same way once its glyphs' coverage has been captured.
    struct DirectTarget;
    void fillRun(int32_t x, int32_t y, int32_t width, int32_t height);

    QPainter& painter_;
    std::unique_ptr<DirectTarget> direct_;
    uint32_t penPixel_ = 0xFF000000u;  // the pen colour as an opaque ARGB pixel
    CanvasPoint pen_;
    QColor penColor_{Qt::black};
    PenStyle penStyle_ = PenStyle::Solid;
    uint32_t brushRgb_ = 0xFFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontDesc fontDesc_;
    std::shared_ptr<FontState> font_;  // shared with the per-thread text cache
    bool fontApplied_ = false;
};
