#include "render/MetafileCanvas.h"

#include "render/QtFont.h"
#include "render/TextPlacement.h"
#include "text/Cp932.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>

#include <cmath>

namespace {

// Texts laid out per font before the cache starts over; a chart repeats few texts.
constexpr size_t kMaxRuns = 4096;

QString toQString(std::u16string_view units)
{
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

}  // namespace

MetafileCanvas::MetafileCanvas(int32_t width, int32_t height) : emf_(width, height) {}

void MetafileCanvas::setPenColor(uint32_t rgb)
{
    penRgb_ = rgb & 0xFFFFFFu;
}

void MetafileCanvas::setPenStyle(PenStyle style)
{
    penStyle_ = style;
}

void MetafileCanvas::setBrushColor(uint32_t rgb)
{
    brushRgb_ = rgb & 0xFFFFFFu;
}

void MetafileCanvas::setBrushStyle(BrushStyle style)
{
    brushStyle_ = style;
}

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
    if (penStyle_ == PenStyle::Clear) {
        select(EmfWriter::kNullPen, selectedPen_);
        return;
    }
    if (!penObject_ || penObject_->value != penRgb_) {
        // The new pen is selected before the old one goes: GDI does not delete a
        // selected object, and the slot is then free for the next pen.
        const uint32_t handle = emf_.createPen(penRgb_, 1);
        select(handle, selectedPen_);
        if (penObject_)
            emf_.deleteObject(penObject_->handle);
        penObject_ = Owned<uint32_t>{handle, penRgb_};
    }
    select(penObject_->handle, selectedPen_);
}

void MetafileCanvas::selectBrush()
{
    if (brushStyle_ == BrushStyle::Clear) {
        select(EmfWriter::kNullBrush, selectedBrush_);
        return;
    }
    if (!brushObject_ || brushObject_->value != brushRgb_) {
        const uint32_t handle = emf_.createSolidBrush(brushRgb_);
        select(handle, selectedBrush_);
        if (brushObject_)
            emf_.deleteObject(brushObject_->handle);
        brushObject_ = Owned<uint32_t>{handle, brushRgb_};
    }
    select(brushObject_->handle, selectedBrush_);
}

void MetafileCanvas::moveTo(int32_t x, int32_t y)
{
    pen_ = {x, y};
}

void MetafileCanvas::lineTo(int32_t x, int32_t y)
{
    const CanvasPoint to{x, y};
    if (penStyle_ != PenStyle::Clear) {
        selectPen();
        // Cells continue each other's lines: the move is often where the pen is.
        if (position_ != pen_)
            emf_.moveTo(pen_.x, pen_.y);
        emf_.lineTo(x, y);
        position_ = to;
    }
    pen_ = to;
}

void MetafileCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2 || (penStyle_ == PenStyle::Clear && brushStyle_ == BrushStyle::Clear))
        return;
    selectPen();
    selectBrush();
    // Arrows far right on a wide chart need more than POLYGON16's 16 bits.
    if (EmfWriter::fits16(points))
        emf_.polygon16(points);
    else
        emf_.polygon(points);
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

const MetafileCanvas::TextRun& MetafileCanvas::layout(const std::string& cp932)
{
    prepareFont();
    if (auto found = runs_.find(cp932); found != runs_.end())
        return found->second;
    if (runs_.size() >= kMaxRuns)
        runs_.clear();

    TextRun run;
    run.units = cp932ToUtf16(cp932);
    const QString text = toQString(run.units);
    const qsizetype n = text.size();
    run.width = QFontMetrics(qfont_).horizontalAdvance(text);

    // Each unit's advance is the step between rounded prefix widths, so rounding
    // never piles up along the text. A pair of surrogates takes its whole advance
    // on its first unit.
    const QFontMetricsF metrics(qfont_);
    auto boundary = [&](qsizetype i) {
        if (i > 0 && i < n && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            ++i;
        return static_cast<int32_t>(std::lround(metrics.horizontalAdvance(text.left(i))));
    };
    run.dx.reserve(static_cast<size_t>(n));
    int32_t previous = 0;
    for (qsizetype i = 1; i <= n; ++i) {
        const int32_t next = boundary(i);
        run.dx.push_back(next - previous);
        previous = next;
    }
    return runs_.emplace(cp932, std::move(run)).first->second;
}

void MetafileCanvas::putText(int32_t x, int32_t y, const TextRun& run, const CanvasRect* clip)
{
    if (run.units.empty())
        return;
    if (clip && (clip->right <= clip->left || clip->bottom <= clip->top))
        return;  // no inside: GDI shows nothing, and readers differ on empty clips

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

    // As on the raster canvas, a text that fits its rectangle is not clipped.
    const bool cut = clip && (x < clip->left || y < clip->top ||
                              int64_t{x} + run.width > clip->right ||
                              int64_t{y} + fontHeight_ > clip->bottom);
    if (cut) {
        emf_.saveDC();
        emf_.intersectClipRect(*clip);
    }
    emf_.extTextOut(x, y, run.units, run.dx);
    if (cut)
        emf_.restoreDC();
}

void MetafileCanvas::textOut(int32_t x, int32_t y, const std::string& cp932)
{
    if (!cp932.empty())
        putText(x, y, layout(cp932), nullptr);
}

void MetafileCanvas::textRect(const CanvasRect& clip, int32_t x, int32_t y, const std::string& cp932)
{
    if (!cp932.empty())
        putText(x, y, layout(cp932), &clip);
}

void MetafileCanvas::drawText(const std::string& cp932, const CanvasRect& rect, unsigned flags)
{
    if (cp932.empty())
        return;
    const TextRun& run = layout(cp932);
    const CanvasPoint at = placeText(rect, flags, run.width, fontHeight_);
    putText(at.x, at.y, run, &rect);
}

std::string MetafileCanvas::finish()
{
    return emf_.finish();
}
