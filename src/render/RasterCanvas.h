#pragma once
// A Canvas over a QPainter for raster surfaces (the grid on screen, a bitmap). Lines
// are painted pixel by pixel as GDI paints them, as one-pixel rectangles, never with
// QPainter's own line rasteriser, whose pixels differ. Where the painter's surface is
// a 32-bit or an 8-bit grey image, lines and cached text go straight into its pixels;
// on a grey image colours become their grey, as Qt converts them there.

#include "render/BasicCanvas.h"
#include "render/DrawChart.h"
#include "render/GdiLine.h"
#include "render/TextFit.h"

#include <QColor>
#include <QFont>

#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace solvena {

class RasterCanvas final : public BasicCanvas {
public:
    // Saves the painter's state and restores it when the canvas goes away; draw with
    // the painter again only after that.
    explicit RasterCanvas(QPainter& painter);
    ~RasterCanvas() override;
    RasterCanvas(const RasterCanvas&) = delete;
    RasterCanvas& operator=(const RasterCanvas&) = delete;

    void setFont(const FontDesc& font) override;
    void lineTo(int32_t x, int32_t y) override;
    void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void polygon(std::span<const CanvasPoint> points) override;

private:
    void showText(const std::string& cp932, const TextSpot& spot) override;
    void strokeSegment(CanvasPoint from, CanvasPoint to);
    // Whether a line between these points lies wholly inside an image whose pixels the
    // canvas writes itself.
    bool paintsDirectly(CanvasPoint from, CanvasPoint to) const;
    // A level line or an edge wholly inside the image, straight into its pixels; false
    // where there is no image to write into or the line is not such a line.
    bool paintStraightLine(CanvasPoint from, CanvasPoint to);
    struct FontState;
    struct PreparedText;
    static std::vector<std::shared_ptr<FontState>>& fontCache();
    PreparedText& prepare(const std::string& cp932, TextWindow window);
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
    void fillRun(int32_t x, int32_t y, int64_t width, int64_t height, uint32_t argb);

    QPainter& painter_;
    std::unique_ptr<DirectTarget> direct_;
    // The pixels of the last few slanted lines drawn straight into the image, as byte
    // offsets from their first pixel: hatch strokes all have one shape, arrows another.
    struct StrokeShape {
        CanvasPoint extent;
        std::vector<qsizetype> offsets;
    };
    std::vector<StrokeShape> strokeShapes_;
    const std::vector<qsizetype>& strokeOffsets(CanvasPoint extent);
    // The surface's pixels in the canvas's coordinates, where it is known: lines are
    // walked and painted only there, however far their ends lie.
    std::optional<CanvasRect> window_;
    FontDesc fontDesc_;
    std::shared_ptr<FontState> font_;  // shared with the per-thread text cache
    bool fontApplied_ = false;
};

// drawChart on a raster canvas, its calls resolved at compile time: the screen and
// every bitmap draw through this one.
void drawChart(RasterCanvas& canvas, const GridGeometry& geometry, const TCell& chart,
               const RenderOptions& options);

}  // namespace solvena
