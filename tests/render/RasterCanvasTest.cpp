// The raster QPainter canvas: GDI's pixels for lines and polygons, text anchored
// and clipped as GDI does it, fonts as the chart names them.
#include "render/GdiLine.h"
#include "render/QtFont.h"
#include "render/RasterCanvas.h"
#include "text/Cp932.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

QImage draw(const std::function<void(Canvas&)>& paint, QSize size = {120, 60})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RasterCanvas canvas(painter);
    paint(canvas);
    return image;
}

std::set<std::pair<int, int>> inkOf(const QImage& image)
{
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                pixels.insert({x, y});
    return pixels;
}

TEST(RasterCanvasLines, PaintExactlyTheGdiPixels)
{
    const std::pair<CanvasPoint, CanvasPoint> lines[] = {
        {{5, 5}, {40, 5}},   {{40, 10}, {5, 10}}, {{3, 50}, {3, 20}},  {{10, 50}, {15, 35}}, {{20, 52}, {25, 37}},
        {{50, 10}, {90, 30}}, {{90, 50}, {60, 40}}, {{100, 5}, {110, 55}}, {{70, 55}, {75, 55}}};
    std::set<std::pair<int, int>> expected;
    for (const auto& [from, to] : lines)
        for (const CanvasPoint& p : gdiLinePixels(from, to))
            expected.insert({p.x, p.y});

    const QImage image = draw([&](Canvas& canvas) {
        canvas.setPenColor(0x000000);
        for (const auto& [from, to] : lines) {
            canvas.moveTo(from.x, from.y);
            canvas.lineTo(to.x, to.y);
            EXPECT_EQ(canvas.penPosition(), to);
        }
    });
    EXPECT_EQ(inkOf(image), expected);
    EXPECT_EQ(image.pixel(6, 5), qRgb(0, 0, 0));
}

TEST(RasterCanvasLines, PenColourAndClearPen)
{
    const QImage image = draw([](Canvas& canvas) {
        canvas.setPenColor(0x3366CC);
        canvas.moveTo(2, 2);
        canvas.lineTo(10, 2);
        canvas.setPenStyle(PenStyle::Clear);
        canvas.lineTo(10, 20);
        EXPECT_EQ(canvas.penPosition(), (CanvasPoint{10, 20}));
    });
    EXPECT_EQ(image.pixel(2, 2), qRgb(0x33, 0x66, 0xCC));
    EXPECT_EQ(inkOf(image).size(), 8u);
}

TEST(RasterCanvasPolygon, FillsTheInteriorAndLightsEveryVertex)
{
    const CanvasPoint triangle[] = {{10, 30}, {20, 10}, {30, 30}};
    const QImage filled = draw([&](Canvas& canvas) {
        canvas.setPenColor(0x000000);
        canvas.setBrushColor(0xFF0000);
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.polygon(triangle);
    });
    for (const CanvasPoint& p : triangle)
        EXPECT_EQ(filled.pixel(p.x, p.y), qRgb(0, 0, 0));
    EXPECT_EQ(filled.pixel(20, 25), qRgb(255, 0, 0));
    EXPECT_EQ(filled.pixel(20, 9), qRgb(255, 255, 255));
    EXPECT_EQ(filled.pixel(20, 31), qRgb(255, 255, 255));

    const QImage hollow = draw([&](Canvas& canvas) {
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.polygon(triangle);
    });
    EXPECT_EQ(hollow.pixel(20, 25), qRgb(255, 255, 255));
    std::set<std::pair<int, int>> outline;
    for (size_t i = 0; i < 3; ++i)
        for (const CanvasPoint& p : gdiLinePixels(triangle[i], triangle[(i + 1) % 3]))
            outline.insert({p.x, p.y});
    EXPECT_EQ(inkOf(hollow), outline);
}

