#include "render/RasterCanvas.h"

#include "render/CoverageBlend.h"
#include "render/DrawChartWalk.h"
#include "render/GdiLine.h"
#include "render/QtFont.h"
#include "render/TextFit.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QRegion>
#include <QStaticText>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

namespace solvena {

namespace {

QColor toQColor(uint32_t rgb)
{
    return QColor::fromRgb(QRgb(0xFF000000u | (rgb & 0xFFFFFFu)));
}

int32_t saturated(double value)
{
    return static_cast<int32_t>(std::clamp(value, double(std::numeric_limits<int32_t>::min()),
                                           double(std::numeric_limits<int32_t>::max())));
}

// A GDI rectangle as a QRect. Its sides are brought within 2^29 of the origin first,
// beyond any surface: a box from a chart may span more than a 32-bit width.
QRect toQRect(const CanvasRect& r)
{
    constexpr int32_t kFar = 1 << 29;
    const int32_t left = std::clamp(r.left, -kFar, kFar);
    const int32_t top = std::clamp(r.top, -kFar, kFar);
    return QRect(left, top, std::clamp(r.right, -kFar, kFar) - left, std::clamp(r.bottom, -kFar, kFar) - top);
}

// Texts are laid out once per font and kept: a chart repeats the same few labels
// thousands of times, and the names and column numbers on every repaint.
constexpr size_t kMaxTextsPerFont = 4096;
// The bytes of long texts (names of up to a file's size) kept as keys, per font.
constexpr size_t kMaxLongTextBytesPerFont = size_t{64} << 20;
constexpr size_t kMaxFonts = 16;
// What the captured glyph coverage of one font's texts may take, beyond which texts
// are drawn by the painter again.
constexpr size_t kMaxCoverageBytesPerFont = size_t{4} << 20;

// The ink of one text as the painter paints it: the coverage of every pixel of the
// rectangle its ink spans, relative to the point the text is drawn at, row by row.
struct TextCoverage {
    QRect bounds;
    // Rows of `stride` values: the width rounded up to whole blocks of eight, the
    // columns beyond it without coverage.
    int stride = 0;
    std::vector<uint8_t> alpha;
};

// A colour on an 8-bit grey surface, as Qt converts it there.
inline uint8_t greyOf(uint32_t rgb)
{
    return uint8_t(qGray(QRgb(rgb)));
}

// A device rectangle, right and bottom exclusive, in 64 bits: a text may be placed
// anywhere a 32-bit position and its width reach.
struct DeviceBox {
    int64_t left;
    int64_t top;
    int64_t right;
    int64_t bottom;

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(const DeviceBox& o) const
    {
        return o.left >= left && o.top >= top && o.right <= right && o.bottom <= bottom;
    }
    DeviceBox operator&(const DeviceBox& o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
};

// Blends coverage drawn at device point (x, y) in an opaque colour into the pixels
// (32-bit, or 8-bit grey) inside the device rectangle `clip`, which lies within the
// image. Full coverage needs no case of its own: the blend gives the colour itself.
template <typename Pixel>
void blendCoverage(const TextCoverage& coverage, Pixel color, uchar* bits, qsizetype bytesPerLine, int64_t x,
                   int64_t y, const DeviceBox& clip)
{
    const int64_t left = x + coverage.bounds.left();
    const int64_t top = y + coverage.bounds.top();
    const DeviceBox part =
        DeviceBox{left, top, left + coverage.bounds.width(), top + coverage.bounds.height()} & clip;
    if (part.isEmpty())
        return;
    // The rows are a whole image line apart: ask for all of them before blending
    // rather than waiting on each in turn.
#if defined(__GNUC__) || defined(__clang__)
    for (int64_t row = part.top; row < part.bottom; ++row) {
        const uchar* line = bits + row * bytesPerLine;
        __builtin_prefetch(line + part.left * int64_t(sizeof(Pixel)), 1);
        __builtin_prefetch(line + (part.right - 1) * int64_t(sizeof(Pixel)), 1);
    }
#endif
    const int stride = coverage.stride;
    // Whole rows, blocks and all, where they lie inside: the blocks' last columns
    // cover nothing and leave their pixels as they are.
    const int count = part.left == left && left + stride <= clip.right ? stride : int(part.right - part.left);
    const uint8_t* alpha = coverage.alpha.data() + (part.top - top) * stride + (part.left - left);
    for (int64_t row = part.top; row < part.bottom; ++row, alpha += stride)
        blendRow(reinterpret_cast<Pixel*>(bits + row * bytesPerLine) + part.left, alpha, count, color);
}

// The backgrounds a captured text is proved on.
constexpr QRgb kProofBackgrounds[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(128, 128, 128),
                                      qRgb(64, 160, 224), qRgb(224, 96, 32)};
constexpr int kSheetTiles = 1 + int(std::size(kProofBackgrounds));

// The text as the painter draws it with these hints, in tiles covering `area` (relative
// to the text's drawing point) side by side: white on black in the first, then in its
// colour on each proof background. One picture and one painter serve them all; every
// background is down before any text, so ink that strays into a neighbour shows there.
QImage paintedTexts(const QStaticText& text, const QFont& font, const QColor& color, const QRect& area,
                    QPainter::RenderHints hints)
{
    QImage sheet(area.width() * kSheetTiles, area.height(), QImage::Format_RGB32);
    if (sheet.isNull())
        return sheet;
    QPainter painter(&sheet);
    for (int t = 0; t < kSheetTiles; ++t)
        painter.fillRect(QRect(t * area.width(), 0, area.width(), area.height()),
                         QColor::fromRgb(t == 0 ? qRgb(0, 0, 0) : kProofBackgrounds[t - 1]));
    painter.setRenderHints(painter.renderHints(), false);
    painter.setRenderHints(hints, true);
    painter.setFont(font);
    for (int t = 0; t < kSheetTiles; ++t) {
        painter.setPen(t == 0 ? QColor(Qt::white) : color);
        painter.drawStaticText(QPoint(t * area.width() - area.left(), -area.top()), text);
    }
    return sheet;
}

// Captures the coverage of a text from the painter's own rendering of it, white on
// black, and proves it by drawing the text in its colour on several backgrounds both
// ways. Anything the simple blend cannot reproduce (coloured glyphs, per-channel
// subpixel coverage, gamma-corrected blending, ink beyond the captured area) fails
// the proof, and that text keeps being drawn by the painter.
std::optional<TextCoverage> captureCoverage(const QStaticText& text, const QFont& font,
                                            const QColor& color, int width,
                                            QPainter::RenderHints hints)
{
    const QFontMetrics metrics(font);
    const int height = metrics.ascent() + metrics.descent();
    const int margin = height / 2 + 2;
    const QRect ink = metrics.boundingRect(text.text()).translated(0, metrics.ascent());
    const QRect area = (ink | QRect(0, 0, width, height)).adjusted(-margin, -margin, margin, margin);
    if (area.width() > 4096 || area.height() > 1024)
        return std::nullopt;

    const QImage sheet = paintedTexts(text, font, color, area, hints);
    if (sheet.isNull())
        return std::nullopt;
    // A tile's row y.
    const auto tileRow = [&sheet, &area](int tile, int y) {
        return reinterpret_cast<const QRgb*>(sheet.constScanLine(y)) + qsizetype(tile) * area.width();
    };
    int left = area.width(), top = area.height(), right = -1, bottom = -1;
    for (int y = 0; y < area.height(); ++y) {
        const QRgb* line = tileRow(0, y);
        for (int x = 0; x < area.width(); ++x) {
            const QRgb pixel = line[x];
            if (qRed(pixel) != qGreen(pixel) || qRed(pixel) != qBlue(pixel))
                return std::nullopt;
            if (qRed(pixel) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const QRect inked = right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    if (!inked.isEmpty() && !QRect(QPoint(1, 1), area.size() - QSize(2, 2)).contains(inked))
        return std::nullopt;

    TextCoverage coverage;
    coverage.bounds = inked.translated(area.topLeft());
    coverage.stride = (inked.width() + 7) & ~7;
    coverage.alpha.assign(size_t(coverage.stride) * size_t(inked.height()), 0);
    for (int y = inked.top(); y <= inked.bottom(); ++y) {
        const QRgb* line = tileRow(0, y);
        uint8_t* alpha = coverage.alpha.data() + qsizetype(y - inked.top()) * coverage.stride;
        for (int x = inked.left(); x <= inked.right(); ++x)
            alpha[x - inked.left()] = uint8_t(qRed(line[x]));
    }

    const uint32_t pixel = color.rgb() | 0xFF000000u;
    QImage blended(area.size(), QImage::Format_RGB32);
    for (int t = 1; t < kSheetTiles; ++t) {
        blended.fill(kProofBackgrounds[t - 1]);
        blendCoverage(coverage, pixel, blended.bits(), blended.bytesPerLine(), -area.left(),
                      -area.top(), DeviceBox{0, 0, blended.width(), blended.height()});
        for (int y = 0; y < area.height(); ++y) {
            const QRgb* want = tileRow(t, y);
            const auto* got = reinterpret_cast<const QRgb*>(blended.constScanLine(y));
            if (std::memcmp(want, got, size_t(area.width()) * sizeof(QRgb)) == 0)
                continue;
            for (int x = 0; x < area.width(); ++x) {
                if (std::abs(qRed(want[x]) - qRed(got[x])) > 1 ||
                    std::abs(qGreen(want[x]) - qGreen(got[x])) > 1 ||
                    std::abs(qBlue(want[x]) - qBlue(got[x])) > 1)
                    return std::nullopt;
            }
        }
    }
    return coverage;
}

}  // namespace

struct RasterCanvas::DirectTarget {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int dx = 0;  // device = logical + (dx, dy)
    int dy = 0;
    int clipLeft = 0;  // device pixels, right and bottom exclusive
    int clipTop = 0;
    int clipRight = 0;
    int clipBottom = 0;
    bool blendsText = false;
    bool grey = false;  // 8-bit grey pixels; 32-bit otherwise
    QPainter::RenderHints hints;

    static std::unique_ptr<DirectTarget> of(QPainter& painter)
    {
        // A widget paints into its window's backing store image: the engine's device,
        // with the widget's offset in the device transform and the area being
        // repainted as the engine's system clip.
        QPaintEngine* engine = painter.paintEngine();
        if (!engine || engine->type() != QPaintEngine::Raster)
            return nullptr;
        QPaintDevice* device = engine->paintDevice();
        if (!device || device->devType() != QInternal::Image)
            return nullptr;
        auto* image = static_cast<QImage*>(device);
        const QImage::Format format = image->format();
        if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
            format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_Grayscale8)
            return nullptr;
        // Glyph coverage blends like Qt's only into opaque or premultiplied pixels.
        const bool blendsText = format != QImage::Format_ARGB32;
        if (image->devicePixelRatio() != 1.0 || painter.opacity() != 1.0 ||
            painter.compositionMode() != QPainter::CompositionMode_SourceOver)
            return nullptr;
        const QTransform transform = painter.deviceTransform();
        if (transform.type() > QTransform::TxTranslate || transform.dx() != int(transform.dx()) ||
            transform.dy() != int(transform.dy()))
            return nullptr;
        auto target = std::make_unique<DirectTarget>();
        target->dx = int(transform.dx());
        target->dy = int(transform.dy());
        QRect clip = image->rect();
        const QRegion systemClip = engine->systemClip();  // device coordinates
        if (systemClip.rectCount() > 1)
            return nullptr;
        if (!systemClip.isEmpty())
            clip &= systemClip.boundingRect();
        if (painter.hasClipping()) {
            const QRegion region = painter.clipRegion();  // logical coordinates
            if (region.rectCount() > 1)
                return nullptr;
            clip &= region.boundingRect().translated(target->dx, target->dy);
        }
        target->clipLeft = clip.left();
        target->clipTop = clip.top();
        target->clipRight = clip.left() + clip.width();
        target->clipBottom = clip.top() + clip.height();
        // The painter has already detached the image; this does not copy it again.
        target->bits = image->bits();
        target->bytesPerLine = image->bytesPerLine();
        target->blendsText = blendsText;
        target->grey = format == QImage::Format_Grayscale8;
        target->hints = painter.renderHints();
        return target;
    }
};

namespace {

// The pixels of the painter's raster surface in its logical coordinates, with a pixel
// to spare on each side; none for other engines, whose devices may have no size.
std::optional<CanvasRect> surfaceWindow(QPainter& painter)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice())
        return std::nullopt;
    const QPaintDevice* device = engine->paintDevice();
    bool invertible = false;
    const QTransform toLogical = painter.deviceTransform().inverted(&invertible);
    if (!invertible || device->width() <= 0 || device->height() <= 0)
        return std::nullopt;
    const QRectF area = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
    return CanvasRect{saturated(std::floor(area.left()) - 2), saturated(std::floor(area.top()) - 2),
                      saturated(std::ceil(area.right()) + 2), saturated(std::ceil(area.bottom()) + 2)};
}

}  // namespace

struct RasterCanvas::PreparedText {
    QStaticText text;
    int width = 0;
    // The captured ink, for the render hints it was captured with; none where the
    // painter has to draw this text.
    enum class Capture : uint8_t { NotYet, Captured, Refused } capture = Capture::NotYet;
    QPainter::RenderHints captureHints;
    TextCoverage coverage;
};

struct RasterCanvas::FontState {
    FontDesc desc;
    QFont font;
    QColor color;
    uint32_t argb = 0;  // the colour as an opaque pixel, and as a grey one
    uint8_t grey = 0;
    int ascent = 0;
    int height = 0;
    size_t coverageBytes = 0;
    TextCache<PreparedText> texts{kMaxTextsPerFont, kMaxLongTextBytesPerFont, [this] { coverageBytes = 0; }};
};

std::vector<std::shared_ptr<RasterCanvas::FontState>>& RasterCanvas::fontCache()
{
    // One cache per thread: painters may run on worker threads for exports. The main
    // thread's fonts are let go with the application, before Qt's font cache goes.
    thread_local std::vector<std::shared_ptr<FontState>> fonts;
    thread_local bool cleanupRegistered = false;
    if (!cleanupRegistered && QCoreApplication::instance() &&
        QThread::currentThread() == QCoreApplication::instance()->thread()) {
        qAddPostRoutine([] { fontCache().clear(); });
        cleanupRegistered = true;
    }
    return fonts;
}

RasterCanvas::RasterCanvas(QPainter& painter) : painter_(painter)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    direct_ = DirectTarget::of(painter_);
    if (direct_)
        window_ = CanvasRect{direct_->clipLeft - direct_->dx, direct_->clipTop - direct_->dy,
                             direct_->clipRight - direct_->dx, direct_->clipBottom - direct_->dy};
    else
        window_ = surfaceWindow(painter_);
}

RasterCanvas::~RasterCanvas()
{
    painter_.restore();
}

void RasterCanvas::setFont(const FontDesc& desc)
{
    if (font_ && fontDesc_ == desc)
        return;
    fontDesc_ = desc;
    fontApplied_ = false;

    auto& fonts = fontCache();
    auto found = std::find_if(fonts.begin(), fonts.end(),
                              [&](const auto& state) { return state->desc == desc; });
    if (found == fonts.end()) {
        if (fonts.size() >= kMaxFonts)
            fonts.erase(fonts.begin());
        auto state = std::make_shared<FontState>();
        state->desc = desc;
        state->font = toQFont(desc);
        state->color = toQColor(desc.color);
        state->argb = state->color.rgb() | 0xFF000000u;
        state->grey = greyOf(state->argb);
        const QFontMetrics metrics(state->font);
        state->ascent = metrics.ascent();
        state->height = metrics.ascent() + metrics.descent();
        fonts.push_back(std::move(state));
        found = fonts.end() - 1;
    }
    font_ = *found;
}

void RasterCanvas::lineTo(int32_t x, int32_t y)
{
    const CanvasPoint from = advancePen(x, y);
    if (!penIsClear())
        strokeSegment(from, CanvasPoint{x, y});
}

namespace {

// Fills `count` pixels from `first` with `pixel`, sixteen bytes a store: a chart's
// lines are short, and a store a pixel is what drawing them waits on.
template <typename Pixel>
inline void fillPixels(Pixel* first, int64_t count, Pixel pixel)
{
    constexpr int64_t kBlock = 16 / int64_t(sizeof(Pixel));
    Pixel block[kBlock];
    std::fill_n(block, kBlock, pixel);
    for (; count >= kBlock; count -= kBlock, first += kBlock)
        std::memcpy(first, block, sizeof block);
    for (; count > 0; --count)
        *first++ = pixel;
}

template <typename Pixel>
void paintStraight(uchar* origin, qsizetype stride, CanvasPoint from, CanvasPoint to, Pixel pixel)
{
    // One run from the first pixel up to the last, not included, whichever way the
    // line goes.
    if (from.y == to.y) {
        const int32_t first = from.x < to.x ? from.x : to.x + 1;
        auto* line = reinterpret_cast<Pixel*>(origin + qsizetype(from.y) * stride);
        fillPixels(line + first, std::abs(to.x - from.x), pixel);
        return;
    }
    const int32_t first = from.y < to.y ? from.y : to.y + 1;
    uchar* at = origin + qsizetype(first) * stride + qsizetype(from.x) * qsizetype(sizeof(Pixel));
    for (int32_t rows = std::abs(to.y - from.y); rows > 0; --rows, at += stride)
        *reinterpret_cast<Pixel*>(at) = pixel;
}

}  // namespace

inline bool RasterCanvas::paintsDirectly(CanvasPoint from, CanvasPoint to) const
{
    return direct_ && std::min(from.x, to.x) >= window_->left && std::max(from.x, to.x) < window_->right &&
           std::min(from.y, to.y) >= window_->top && std::max(from.y, to.y) < window_->bottom;
}

[[gnu::always_inline]] inline bool RasterCanvas::paintStraightLine(CanvasPoint from, CanvasPoint to)
{
    if ((from.x != to.x && from.y != to.y) || !paintsDirectly(from, to))
        return false;
    const DirectTarget& target = *direct_;
    const qsizetype stride = target.bytesPerLine;
    const uint32_t pixel = 0xFF000000u | penRgb();
    if (target.grey)
        paintStraight(target.bits + qsizetype(target.dy) * stride + target.dx, stride, from, to, greyOf(pixel));
    else
        paintStraight(target.bits + qsizetype(target.dy) * stride + qsizetype(target.dx) * 4, stride, from, to,
                      pixel);
    return true;
}

void RasterCanvas::line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    BasicCanvas::moveTo(x2, y2);
    if (penIsClear())
        return;
    // Nearly every line of a chart is a level line or an edge inside the image.
    const CanvasPoint from{x1, y1};
    const CanvasPoint to{x2, y2};
    if (!paintStraightLine(from, to))
        strokeSegment(from, to);
}

