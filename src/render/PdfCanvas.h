#pragma once
// A Canvas that writes a one-page PDF itself: the same lines, arrows and texts the
// painter canvas gives a vector surface (a line is the one-unit-wide stroke over the
// pixels GDI paints, a text cut at its box clipped there), in a fraction of the time a
// general PDF generator takes. Texts are set in Type 3 fonts made of the outlines of
// the glyphs they use, in the faces they were measured with, so that every reader
// draws them alike without the faces installed; a ToUnicode map keeps them searchable
// and copyable.

#include "render/BasicCanvas.h"
#include "render/GdiLine.h"
#include "render/TextFit.h"
#include "storage/ByteSink.h"

#include <QFont>
#include <QRawFont>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace solvena {

// The page: its size in points, and how the drawing's pixels stand on it.
struct PdfPageFrame {
    double widthPoints = 0;
    double heightPoints = 0;
    double pointsPerPixel = 0.75;  // 96 pixels an inch, shrunk where the page must be
    int top = 0;                   // the drawing's row at the page's top
};

class PdfCanvas final : public BasicCanvas {
public:
    PdfCanvas(PdfPageFrame frame, std::string creator);
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    void setFont(const FontDesc& font) override;
    void lineTo(int32_t x, int32_t y) override;
    void polygon(std::span<const CanvasPoint> points) override;

    // Writes the whole file into `sink`; the canvas is spent afterwards.
    void finish(ByteSink& sink);

private:
    void showText(const std::string& cp932, const TextSpot& spot) override;
    void flushLines();
    void useStroke(uint32_t rgb);
    void useFill(uint32_t rgb);

    // A face as it is drawn: the glyphs' outlines, thickened or slanted where the face
    // has no bold or italic of its own and the font asks for one.
    struct Face {
        QRawFont raw;
        bool bold = false;
        bool slanted = false;
        std::unordered_map<uint32_t, uint32_t> codes;  // glyph -> font * 256 + code
    };
    // One Type 3 font: up to 256 glyphs of a face.
    struct Type3Font {
        size_t face = 0;
        std::vector<uint32_t> glyphs;  // by code
        std::vector<char32_t> chars;   // by code; 0 where unknown
    };
    // A text laid out: its glyphs by font, with where each stands from the text's
    // top-left corner.
    struct Glyphs {
        uint32_t font = 0;
        double x = 0;        // of the first glyph
        double y = 0;        // from the baseline
        std::string array;   // what the TJ array holds between its first < and last >
    };
    struct Text {
        std::vector<Glyphs> runs;
        int width = 0;
    };
    const Text& prepare(const std::string& cp932, TextWindow window);
    uint32_t codeFor(size_t face, uint32_t glyph, char32_t character);
    size_t faceFor(const QRawFont& raw);

    PdfPageFrame frame_;
    std::string creator_;
    std::string content_;
    PendingStrokes lines_;
    std::optional<uint32_t> strokeRgb_;  // as the content stands, where set
    std::optional<uint32_t> fillRgb_;
    FontDesc fontDesc_;
    QFont font_;
    bool fontSet_ = false;
    int ascent_ = 0;
    int height_ = 0;
    std::vector<int> decorations_;  // underline, strike-out: from the baseline down
    int decorationThickness_ = 1;
    std::vector<Face> faces_;
    std::vector<Type3Font> fonts_;
    TextCache<Text> texts_{4096, size_t{64} << 20};  // of the current font
};

}  // namespace solvena