TEST(RasterCanvasFont, FollowsTheFontDesc)
{
    const QFont tenPoint = toQFont(FontDesc{"", 10, 0});
    EXPECT_EQ(tenPoint.pixelSize(), 13);
    EXPECT_EQ(tenPoint.family(), QGuiApplication::font().family());
    EXPECT_EQ(toQFont(FontDesc{"", 9, 0}).pixelSize(), 12);
    EXPECT_EQ(toQFont(FontDesc{"", 11, 0}).pixelSize(), 15);  // 14.67

    FontDesc desc{"ＭＳ ゴシック", 20, 13, true, true, true, false};
    const QFont font = toQFont(desc);
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_EQ(font.family(), u"ＭＳ ゴシック"_s);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    // The substitution installed at start finds a Japanese face for it.
    EXPECT_TRUE(QFontInfo(font).family().startsWith(u"IPA"_s)) << QFontInfo(font).family().toStdString();
}

class RasterCanvasText : public testing::Test {
protected:
    const FontDesc desc{"MS Gothic", 0, 13, false, false, false, false, 0x000000};
    const std::string caption = utf16ToCp932(u"端子名Ab").value();
};

TEST_F(RasterCanvasText, TextOutAnchorsTheTopLeftCorner)
{
    const QImage viaCanvas = draw([&](Canvas& canvas) {
        canvas.setFont(desc);
        canvas.textOut(7, 9, caption);
    });
    QImage direct(viaCanvas.size(), QImage::Format_RGB32);
    direct.fill(Qt::white);
    {
        QPainter painter(&direct);
        const QFont font = toQFont(desc);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(7, 9 + QFontMetrics(font).ascent()), u"端子名Ab"_s);
    }
    EXPECT_FALSE(inkOf(viaCanvas).empty());
    EXPECT_EQ(viaCanvas, direct);
}

TEST_F(RasterCanvasText, TextRectClipsToItsRectangle)
{
    const CanvasRect clip{20, 12, 34, 20};
    const QImage image = draw([&](Canvas& canvas) {
        canvas.setFont(desc);
        canvas.textRect(clip, 18, 8, caption);
    });
    const auto pixels = inkOf(image);
    EXPECT_FALSE(pixels.empty());
    for (const auto& [x, y] : pixels) {
        EXPECT_GE(x, clip.left);
        EXPECT_LT(x, clip.right);
        EXPECT_GE(y, clip.top);
        EXPECT_LT(y, clip.bottom);
    }
}

TEST_F(RasterCanvasText, DrawTextPlacesAndClips)
{
    const QFont font = toQFont(desc);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(u"端子名Ab"_s);
    const int height = metrics.ascent() + metrics.descent();
    const CanvasRect rect{10, 10, 110, 50};
    const unsigned single = TextFlag::SingleLine | TextFlag::VCenter;

    auto box = [&](unsigned flags) {
        const QImage image = draw([&](Canvas& canvas) {
            canvas.setFont(desc);
            canvas.drawText(caption, rect, flags);
        });
        QRect bounds;
        for (const auto& [x, y] : inkOf(image))
            bounds |= QRect(x, y, 1, 1);
        return bounds;
    };
    const int top = 10 + 40 / 2 - height / 2;
    const QRect left = box(single);
    const QRect right = box(single | TextFlag::Right);
    const QRect centre = box(single | TextFlag::Center);
    // Ink sits inside the text's cell, which stands where DrawText puts it.
    EXPECT_GE(left.left(), 10);
    EXPECT_LE(left.left(), 12);
    EXPECT_GE(left.top(), top);
    EXPECT_LE(left.bottom(), top + height - 1);
    EXPECT_EQ(right.left() - left.left(), 110 - width - 10);
    EXPECT_EQ(centre.left() - left.left(), (10 + 110 - width) / 2 - 10);
    EXPECT_EQ(right.top(), left.top());

    // A rectangle smaller than the text cuts it.
    const CanvasRect small{30, 20, 40, 26};
    const QImage clipped = draw([&](Canvas& canvas) {
        canvas.setFont(desc);
        canvas.drawText(caption, small, single | TextFlag::Center);
    });
    const auto pixels = inkOf(clipped);
    EXPECT_FALSE(pixels.empty());
    for (const auto& [x, y] : pixels)
        EXPECT_TRUE(x >= 30 && x < 40 && y >= 20 && y < 26) << x << "," << y;
}

