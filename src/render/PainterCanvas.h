#pragma once
// A Canvas that draws real lines and real text through a QPainter, for vector surfaces
// (SVG, PDF) and the printer. Positions are GDI's pixel grid taken as units: a line
// covers the pixels GDI would paint (the first, not the last) as a one-unit-wide
// stroke, so the picture scales with whatever transform the painter carries. Lines
// drawn one after another go out as one path, and the painter's state changes only
// when a drawing needs it: vector files stay small and quick to write.

#include "render/BasicCanvas.h"
#include "render/TextFit.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPen>

#include <string>

class QPainter;

namespace solvena {

class PainterCanvas final : public BasicCanvas {
public:
    // Saves the painter's state and restores it when the canvas goes away.
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    void setFont(const FontDesc& font) override;
    void lineTo(int32_t x, int32_t y) override;
    void polygon(std::span<const CanvasPoint> points) override;

private:
    void showText(const std::string& cp932, const TextSpot& spot) override;
    // Draws the lines gathered so far; before anything else is drawn over them.
    void flushLines();
    void usePen(const QColor& color);
    struct Text {
        QString string;
        int width = 0;
    };
    const Text& prepare(const std::string& cp932, TextWindow window);

    QPainter& painter_;
    QPainterPath lines_;   // not drawn yet, all in lineColor_
    QColor lineColor_;
    FontDesc fontDesc_;
    QFont font_;
    QColor textColor_{Qt::black};
    int ascent_ = 0;
    int height_ = 0;
    bool fontApplied_ = false;
    bool fontSet_ = false;
    TextCache<Text> texts_{4096, size_t{64} << 20};  // of the current font
};

}  // namespace solvena
