#include "render/PainterCanvas.h"

#include "render/GdiLine.h"
#include "render/QtFont.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cstdlib>

namespace solvena {

namespace {

QColor toQColor(uint32_t rgb)
{
    return QColor::fromRgb(QRgb(0xFF000000u | (rgb & 0xFFFFFFu)));
}

QRectF toQRect(const CanvasRect& r)
{
    // From the corners, in doubles: a box from a chart may be wider than 32 bits hold.
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setBrush(Qt::NoBrush);
    setFont(FontDesc{});
}

PainterCanvas::~PainterCanvas()
{
    flushLines();
    painter_.restore();
}

void PainterCanvas::usePen(const QColor& color)
{
    // One pen for lines, outlines and text alike (text takes only its colour; a
    // closed outline has no caps): the painter's state changes only with the colour.
    const QPen pen(color, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (painter_.pen() != pen)
        painter_.setPen(pen);
}

void PainterCanvas::flushLines()
{
    if (lines_.isEmpty())
        return;
    usePen(lineColor_);
    painter_.drawPath(lines_);
    lines_.clear();
}

void PainterCanvas::setFont(const FontDesc& desc)
{
    if (fontSet_ && desc == fontDesc_)
        return;
    fontSet_ = true;
    fontDesc_ = desc;
    fontApplied_ = false;
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
    const StrokeSegment stroke = gdiStroke(from, CanvasPoint{x, y});
    const QPointF start(stroke.x1, stroke.y1);
    const QPointF end(stroke.x2, stroke.y2);
    const QColor color = toQColor(penRgb());
    if (color != lineColor_) {
        flushLines();
        lineColor_ = color;
    }
    // A line that goes on from where the last one ended, the same way, lengthens it.
    const int last = lines_.elementCount() - 1;
    if (last >= 1 && lines_.elementAt(last).isLineTo()) {
        const QPointF before = lines_.elementAt(last - 1);
        const QPointF after = lines_.elementAt(last);
        if (continuesStroke(StrokeSegment{before.x(), before.y(), after.x(), after.y()}, stroke)) {
            lines_.setElementPositionAt(last, end.x(), end.y());
            return;
        }
    }
    lines_.moveTo(start);
    lines_.lineTo(end);
}

void PainterCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)  // GDI draws nothing for fewer than two points
        return;
    flushLines();
    QPolygonF shape;
    for (const CanvasPoint& p : points)
        shape.append(QPointF(p.x + 0.5, p.y + 0.5));
    if (penIsClear())
        painter_.setPen(Qt::NoPen);
    else
        usePen(toQColor(penRgb()));
    if (brushIsSolid())
        painter_.setBrush(toQColor(brushRgb()));
    painter_.drawPolygon(shape);
    painter_.setBrush(Qt::NoBrush);
}

const PainterCanvas::Text& PainterCanvas::prepare(const std::string& cp932, TextWindow window)
{
    return texts_.get(cp932, window, font_, [this](const QString& string) {
        return Text{string, QFontMetrics(font_).horizontalAdvance(string)};
    });
}

void PainterCanvas::showText(const std::string& cp932, const TextSpot& spot)
{
    flushLines();
    const Text& text = prepare(cp932, textWindow(spot, cp932.size()));
    const CanvasPoint at = spot.origin(text.width, height_);
    if (!fontApplied_) {
        painter_.setFont(font_);
        fontApplied_ = true;
    }
    usePen(textColor_);
    const bool cut = spot.cuts(at, text.width, height_);
    if (cut) {
        painter_.save();
        painter_.setClipRect(toQRect(*spot.box), Qt::IntersectClip);
    }
    painter_.drawText(QPointF(at.x, at.y + ascent_), text.string);
    if (cut)
        painter_.restore();
}

}  // namespace solvena