TEST_F(RasterCanvasText, UsesTheFontColourAndLeavesThePainterAsItWas)
{
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(1, 2, 3));
    painter.setBrush(QColor(4, 5, 6));
    {
        RasterCanvas canvas(painter);
        FontDesc red = desc;
        red.color = 0xFF0000;
        canvas.setFont(red);
        canvas.setBrushStyle(BrushStyle::Solid);
        const CanvasPoint dot[] = {{50, 20}, {52, 20}, {51, 22}};
        canvas.polygon(dot);
        canvas.textOut(2, 2, "H");
    }
    EXPECT_EQ(painter.pen().color(), QColor(1, 2, 3));
    EXPECT_EQ(painter.brush().color(), QColor(4, 5, 6));
    painter.end();
    bool red = false;
    for (const auto& [x, y] : inkOf(image))
        red = red || (x < 20 && qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 60);
    EXPECT_TRUE(red);
}

}  // namespace

namespace {

// Lines go straight into the pixels of an RGB32 image and through fillRect on other
// surfaces; both must give the same picture, translation and clipping included.
TEST(RasterCanvasSurfaces, DirectPixelsMatchThePainterPath)
{
    const CanvasPoint arrow[] = {{30, 40}, {33, 30}, {36, 40}};
    auto paint = [&](QImage::Format format, const std::function<void(QPainter&)>& setUp,
                     uint32_t colour = 0x102030) {
        QImage image(160, 90, format);
        image.fill(Qt::white);
        QPainter painter(&image);
        setUp(painter);
        {
            RasterCanvas canvas(painter);
            canvas.setPenColor(colour);
            canvas.setBrushColor(colour);
            for (int i = 0; i < 12; ++i) {
                canvas.moveTo(-10 + 13 * i, 80 - 7 * i);
                canvas.lineTo(150 - 11 * i, 5 + 6 * i);
                canvas.lineTo(150 - 11 * i, 85);
            }
            canvas.setBrushStyle(BrushStyle::Solid);
            canvas.polygon(arrow);
        }
        painter.end();
        return image.convertToFormat(QImage::Format_RGB32);
    };
    const std::function<void(QPainter&)> setUps[] = {
        [](QPainter&) {},
        [](QPainter& p) { p.translate(7, -4); },
        [](QPainter& p) { p.setClipRect(QRect(20, 15, 90, 50)); },
        [](QPainter& p) {
            p.translate(-3, 5);
            p.setClipRegion(QRegion(10, 10, 40, 40) + QRegion(60, 30, 50, 50));
        }};
    for (size_t i = 0; i < std::size(setUps); ++i) {
        const QImage direct = paint(QImage::Format_RGB32, setUps[i]);
        const QImage viaPainter = paint(QImage::Format_RGB888, setUps[i]);
        EXPECT_FALSE(inkOf(direct).empty());
        EXPECT_EQ(direct, viaPainter) << "set-up " << i;
        // A chart in greys drawn on 8-bit grey has the same pixels as on 32 bits.
        EXPECT_EQ(paint(QImage::Format_Grayscale8, setUps[i], 0x505050),
                  paint(QImage::Format_RGB888, setUps[i], 0x505050))
            << "grey, set-up " << i;
    }
}

// Ends and boxes anywhere in 32 bits, on the image's own pixels and through the
// painter alike: a line paints its pixels over the surface, walked there only, and a
// box wider than 32 bits clips as it would if it were only as wide as the surface.
TEST(RasterCanvasSurfaces, EndsAndBoxesAnywhereIn32Bits)
{
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const unsigned centred = TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Center;
    auto paint = [&](QImage::Format format, bool far) {
        QImage image(40, 30, format);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            RasterCanvas canvas(painter);
            canvas.setFont(FontDesc{"MS Gothic", 0, 13});
            canvas.moveTo(far ? kMin : -1, 5);
            canvas.lineTo(far ? kMax : 40, 5);
            canvas.moveTo(far ? kMin : -1, far ? kMin : -1);
            canvas.lineTo(far ? kMax : 40, far ? kMax : 40);
            // 24 rows down over 2^32 columns: half-way, at row 15, over the image.
            canvas.moveTo(far ? kMax : 40, far ? 3 : 15);
            canvas.lineTo(far ? kMin : -1, far ? 27 : 15);
            if (far) {
                canvas.drawText("1", {kMin, 10, 30, 20}, centred);  // centred 2^30 pixels to the left
                canvas.textRect({kMin, kMin, kMax, kMax}, 2, 12, "1");
            } else {
                canvas.textOut(2, 12, "1");
            }
        }
        return image.convertToFormat(QImage::Format_RGB32);
    };
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888})
        EXPECT_EQ(paint(format, true), paint(format, false)) << format;
}

}  // namespace