void RasterCanvas::strokeSegment(CanvasPoint from, CanvasPoint to)
{
    const uint32_t pixel = 0xFF000000u | penRgb();
    if ((from.x == to.x && from.y == to.y) || paintStraightLine(from, to))
        return;
    // A slanted line wholly inside the image goes straight into the pixels; others
    // are clipped run by run.
    if (paintsDirectly(from, to)) {
        const DirectTarget& target = *direct_;
        const qsizetype pixelBytes = target.grey ? 1 : 4;
        uchar* const start = target.bits + qsizetype(target.dy + from.y) * target.bytesPerLine +
                             qsizetype(target.dx + from.x) * pixelBytes;
        const std::vector<qsizetype>& offsets = strokeOffsets(CanvasPoint{to.x - from.x, to.y - from.y});
        if (target.grey) {
            const uint8_t grey = greyOf(pixel);
            for (const qsizetype offset : offsets)
                start[offset] = grey;
        } else {
            for (const qsizetype offset : offsets)
                *reinterpret_cast<uint32_t*>(start + offset) = pixel;
        }
        return;
    }
    forEachGdiLineRun(
        from, to,
        [this, pixel](const PixelRun& run) { fillRun(run.x, run.y, run.width, run.height, pixel); },
        window_ ? &*window_ : nullptr);
}

