// The metafile canvas: state written only when a drawing needs it, text laid out as
// the raster canvas lays it out, a whole chart through drawChart, and what an
// independent reader makes of the file.
#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "render/MetafileCanvas.h"
#include "render/QtFont.h"
#include "render/RasterCanvas.h"
#include "render/TextPlacement.h"
#include "text/Cp932.h"

#include "EmfParser.h"
#include "RecordingCanvas.h"

#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

namespace R = EmfRecord;
const FontDesc kHeaderFont{"", 10, 0};
const FontDesc kGridFont{"MS Gothic", 0, 13};

// A finished recording and its records; made in place, so the views stay valid.
struct Emf {
    std::string bytes;
    std::vector<EmfRecordView> records;

    Emf(const std::function<void(Canvas&)>& paint, int32_t width = 200, int32_t height = 100)
    {
        MetafileCanvas canvas(width, height);
        paint(canvas);
        bytes = canvas.finish();
        records = parseEmf(bytes);
    }
    Emf(const Emf&) = delete;
    std::vector<uint32_t> types() const  // between the header and EOF
    {
        std::vector<uint32_t> t;
        for (size_t i = 1; i + 1 < records.size(); ++i)
            t.push_back(records[i].type);
        return t;
    }
};

TEST(MetafileCanvas, WritesStateOnlyWhenADrawingNeedsIt)
{
    const CanvasPoint tri[] = {{5, 5}, {9, 1}, {12, 5}};
    const Emf emf([&](Canvas& c) {
        for (uint32_t i = 0; i < 50; ++i) {  // nothing drawn: nothing written
            c.setPenColor(i);
            c.setBrushColor(i);
            c.setFont(FontDesc{"x", int(i)});
        }
        c.setPenColor(0x102030);
        c.moveTo(1, 2);
        c.lineTo(30, 2);
        c.moveTo(30, 2);  // where the pen already is
        c.lineTo(30, 40);
        c.setPenStyle(PenStyle::Clear);
        c.lineTo(50, 40);
        EXPECT_EQ(c.penPosition(), (CanvasPoint{50, 40}));
        c.setPenStyle(PenStyle::Solid);
        c.lineTo(50, 60);
        for (int i = 0; i < 2; ++i) {
            c.setBrushColor(0x000000);
            c.polygon(tri);
        }
        c.setBrushStyle(BrushStyle::Clear);
        c.polygon(tri);
        c.setPenStyle(PenStyle::Clear);
        c.polygon(tri);  // neither outline nor fill
    });
    // Lines go with the null brush. A fill goes without its pen, restores the null
    // brush and has its outline follow as a run of lines; an outline alone is lines.
    EXPECT_EQ(emf.types(), (std::vector<uint32_t>{R::CreatePen, R::SelectObject, R::SelectObject, R::MoveToEx,
                                                  R::LineTo, R::LineTo, R::MoveToEx, R::LineTo,
                                                  R::SelectObject, R::CreateBrushIndirect, R::SelectObject,
                                                  R::Polygon16, R::SelectObject, R::SelectObject, R::MoveToEx,
                                                  R::LineTo, R::LineTo, R::LineTo,
                                                  R::SelectObject, R::SelectObject, R::Polygon16, R::SelectObject,
                                                  R::SelectObject, R::MoveToEx, R::LineTo, R::LineTo, R::LineTo,
                                                  R::LineTo, R::LineTo, R::LineTo}));
    EXPECT_EQ(emf.records[1].u32(24), 0x302010u) << "the pen's COLORREF";
    const uint32_t pen = emf.records[1].u32(8);
    const std::pair<size_t, uint32_t> selections[] = {{2, pen},
                                                      {3, EmfWriter::kNullBrush},
                                                      {9, EmfWriter::kNullPen},
                                                      {13, EmfWriter::kNullBrush},
                                                      {14, pen},
                                                      {19, EmfWriter::kNullPen},
                                                      {22, EmfWriter::kNullBrush},
                                                      {23, pen}};
    for (const auto& [record, handle] : selections)
        EXPECT_EQ(emf.records[record].u32(8), handle) << record;
    const EmfPlayback play(emf.records);
    EXPECT_EQ(play.segments, (std::vector<EmfPlayback::Segment>{{{1, 2}, {30, 2}}, {{30, 2}, {30, 40}},
                                                                {{50, 40}, {50, 60}}, {{5, 5}, {9, 1}},
                                                                {{9, 1}, {12, 5}}, {{12, 5}, {5, 5}}}));
    EXPECT_EQ(play.polygons.size(), 2u);
    EXPECT_EQ(play.outlines.size(), 6u) << "the outlines of both fills";
    EXPECT_EQ(play.unanchoredLines, 0);
    EXPECT_EQ(play.filledLines, 0);

    // A new colour makes a new object and frees the old one's slot.
    const Emf changing([&](Canvas& c) {
        for (uint32_t i = 0; i < 200; ++i) {
            c.setPenColor(i);
            c.setBrushColor(i * 3);
            c.polygon(tri);
        }
    });
    EXPECT_EQ(EmfPlayback(changing.records).objectsCreated, 400);
    EXPECT_LE(changing.records[0].u16(56), 4) << "handle table size";
}