namespace {

int largestChannelDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

// Text on an RGB32 image is composited from its captured coverage. Over a busy
// background, translated and clipped, it must match what the painter's own text gives
// where DrawText puts it, within the painter's own rounding.
TEST(RasterCanvasSurfaces, CachedTextMatchesThePainterPath)
{
    struct Text {
        QString text;
        CanvasRect rect;
        unsigned flags;  // drawText's; none: textRect at the rectangle's corner + (1, 2)
    };
    struct Case {
        const char* what;
        FontDesc font;
        std::vector<Text> texts;
    };
    const unsigned label = TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Center;
    const unsigned name = TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Right;
    const Case cases[] = {
        {"level label", FontDesc{"ＭＳ ゴシック", 0, 13},
         {{u"1"_s, {20, 15, 35, 35}, label}, {u"0"_s, {50, 40, 65, 60}, label},
          {u"1"_s, {61, 52, 70, 58}, label},
          // A delay wider than its cell inverts the box: no inside, no text.
          {u"0"_s, {100, 15, 88, 35}, label}}},
        {"clipped header number", FontDesc{"", 10, 0, true, false, false, false, 0x203040},
         {{u"98"_s, {30, 10, 41, 20}, 0}, {u"98"_s, {60, 30, 90, 50}, 0}}},
        {"right-aligned Japanese name", FontDesc{"ＭＳ ゴシック", 0, 13, false, true, false, false, 0x0000C0},
         {{u"端子名ｱｲ①"_s, {2, 2, 60, 24}, name}, {u"端子名ｱｲ①"_s, {40, 50, 150, 72}, name}}},
    };
    auto paint = [](const Case& c, bool translated, bool viaCanvas) {
        QImage image(160, 90, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 3 % 256, 255 - y * 5 % 256, (x + y) * 7 % 256));
        QPainter painter(&image);
        if (translated) {
            painter.translate(4, -3);
            painter.setClipRect(QRect(0, 0, 120, 70));
        }
        const QFont font = toQFont(c.font);
        const QFontMetrics metrics(font);
        {
            for (const Text& t : c.texts) {
                const std::string cp932 = utf16ToCp932(t.text.toStdU16String()).value();
                const CanvasRect& r = t.rect;
                if (viaCanvas) {
                    RasterCanvas canvas(painter);
                    canvas.setFont(c.font);
                    if (t.flags)
                        canvas.drawText(cp932, r, t.flags);
                    else
                        canvas.textRect(r, r.left + 1, r.top + 2, cp932);
                    continue;
                }
                const int width = metrics.horizontalAdvance(t.text);
                const int height = metrics.ascent() + metrics.descent();
                int x = r.left + 1;
                int y = r.top + 2;
                if (t.flags) {
                    x = t.flags & TextFlag::Right ? r.right - width : (r.left + r.right - width) / 2;
                    y = r.top + (r.bottom - r.top) / 2 - height / 2;
                }
                const QRect clip(r.left, r.top, r.right - r.left, r.bottom - r.top);
                if (clip.isEmpty())
                    continue;
                painter.save();
                if (!clip.contains(QRect(x, y, width, height)))
                    painter.setClipRect(clip, Qt::IntersectClip);
                painter.setFont(font);
                painter.setPen(QColor::fromRgb(QRgb(0xFF000000u | c.font.color)));
                QStaticText text(t.text);
                text.setTextFormat(Qt::PlainText);
                text.prepare(QTransform(), font);
                painter.drawStaticText(QPoint(x, y), text);
                painter.restore();
            }
        }
        painter.end();
        return image;
    };
    for (const Case& c : cases) {
        for (const bool translated : {false, true}) {
            paint(c, translated, true);  // the second time, from the cache
            const QImage cached = paint(c, translated, true);
            const QImage viaPainter = paint(c, translated, false);
            const QImage blank = paint(Case{"", c.font, {}}, translated, true);
            EXPECT_GT(largestChannelDifference(cached, blank), 100) << c.what;
            EXPECT_LE(largestChannelDifference(cached, viaPainter), 1) << c.what << " " << translated;
            // Beyond the painter's clip nothing changes.
            if (translated) {
                EXPECT_EQ(cached.copy(124, 0, 36, 90), blank.copy(124, 0, 36, 90)) << c.what;
            }
        }
    }
}

}  // namespace