const std::vector<qsizetype>& RasterCanvas::strokeOffsets(CanvasPoint extent)
{
    // A line's pixels depend on its extent alone: walked once, they are placed again
    // for every line of the same shape.
    for (StrokeShape& shape : strokeShapes_) {
        if (shape.extent == extent)
            return shape.offsets;
    }
    constexpr size_t kShapes = 4;
    if (strokeShapes_.size() == kShapes)
        strokeShapes_.erase(strokeShapes_.begin());
    StrokeShape& shape = strokeShapes_.emplace_back();
    shape.extent = extent;
    const qsizetype stride = direct_->bytesPerLine;
    const qsizetype pixelBytes = direct_->grey ? 1 : 4;
    forEachGdiLineRun(CanvasPoint{}, extent, [&](const PixelRun& run) {
        for (int64_t row = 0; row < run.height; ++row)
            for (int64_t column = 0; column < run.width; ++column)
                shape.offsets.push_back((run.y + row) * stride + (run.x + column) * pixelBytes);
    });
    return shape.offsets;
}

void RasterCanvas::fillRun(int32_t x, int32_t y, int64_t width, int64_t height, uint32_t argb)
{
    // In 64 bits: a run may end beyond 32 bits, and the surface's offset adds to it.
    int64_t left = x;
    int64_t top = y;
    int64_t right = left + width;
    int64_t bottom = top + height;
    if (window_) {
        left = std::max<int64_t>(left, window_->left);
        top = std::max<int64_t>(top, window_->top);
        right = std::min<int64_t>(right, window_->right);
        bottom = std::min<int64_t>(bottom, window_->bottom);
    }
    if (!direct_) {
        if (left < right && top < bottom && right - left <= std::numeric_limits<int32_t>::max() &&
            bottom - top <= std::numeric_limits<int32_t>::max())
            painter_.fillRect(QRect(int(left), int(top), int(right - left), int(bottom - top)),
                              QColor::fromRgb(argb));
        return;
    }
    // The window is the target's clip: what is left of the run lies within the image.
    if (left >= right || top >= bottom)
        return;
    const DirectTarget& target = *direct_;
    const int first = int(left) + target.dx;
    const int end = int(right) + target.dx;
    int rows = int(bottom - top);
    uchar* line = target.bits + qsizetype(int(top) + target.dy) * target.bytesPerLine;
    if (target.grey) {
        const uint8_t grey = greyOf(argb);
        if (end - first == 1) {
            for (uchar* at = line + first; rows > 0; --rows, at += target.bytesPerLine)
                *at = grey;
            return;
        }
        for (int row = 0; row < rows; ++row, line += target.bytesPerLine)
            std::fill(line + first, line + end, grey);
        return;
    }
    if (end - first == 1) {  // a vertical line: one pixel a row
        for (uchar* at = line + qsizetype(first) * 4; rows > 0; --rows, at += target.bytesPerLine)
            *reinterpret_cast<uint32_t*>(at) = argb;
        return;
    }
    for (int row = 0; row < rows; ++row, line += target.bytesPerLine)
        fillPixels(reinterpret_cast<uint32_t*>(line) + first, end - first, argb);
}

void RasterCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)  // GDI draws nothing for fewer than two points
        return;
    if (brushIsSolid() && points.size() >= 3) {
        // GDI's coordinates name pixel centres; Qt's name pixel corners.
        QPolygonF shape;
        shape.reserve(static_cast<qsizetype>(points.size()));
        for (const CanvasPoint& p : points)
            shape.append(QPointF(p.x + 0.5, p.y + 0.5));
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(toQColor(brushRgb()));
        painter_.drawPolygon(shape);
        fontApplied_ = false;
    }
    if (!penIsClear()) {
        for (size_t i = 0; i < points.size(); ++i)
            strokeSegment(points[i], points[(i + 1) % points.size()]);
    }
}

RasterCanvas::PreparedText& RasterCanvas::prepare(const std::string& cp932, TextWindow window)
{
    if (!font_)
        setFont(fontDesc_);
    return font_->texts.get(cp932, window, font_->font, [this](const QString& string) {
        PreparedText prepared;
        prepared.text.setText(string);
        prepared.text.setTextFormat(Qt::PlainText);
        prepared.text.setPerformanceHint(QStaticText::AggressiveCaching);
        prepared.text.prepare(QTransform(), font_->font);
        prepared.width = QFontMetrics(font_->font).horizontalAdvance(string);
        return prepared;
    });
}

