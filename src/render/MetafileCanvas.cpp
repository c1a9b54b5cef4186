#include "render/MetafileCanvas.h"

#include "render/QtFont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>

namespace solvena {

MetafileCanvas::MetafileCanvas(int32_t width, int32_t height) : emf_(width, height) {}

void MetafileCanvas::setFont(const FontDesc& font)
{
    if (font == fontDesc_)
        return;
    fontDesc_ = font;
    fontReady_ = false;
    runs_.clear();
}

void MetafileCanvas::select(uint32_t handle, uint32_t& selected)
{
    if (selected == handle)
        return;
    emf_.selectObject(handle);
    selected = handle;
}

void MetafileCanvas::selectPen()
{
    if (penIsClear()) {
        select(EmfWriter::kNullPen, selectedPen_);
        return;
    }
    if (!penObject_ || penObject_->value != penRgb()) {
        // The new pen is selected before the old one goes: GDI does not delete a
        // selected object, and the slot is then free for the next pen.
        const uint32_t handle = emf_.createPen(penRgb(), 1);
        select(handle, selectedPen_);
        if (penObject_)
            emf_.deleteObject(penObject_->handle);
        penObject_ = Owned<uint32_t>{handle, penRgb()};
    }
    select(penObject_->handle, selectedPen_);
}

void MetafileCanvas::selectBrush()
{
    if (!brushIsSolid()) {
        select(EmfWriter::kNullBrush, selectedBrush_);
        return;
    }
    if (!brushObject_ || brushObject_->value != brushRgb()) {
        const uint32_t handle = emf_.createSolidBrush(brushRgb());
        select(handle, selectedBrush_);
        if (brushObject_)
            emf_.deleteObject(brushObject_->handle);
        brushObject_ = Owned<uint32_t>{handle, brushRgb()};
    }
    select(brushObject_->handle, selectedBrush_);
}

void MetafileCanvas::writeLine(CanvasPoint from, CanvasPoint to)
{
    selectPen();
    // Readers that fill every path they draw would fill a run of lines with the
    // device's default brush, or with the last shape's.
    select(EmfWriter::kNullBrush, selectedBrush_);
    // Cells continue each other's lines, so a run goes on without a move while nothing
    // else came between. Any other record ends the run for readers that turn each run
    // into a path of its own, and a path must begin with a move.
    if (lineRunEnd_ != emf_.recordCount() || position_ != from)
        emf_.moveTo(from.x, from.y);
    emf_.lineTo(to.x, to.y);
    position_ = to;
    lineRunEnd_ = emf_.recordCount();
}

void MetafileCanvas::lineTo(int32_t x, int32_t y)
{
    const CanvasPoint from = advancePen(x, y);
    if (!penIsClear())
        writeLine(from, CanvasPoint{x, y});
}

void MetafileCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)  // GDI draws nothing for fewer than two points
        return;
    if (brushIsSolid() && points.size() >= 3) {
        // The fill goes alone, its outline after it as lines: a reader may leave out
        // a thin outline of the fill's own colour (and keep its pen off for the lines
        // after it). Fill and outline cover the pixels GDI's outlined fill covers.
        select(EmfWriter::kNullPen, selectedPen_);
        selectBrush();
        // Arrows far right on a wide chart need more than POLYGON16's 16 bits.
        if (EmfWriter::fits16(points))
            emf_.polygon16(points);
        else
            emf_.polygon(points);
        select(EmfWriter::kNullBrush, selectedBrush_);
    }
    if (penIsClear())
        return;
    for (size_t i = 0; i < points.size(); ++i)
        writeLine(points[i], points[(i + 1) % points.size()]);
}

void MetafileCanvas::prepareFont()
{
    if (fontReady_)
        return;
    qfont_ = toQFont(fontDesc_);
    const QFontMetrics metrics(qfont_);
    fontHeight_ = metrics.ascent() + metrics.descent();
    fontReady_ = true;
}

const MetafileCanvas::TextRun& MetafileCanvas::layout(const std::string& cp932, TextWindow window)
{
    prepareFont();
    return runs_.get(cp932, window, qfont_, [this](const QString& text) {
        TextRun run;
        run.units = text.toStdU16String();
        run.width = QFontMetrics(qfont_).horizontalAdvance(text);
        run.dx = unitAdvances(text, qfont_);
        return run;
    });
}

void MetafileCanvas::showText(const std::string& cp932, const TextSpot& spot)
{
    const TextRun& run = layout(cp932, textWindow(spot, cp932.size()));
    if (run.units.empty())
        return;
    const CanvasPoint at = spot.origin(run.width, fontHeight_);

    // All state is in place before SAVEDC, so that RESTOREDC takes back only the clip.
    if (!textModesSet_) {
        emf_.setBkMode(EmfWriter::kTransparent);
        emf_.setTextAlign(EmfWriter::kTopLeft);
        textModesSet_ = true;
    }
    if (!fontObject_ || fontObject_->value != fontDesc_) {
        const QString family = fontDesc_.family.empty()
                                   ? QGuiApplication::font().family()
                                   : QString::fromStdString(fontDesc_.family);
        const uint32_t handle = emf_.createFont(emfFontOf(fontDesc_, family.toStdU16String()));
        select(handle, selectedFont_);
        if (fontObject_)
            emf_.deleteObject(fontObject_->handle);
        fontObject_ = Owned<FontDesc>{handle, fontDesc_};
    }
    select(fontObject_->handle, selectedFont_);
    const uint32_t color = fontDesc_.color & 0xFFFFFFu;
    if (textColor_ != color) {
        emf_.setTextColor(color);
        textColor_ = color;
    }

    const bool cut = spot.cuts(at, run.width, fontHeight_);
    if (cut) {
        emf_.saveDC();
        emf_.intersectClipRect(*spot.box);
    }
    emf_.extTextOut(at.x, at.y, run.units, run.dx);
    if (cut)
        emf_.restoreDC();
}

std::string MetafileCanvas::finish()
{
    return emf_.finish();
}

}  // namespace solvena
