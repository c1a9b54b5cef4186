#pragma once
// A Canvas that writes an SVG document itself, element by element into a byte sink:
// the same lines, arrows and texts the painter canvas gives a vector surface (a line
// is the one-unit-wide stroke over the pixels GDI paints, texts in the face they are
// measured with, a text cut at its box clipped there), at a small part of the time a
// general SVG generator takes. Lines drawn one after another go out as one path.

#include "render/BasicCanvas.h"
#include "render/GdiLine.h"
#include "render/TextFit.h"
#include "storage/ByteSink.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <string>
#include <vector>

namespace solvena {

class SvgCanvas final : public BasicCanvas {
public:
    // Starts the document: `size` pixels, one user unit a pixel, showing the drawing
    // from its row `top` on.
    SvgCanvas(ByteSink& sink, QSize size, int top);
    SvgCanvas(const SvgCanvas&) = delete;
    SvgCanvas& operator=(const SvgCanvas&) = delete;

    void setFont(const FontDesc& font) override;
    void lineTo(int32_t x, int32_t y) override;
    void polygon(std::span<const CanvasPoint> points) override;

    // Ends the document and hands over what is left of it.
    void finish();

private:
    void showText(const std::string& cp932, const TextSpot& spot) override;
    void flushLines();
    void closeFontGroup();
    void spill();  // hands over what has piled up, once it is a piece's worth
    struct Text {
        std::string escaped;  // UTF-8, as XML character data
        int width = 0;
    };
    const Text& prepare(const std::string& cp932, TextWindow window);

    ByteSink& sink_;
    std::string out_;
    PendingStrokes lines_;
    FontDesc fontDesc_;
    QFont font_;
    std::string fontAttributes_;  // of the font's group
    bool fontGroupOpen_ = false;
    bool fontSet_ = false;
    int ascent_ = 0;
    int height_ = 0;
    int clips_ = 0;
    TextCache<Text> texts_{4096, size_t{64} << 20};  // of the current font
};

}  // namespace solvena