TEST(MetafileCanvas, TextAtItsTopLeftWithTheRasterAdvancesAndClippedOnlyWhenCut)
{
    const std::u16string caption = u"端子名Ab";
    const std::string cp932 = utf16ToCp932(caption).value();
    FontDesc red = kGridFont;
    red.color = 0xCC0000;
    FontDesc bold = red;
    bold.bold = true;
    const CanvasRect cut{20, 12, 34, 20};
    const Emf emf([&](Canvas& c) {
        c.setFont(red);
        c.textOut(7, 9, cp932);
        c.textRect({0, 0, 200, 60}, 7, 30, cp932);  // fits: not clipped
        c.setFont(bold);
        c.textRect(cut, 18, 8, cp932);
        c.textRect({20, 12, 20, 30}, 18, 8, cp932);  // no inside: nothing
        c.drawText(cp932, {40, 30, 90, 29}, TextFlag::SingleLine);
    });
    EXPECT_EQ(emf.types(), (std::vector<uint32_t>{R::SetBkMode, R::SetTextAlign, R::ExtCreateFontIndirectW,
                                                  R::SelectObject, R::SetTextColor, R::ExtTextOutW, R::ExtTextOutW,
                                                  R::ExtCreateFontIndirectW, R::SelectObject, R::DeleteObject,
                                                  R::SaveDC, R::IntersectClipRect, R::ExtTextOutW, R::RestoreDC}));
    EXPECT_EQ(emf.records[2].u32(8), 0u) << "TA_TOP | TA_LEFT";
    EXPECT_EQ(emf.records[3].i32(12), -13);
    EXPECT_EQ(emf.records[3].u16(40), u'M') << "the face the chart names, not its stand-in";
    EXPECT_EQ(emf.records[5].u32(8), 0x0000CCu);

    const EmfPlayback play(emf.records);
    ASSERT_EQ(play.texts.size(), 3u);
    EXPECT_EQ(play.texts[0].at, (CanvasPoint{7, 9}));
    EXPECT_EQ(play.texts[0].units, caption);
    EXPECT_FALSE(play.texts[1].clip);
    EXPECT_EQ(play.texts[2].clip, cut);
    // Each unit ends where the raster layout ends it, rounded once, not unit by unit.
    const QFontMetricsF metrics(toQFont(red));
    int32_t sum = 0;
    for (size_t i = 0; i < caption.size(); ++i) {
        sum += play.texts[0].dx[i];
        EXPECT_LE(std::abs(sum - metrics.horizontalAdvance(QString::fromStdU16String(caption.substr(0, i + 1)))), 0.5);
    }
}

// A full 99 x 99 chart: every level, delays, arrows, labels, names, timing lines.
TEST(MetafileCanvas, RecordsExactlyWhatTheRendererDraws)
{
    auto chart = std::make_unique<TCell>();
    for (int r = 1; r < kMaxRows; ++r) {
        if (r % 7)
            chart->signalName[r] = utf16ToCp932(u"信号" + std::u16string(size_t(r % 5), u'X')).value();
        for (int c = 1; c < kMaxCols; ++c) {
            chart->level[c][r] = r % 5 ? (c / (1 + r % 3)) % 2 : (c / 3 + r) % 3;
            chart->delay[c][r] = (c + r) % 5 == 0 ? 3 : 0;
            chart->cellFlags[c][r] = uint8_t((c * r) % 8);
        }
    }
    for (int c = 1; c < kMaxCols; c += 10)
        chart->timingLine[c] = 1;
    std::vector<int32_t> widths(kMaxCols, 15);
    widths[0] = 80;
    const ChartLayout layout(widths, std::vector<int32_t>(kMaxRows, 25), 25);
    const RenderOptions options{false, kHeaderFont, kGridFont, true};

    RecordingCanvas expected;
    drawChart(expected, layout, *chart, options);
    const Emf emf([&](Canvas& c) { drawChart(c, layout, *chart, options); }, layout.totalWidth() + 50,
                  layout.totalHeight() + 50);
    const EmfPlayback play(emf.records);

    ASSERT_EQ(play.segments.size(), expected.lines.size());
    for (size_t i = 0; i < expected.lines.size(); ++i)
        ASSERT_EQ(play.segments[i], (EmfPlayback::Segment{expected.lines[i].from, expected.lines[i].to})) << i;
    ASSERT_EQ(play.polygons.size(), expected.polygons.size());
    EXPECT_GT(play.polygons.size(), 100u) << "the chart has arrows";
    for (size_t i = 0; i < expected.polygons.size(); ++i)
        EXPECT_EQ(play.polygons[i], expected.polygons[i].points) << i;
    EXPECT_EQ(play.outlines.size(), 3 * play.polygons.size()) << "every arrow's outline after its fill";
    ASSERT_EQ(play.texts.size(), expected.texts.size());
    const QFontMetrics metrics(toQFont(kGridFont));
    for (size_t i = 0; i < expected.texts.size(); ++i) {
        const RecordedText& text = expected.texts[i];
        const std::u16string units = cp932ToUtf16(text.cp932);
        EXPECT_EQ(play.texts[i].units, units) << i;
        EXPECT_EQ(play.texts[i].at, placeText(text.rect, text.flags,
                                              metrics.horizontalAdvance(QString::fromStdU16String(units)),
                                              metrics.ascent() + metrics.descent())) << i;
    }
    // The renderer sets the brush for every cell; the file holds one brush.
    EXPECT_EQ(play.redundant, 0);
    // Between the names, labels and arrows, every run of lines starts with its own
    // move and none is drawn with the arrows' brush.
    EXPECT_EQ(play.unanchoredLines, 0);
    EXPECT_EQ(play.filledLines, 0);
    EXPECT_EQ(play.objectsCreated, 3) << "a pen, a brush, the grid font";
}

