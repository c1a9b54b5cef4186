#pragma once
// A Canvas that records an enhanced metafile: real lines, filled polygons and text
// records laid out as the raster canvas lays them out. Pens, brushes, fonts and text
// state go into the file only when a drawing needs them, and only when they differ
// from what the file already holds. The file does not rely on a reader keeping state
// across other records: every run of lines begins with a move and is drawn with the
// null brush, and a filled shape goes without its pen, its outline following as lines.

#include "render/BasicCanvas.h"
#include "pictures/EmfWriter.h"
#include "render/TextFit.h"

#include <QFont>

#include <optional>
#include <string>
#include <vector>

namespace solvena {

class MetafileCanvas final : public BasicCanvas {
public:
    // A picture of width x height pixels; see EmfWriter for the limits.
    MetafileCanvas(int32_t width, int32_t height);

    void setFont(const FontDesc& font) override;
    void lineTo(int32_t x, int32_t y) override;
    void polygon(std::span<const CanvasPoint> points) override;

    // Ends the recording and returns the bytes of the .emf file. Drawing afterwards
    // throws std::logic_error.
    std::string finish();

private:
    void showText(const std::string& cp932, const TextSpot& spot) override;
    // A text as it goes into the file: UTF-16 units, the advance of each unit and
    // the whole width the raster canvas gives it.
    struct TextRun {
        std::u16string units;
        std::vector<int32_t> dx;
        int32_t width = 0;
    };
    // An object of the file's own, with what it was made from.
    template <typename Value>
    struct Owned {
        uint32_t handle = 0;
        Value value{};
    };

    // A line in the file's own state: its pen, the null brush, a move where a run
    // of lines begins.
    void writeLine(CanvasPoint from, CanvasPoint to);
    void selectPen();
    void selectBrush();
    void select(uint32_t handle, uint32_t& selected);
    void prepareFont();
    const TextRun& layout(const std::string& cp932, TextWindow window);

    EmfWriter emf_;

    // The font the renderer asked for.
    FontDesc fontDesc_;

    // What the file holds so far.
    std::optional<CanvasPoint> position_;
    uint32_t lineRunEnd_ = 0;  // the record count when the last line was written
    std::optional<Owned<uint32_t>> penObject_;
    std::optional<Owned<uint32_t>> brushObject_;
    std::optional<Owned<FontDesc>> fontObject_;
    uint32_t selectedPen_ = 0;  // 0: the device's default, never relied on
    uint32_t selectedBrush_ = 0;
    uint32_t selectedFont_ = 0;
    std::optional<uint32_t> textColor_;
    bool textModesSet_ = false;

    // The current font's layout, made when a text first needs it.
    bool fontReady_ = false;
    QFont qfont_;
    int32_t fontHeight_ = 0;
    TextCache<TextRun> runs_{4096, size_t{64} << 20};
};

}  // namespace solvena