bool RasterCanvas::blendText(PreparedText& text, int32_t x, int32_t y, const CanvasRect* clip)
{
    // Underlines and strike-outs are lines the painter places by the run and the
    // clip, not glyphs: they stay with the painter.
    if (!direct_ || !direct_->blendsText || font_->desc.underline || font_->desc.strikeOut)
        return false;
    const DirectTarget& target = *direct_;
    if (text.capture == PreparedText::Capture::NotYet || text.captureHints != target.hints) {
        if (text.capture == PreparedText::Capture::Captured)
            font_->coverageBytes -= text.coverage.alpha.size();
        text.captureHints = target.hints;
        text.capture = PreparedText::Capture::Refused;
        text.coverage = {};
        if (font_->coverageBytes < kMaxCoverageBytesPerFont) {
            if (auto coverage = captureCoverage(text.text, font_->font, font_->color, text.width,
                                                target.hints)) {
                text.coverage = std::move(*coverage);
                text.capture = PreparedText::Capture::Captured;
                font_->coverageBytes += text.coverage.alpha.size();
            }
        }
    }
    if (text.capture != PreparedText::Capture::Captured)
        return false;

    DeviceBox deviceClip{target.clipLeft, target.clipTop, target.clipRight, target.clipBottom};
    if (clip) {
        // As the painter path: a text whose cell fits the rectangle is not cut, so
        // italic overhangs survive; one that does not is cut at the rectangle.
        // (A cell without an inside counts as not fitting, as the painter counts it.)
        const DeviceBox box{clip->left, clip->top, clip->right, clip->bottom};
        const DeviceBox cell{x, y, int64_t{x} + text.width, int64_t{y} + font_->height};
        if (cell.isEmpty() || !box.contains(cell))
            deviceClip = deviceClip & DeviceBox{box.left + target.dx, box.top + target.dy, box.right + target.dx,
                                                box.bottom + target.dy};
    }
    if (deviceClip.isEmpty())
        return true;
    if (target.grey)
        blendCoverage(text.coverage, font_->grey, target.bits, target.bytesPerLine, int64_t{x} + target.dx,
                      int64_t{y} + target.dy, deviceClip);
    else
        blendCoverage(text.coverage, font_->argb, target.bits, target.bytesPerLine, int64_t{x} + target.dx,
                      int64_t{y} + target.dy, deviceClip);
    return true;
}

