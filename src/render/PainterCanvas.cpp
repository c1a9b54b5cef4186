#include "render/PainterCanvas.h"

#include "render/QtFont.h"
#include "text/Cp932.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cstdlib>

namespace {

QColor toQColor(uint32_t rgb)
{
    return QColor::fromRgb(QRgb(0xFF000000u | (rgb & 0xFFFFFFu)));
}

QRectF toQRect(const CanvasRect& r)
{
    return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
    setFont(FontDesc{});
}

PainterCanvas::~PainterCanvas()
{
    painter_.restore();
}

void PainterCanvas::setFont(const FontDesc& desc)
{
    if (desc == fontDesc_ && !texts_.empty())
        return;
    fontDesc_ = desc;
    font_ = toQFont(desc);
    textColor_ = toQColor(desc.color);
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    height_ = metrics.ascent() + metrics.descent();
    texts_.clear();
}

void PainterCanvas::lineTo(int32_t x, int32_t y)
{
    const CanvasPoint from = advancePen(x, y);
    if (penIsClear() || (from.x == x && from.y == y))
        return;
    // GDI paints the pixels from the first up to, not including, the last. As a stroke
    // through pixel centres, that is the segment moved back by half a step along the
    // major axis: an axis-parallel line then covers exactly those pixels' squares.
    const double dx = double(x) - from.x;
    const double dy = double(y) - from.y;
    const double major = std::max(std::abs(dx), std::abs(dy));
    const QPointF back(0.5 * dx / major, 0.5 * dy / major);
    const QPointF start = QPointF(from.x + 0.5, from.y + 0.5) - back;
    const QPointF end = QPointF(x + 0.5, y + 0.5) - back;
    painter_.setPen(QPen(toQColor(penRgb()), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter_.drawLine(QLineF(start, end));
}

void PainterCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)  // GDI draws nothing for fewer than two points
        return;
    QPolygonF shape;
    for (const CanvasPoint& p : points)
        shape.append(QPointF(p.x + 0.5, p.y + 0.5));
    painter_.setPen(penIsClear() ? QPen(Qt::NoPen)
                                 : QPen(toQColor(penRgb()), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter_.setBrush(brushIsSolid() ? QBrush(toQColor(brushRgb())) : QBrush(Qt::NoBrush));
    painter_.drawPolygon(shape);
}

const PainterCanvas::Text& PainterCanvas::prepare(const std::string& cp932)
{
    if (auto it = texts_.find(cp932); it != texts_.end())
        return it->second;
    const std::u16string utf16 = cp932ToUtf16(cp932);
    Text text;
    text.string = QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
    text.width = QFontMetrics(font_).horizontalAdvance(text.string);
    return texts_.emplace(cp932, std::move(text)).first->second;
}

void PainterCanvas::showText(const std::string& cp932, const TextSpot& spot)
{
    const Text& text = prepare(cp932);
    const CanvasPoint at = spot.origin(text.width, height_);
    painter_.setFont(font_);
    painter_.setPen(textColor_);
    const bool cut = spot.cuts(at, text.width, height_);
    if (cut) {
        painter_.save();
        painter_.setClipRect(toQRect(*spot.box), Qt::IntersectClip);
    }
    painter_.drawText(QPointF(at.x, at.y + ascent_), text.string);
    if (cut)
        painter_.restore();
}