// Inkscape, where installed, reads the file on its own: the picture must come out at
// the file's pixel size with the drawing where the file put it.
TEST(MetafileCanvas, InkscapeFindsTheDrawingAtOneToOne)
{
    const QString inkscape = QStandardPaths::findExecutable(u"inkscape"_s);
    if (inkscape.isEmpty())
        GTEST_SKIP() << "inkscape is not on PATH: the metafile was not checked by an independent reader";

    const FontDesc red{"MS Gothic", 0, 13, false, false, false, false, 0xFF0000};
    const CanvasPoint arrow[] = {{150, 40}, {160, 20}, {170, 40}};
    const Emf emf(
        [&](Canvas& c) {
            c.moveTo(10, 20);
            c.lineTo(110, 20);
            c.moveTo(60, 5);
            c.lineTo(60, 75);
            c.setBrushColor(0x000000);
            c.polygon(arrow);
            c.setFont(red);
            c.textOut(120, 55, utf16ToCp932(u"端子名").value());
        },
        200, 80);

    QTemporaryDir dir;
    QFile file(dir.filePath(u"chart.emf"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(emf.bytes.data(), qint64(emf.bytes.size())), qint64(emf.bytes.size()));
    file.close();
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, dir.path());  // keep the user's preferences out of it
    process.setProcessEnvironment(env);
    const QString png = dir.filePath(u"chart.png"_s);
    process.start(inkscape, {u"--export-type=png"_s, u"--export-filename="_s + png, file.fileName()});
    ASSERT_TRUE(process.waitForFinished(60000)) << "inkscape did not finish";
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage image = QImage(png).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(200, 80));

    // The reader strokes a coordinate as the line between two pixel rows, so a
    // 1-pixel line at y covers rows y-1 and y half each: its ink centres on y.
    auto centre = [&](bool down, int at, int to) {
        double sum = 0, weight = 0;
        for (int i = 0; i <= to; ++i) {
            const int a = qAlpha(down ? image.pixel(at, i) : image.pixel(i, at));
            sum += a * (i + 0.5);
            weight += a;
        }
        return sum / weight;
    };
    EXPECT_NEAR(centre(true, 30, 40), 20.0, 0.1) << "horizontal line";
    EXPECT_NEAR(centre(false, 50, 100), 60.0, 0.1) << "vertical line";
    EXPECT_LT(qAlpha(image.pixel(9, 20)), 100);
    EXPECT_GT(qAlpha(image.pixel(10, 20)), 100) << "the line starts at 10";
    EXPECT_GT(qAlpha(image.pixel(109, 20)), 100);
    EXPECT_LT(qAlpha(image.pixel(110, 20)), 100) << "and reaches 110";
    EXPECT_EQ(image.pixel(160, 32), qRgb(0, 0, 0)) << "the arrow is filled";

    // The text is red and stays inside its cell.
    const QFontMetrics metrics(toQFont(red));
    const QRect cell(120, 55, metrics.horizontalAdvance(u"端子名"_s), metrics.ascent() + metrics.descent());
    QRect ink;
    int notRed = 0;
    for (int y = 45; y < 80; ++y) {
        for (int x = 112; x < 200; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0) {
                ink |= QRect(x, y, 1, 1);
                notRed += qRed(pixel) < 200 || qGreen(pixel) > 50 || qBlue(pixel) > 50;
            }
        }
    }
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width();
    EXPECT_EQ(notRed, 0);
}

}  // namespace