void RasterCanvas::paintText(PreparedText& text, int32_t x, int32_t y, const CanvasRect* clip)
{
    if (blendText(text, x, y, clip))
        return;
    if (!fontApplied_) {
        painter_.setFont(font_->font);
        painter_.setPen(font_->color);
        fontApplied_ = true;
    }
    // drawStaticText puts the top-left at the point, the baseline one ascent lower,
    // which is where TextOut puts it.
    const QRect box(x, y, text.width, font_->height);
    if (clip) {
        const QRect clipRect = toQRect(*clip);
        if (!clipRect.contains(box)) {
            painter_.save();
            painter_.setClipRect(clipRect, Qt::IntersectClip);
            painter_.drawStaticText(QPoint(x, y), text.text);
            painter_.restore();
            return;
        }
    }
    painter_.drawStaticText(QPoint(x, y), text.text);
}

void RasterCanvas::showText(const std::string& cp932, const TextSpot& spot)
{
    PreparedText& text = prepare(cp932, textWindow(spot, cp932.size()));
    const CanvasPoint at = spot.origin(text.width, font_->height);
    paintText(text, at.x, at.y, spot.box);
}

void drawChart(RasterCanvas& canvas, const GridGeometry& geometry, const TCell& chart,
               const RenderOptions& options)
{
    drawChartOn(canvas, geometry, chart, options);
}

}  // namespace solvena