namespace {

// A widget repainting part of itself paints into its window's backing store with the
// area being repainted as the engine's system clip, which the painter's own clip does not
// show; the pixels written straight into the image must keep to it as the painter does.
TEST(RasterCanvasSurfaces, DirectPixelsKeepToTheSystemClip)
{
    const std::string name = utf16ToCp932(u"端子名").value();
    auto chart = [&](Canvas& canvas) {
        canvas.setPenColor(0x000000);
        for (int y = 3; y < 80; y += 6) {
            canvas.moveTo(0, y);
            canvas.lineTo(120, y + 3);
        }
        canvas.setFont(FontDesc{"ＭＳ ゴシック", 0, 13});
        for (int y = 0; y < 80; y += 16)
            for (int x = 0; x < 120; x += 15)
                canvas.drawText("1", CanvasRect{x, y, x + 15, y + 16},
                                TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Center);
        canvas.drawText(name, CanvasRect{10, 30, 100, 50}, TextFlag::SingleLine | TextFlag::Right);
    };
    auto paint = [&](QImage::Format format, const QRegion& systemClip) {
        QImage image(120, 80, format);
        image.fill(Qt::white);
        image.paintEngine()->setSystemClip(systemClip);
        {
            QPainter painter(&image);
            RasterCanvas canvas(painter);
            chart(canvas);
        }
        return image.convertToFormat(QImage::Format_RGB32);
    };
    const QImage whole = paint(QImage::Format_RGB32, QRegion());
    for (const QRegion& region : {QRegion(20, 25, 70, 30), QRegion(5, 5, 40, 30) + QRegion(60, 40, 50, 30)}) {
        const QImage direct = paint(QImage::Format_RGB32, region);
        EXPECT_LE(largestChannelDifference(direct, paint(QImage::Format_RGB888, region)), 1);
        int inside = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 120; ++x) {
                const QRgb expected = region.contains(QPoint(x, y)) ? whole.pixel(x, y) : qRgb(255, 255, 255);
                inside += region.contains(QPoint(x, y)) && expected != qRgb(255, 255, 255);
                ASSERT_EQ(direct.pixel(x, y), expected) << x << "," << y;
            }
        EXPECT_GT(inside, 100);
    }
}

}  // namespace
