// The chart's picture files as the exports and the command-line renderer make them:
// the bitmap against the raster canvas, the PNG against the bitmap, the metafile's
// records, what an independent reader makes of the SVG, the PDF's page; and the PNG
// writer and its deflater on pictures of every kind.
#include "pictures/PictureFormats.h"
#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "pictures/BmpWriter.h"
#include "pictures/PngWriter.h"
#include "pictures/RunDeflater.h"
#include "text/Cp932.h"

#include "DelayedChart.h"
#include "EmfParser.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <regex>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

// Signals with names, every level, an arrow on the last column, a timing line.
std::unique_ptr<TCell> sampleChart(int cols, int rows)
{
    auto chart = std::make_unique<TCell>();
    for (int r = 1; r < rows; ++r) {
        chart->signalName[r] = utf16ToCp932(u"信号" + std::u16string(1, char16_t(u'A' + r % 26))).value();
        for (int c = 1; c < cols; ++c)
            chart->level[c][r] = (c / (r % 3 + 1) + r) % 3 == 2 ? 2 : (c / (r % 3 + 1)) % 2;
    }
    chart->level[cols - 1][1] = 1;
    if (cols < kMaxCols)  // beyond the record's last column the renderer reads low
        chart->level[cols][1] = 0;
    chart->cellFlags[cols - 1][1] = kFlagFallingArrow;
    chart->timingLine[2] = 1;
    return chart;
}

GridLayout layoutOf(int cols, int rows)
{
    GridLayout layout;
    setColCount(layout, cols);
    setRowCount(layout, rows);
    return layout;
}

std::string picture(const ChartPicture& chart, PictureFormat format)
{
    StringSink sink;
    writePicture(sink, chart, format);
    return sink.take();
}

uint32_t le32(const std::string& bytes, size_t at)
{
    return uint8_t(bytes[at]) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

// A BMP file's pixels, checking that it is the uncompressed 24-bit kind.
QImage decodeBmp(const std::string& bytes)
{
    EXPECT_EQ(le32(bytes, 2), bytes.size());
    EXPECT_EQ(le32(bytes, 26) >> 16, 24u) << "bits per pixel";
    EXPECT_EQ(le32(bytes, 30), 0u) << "BI_RGB";
    return QImage::fromData(QByteArray::fromStdString(bytes), "BMP").convertToFormat(QImage::Format_RGB32);
}

QImage decodePng(const std::string& bytes)
{
    return QImage::fromData(QByteArray::fromStdString(bytes), "PNG").convertToFormat(QImage::Format_RGB32);
}

class ChartExport : public testing::TestWithParam<int> {};

// The start grid and one far larger than any window: each comes out whole.
TEST_P(ChartExport, BitmapIsTheRasterPictureWithoutTheHeaderBand)
{
    const int cols = GetParam();
    const auto chart = sampleChart(cols, 5);
    for (const bool withHeader : {false, true}) {
        const ChartPicture chartPicture{*chart, layoutOf(cols, 5), grid_defaults::headerFont(), withHeader};
        const PictureSize drawn = bitmapDrawingSize(chartPicture.layout);
        QImage expected = chartImage(chartPicture, QSize(int(drawn.width), int(drawn.height)));
        if (!withHeader)
            expected = expected.copy(0, 25, expected.width(), expected.height() - 25);

        const QImage bmp = decodeBmp(picture(chartPicture, PictureFormat::Bmp));
        ASSERT_EQ(bmp.size(), QSize(int(pictureWidth(chartPicture.layout)), withHeader ? 150 : 125));
        EXPECT_TRUE(bmp == expected) << "with header: " << withHeader;
        const QImage png = decodePng(picture(chartPicture, PictureFormat::Png));
        EXPECT_TRUE(png == bmp) << "with header: " << withHeader;
        // Both state the screen's 96 pixels an inch, so that readers size them alike.
        EXPECT_EQ(bmp.dotsPerMeterX(), 3780);
        EXPECT_EQ(bmp.dotsPerMeterY(), 3780);
        EXPECT_EQ(png.dotsPerMeterX(), bmp.dotsPerMeterX());
        EXPECT_EQ(png.dotsPerMeterY(), bmp.dotsPerMeterY());
        // The top row is the grid line above the first signal, left empty; the last
        // column's falling arrow ends inside the picture.
        EXPECT_EQ(bmp.pixel(bmp.width() - 1, 0), qRgb(255, 255, 255));
        const int arrowRight = 80 + 16 * (cols - 1) + 4;
        EXPECT_LT(arrowRight, bmp.width());
        EXPECT_NE(bmp.pixel(arrowRight, withHeader ? 26 + 15 : 1 + 15), qRgb(255, 255, 255)) << "arrow base";
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, ChartExport, testing::Values(30, 100));

// Bitmaps and PNG files are drawn a band of rows at a time: whatever the band's height,
// the same bytes as the picture drawn whole, where band edges cut through names,
// labels, column numbers, arrows, hatching and timing lines; in colour too, where the
// PNG takes its palette from a first pass over the bands.
TEST(RasterBands, ABandedPictureIsThePictureDrawnWhole)
{
    struct Case {
        PictureFormat format;
        bool withHeader;
        uint32_t textColour;
    };
    const Case cases[] = {
        {PictureFormat::Bmp, false, 0x000000}, {PictureFormat::Bmp, true, 0x2050C0},
        {PictureFormat::Png, false, 0x000000}, {PictureFormat::Png, true, 0x2050C0},
    };
    auto chart = sampleChart(30, 6);
    for (int r = 1; r < 6; ++r) {
        for (int c = 1; c < 30; ++c) {
            chart->cellFlags[c][r] = uint8_t((c + r) % 3 == 0 ? kFlagShowNumber : 0) |
                                     uint8_t(c % 4 == 1 ? kFlagRisingArrow : kFlagFallingArrow);
            chart->delay[c][r] = (c * r) % 7 - 3;
        }
    }
    GridLayout layout = layoutOf(30, 6);
    applyRowHeight(layout, 31);
    layout.gridFont.pixelSize = 22;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "png " << (c.format == PictureFormat::Png) << " header " << c.withHeader);
        layout.gridFont.color = c.textColour;
        const ChartPicture chartPicture{*chart, layout, grid_defaults::headerFont(), c.withHeader};
        const LaidOutPicture laidOut = layOutPicture(chartPicture, c.format);
        StringSink whole;
        if (c.format == PictureFormat::Bmp)
            writeBmp(whole, bitmapPicture(laidOut));
        else
            writePng(whole, bitmapPicture(laidOut));
        ASSERT_GT(laidOut.size.height, 100);
        EXPECT_EQ(picture(chartPicture, c.format), whole.bytes()) << "the bands a file is written in";
        for (const int rows : {1, 2, 5, 9, 16, int(laidOut.size.height) - 1}) {
            StringSink banded;
            writeRasterPicture(banded, laidOut, rows);
            EXPECT_EQ(banded.bytes(), whole.bytes()) << rows << " rows a band";
        }
    }
}

// Charts have few colours; other pictures must come back exactly too.
TEST(PngWriter, DecodesToThePixelsItWasGivenAtEveryDepth)
{
    struct Case {
        int colours;
        char depth, colourType;
    };
    const Case cases[] = {{1, 1, 3}, {2, 1, 3}, {3, 2, 3}, {16, 4, 3}, {17, 8, 3}, {256, 8, 3}, {257, 8, 2}};
    std::mt19937 random(7);
    for (const Case& c : cases) {
        QImage image(37, 11, QImage::Format_RGB32);  // rows that end inside a byte
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, 0xFF000000u | (uint32_t(random() % c.colours) * 0x10101u));
        for (int i = 0; i < c.colours; ++i)  // every colour at least once
            image.setPixel(i % 37, i / 37, 0xFF000000u | uint32_t(i) * 0x10101u);
        StringSink sink;
        writePng(sink, image);
        const std::string& bytes = sink.bytes();
        EXPECT_EQ(bytes[24], c.depth) << c.colours << " colours";
        EXPECT_EQ(bytes[25], c.colourType) << c.colours << " colours";
        EXPECT_TRUE(decodePng(bytes) == image) << c.colours << " colours";
    }
    // Grey pictures, as charts are, go out as grey.
    QImage grey(300, 7, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uint8_t(y == 3 ? x * 7 : x / 40 * 30);
    StringSink sink;
    writePng(sink, grey);
    EXPECT_EQ(sink.bytes()[25], 0) << "colour type grey";
    EXPECT_TRUE(decodePng(sink.bytes()) == grey.convertToFormat(QImage::Format_RGB32));
}

// Rows of every width around the blocks the writer takes white in, each with its one
// dark pixel somewhere else, and rows all white and all dark, in grey and in colour.
TEST(BmpWriter, DecodesToThePixelsItWasGiven)
{
    for (const QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_RGB32}) {
        for (const int width : {1, 2, 4, 5, 7, 8, 9, 12, 16, 17, 25, 33}) {
            QImage image(width, width + 2, format);
            image.fill(Qt::white);
            for (int y = 0; y < width; ++y)
                image.setPixelColor(y, y, format == QImage::Format_RGB32 ? QColor(0x20, 0x50, 0xC0) : QColor(80, 80, 80));
            for (int x = 0; x < width; ++x)
                image.setPixelColor(x, width + 1, Qt::black);
            StringSink sink;
            writeBmp(sink, image);
            EXPECT_TRUE(decodeBmp(sink.bytes()) == image.convertToFormat(QImage::Format_RGB32))
                << width << " pixels wide, format " << format;
        }
    }
}

// The run deflater's stream as zlib (through Qt) reads it: runs of every length
// around deflate's limits, rows that repeat the one above, pixels of three bytes, and
// rows too long for a copy from the row above.
TEST(RunDeflater, ZlibReadsBackEveryRow)
{
    struct Case {
        size_t pixelBytes, rowBytes;
    };
    // Row lengths give copies from the row above over many distance codes.
    for (const Case c : {Case{1, 5}, Case{1, 7}, Case{1, 13}, Case{1, 40}, Case{1, 129}, Case{1, 700},
                         Case{3, 901}, Case{1, 32768}, Case{1, 32769}}) {
        std::mt19937 random(c.rowBytes);
        std::string rows;
        std::vector<uint8_t> row(c.rowBytes);
        for (int r = 0; r < 12; ++r) {
            if (r % 4 != 3) {  // every fourth row repeats the one above
                for (size_t i = 0; i < row.size();) {
                    const size_t run = r % 2 ? 1 + random() % 300 : 255 + random() % 8;
                    const auto value = uint8_t(random());
                    for (size_t k = 0; k < run * c.pixelBytes && i < row.size(); ++k, ++i)
                        row[i] = c.pixelBytes == 1 ? value : uint8_t(value + k % c.pixelBytes);
                }
            }
            rows.append(reinterpret_cast<const char*>(row.data()), row.size());
        }
        std::string stream;
        RunDeflater deflater(c.pixelBytes, c.rowBytes, [&](std::string_view bytes) { stream += bytes; }, 1000);
        for (size_t r = 0; r < 12; ++r)
            deflater.addRow(reinterpret_cast<const uint8_t*>(rows.data()) + r * c.rowBytes);
        deflater.finish();
        QByteArray framed(4, '\0');
        framed[0] = char(rows.size() >> 24);
        framed[1] = char(rows.size() >> 16);
        framed[2] = char(rows.size() >> 8);
        framed[3] = char(rows.size());
        EXPECT_EQ(qUncompress(framed + QByteArray::fromStdString(stream)).toStdString(), rows)
            << c.pixelBytes << " x " << c.rowBytes;
        if (c.rowBytes >= 700) {
            EXPECT_LT(stream.size(), rows.size() / 3) << "runs and repeated rows compress";
        }
    }
}

TEST(ChartExport, MetafileKeepsTheHeaderBandFillsNothingAndShortensEdges)
{
    const auto chart = sampleChart(30, 5);
    const ChartPicture chartPicture{*chart, layoutOf(30, 5), grid_defaults::headerFont(), false};
    const std::string bytes = picture(chartPicture, PictureFormat::Emf);
    const std::vector<EmfRecordView> records = parseEmf(bytes);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].rect(8), (CanvasRect{0, 0, 564, 174})) << "rclBounds";
    EXPECT_EQ(records[0].rect(24), (CanvasRect{0, 0, 14948, 4629})) << "rclFrame in 0.01 mm";

    const EmfPlayback play(records);
    // Nothing but the renderer's lines, arrows and texts: no polygon covers the picture.
    for (const auto& polygon : play.polygons)
        EXPECT_LE(polygon.size(), 3u);
    // Row 1 spans 26..50: every edge runs from the high line (31) to the low line
    // (46) and stops there, one pixel shorter than on screen.
    int edges = 0;
    for (const auto& s : play.segments) {
        if (s.from.x == s.to.x && s.from.y == 31 && s.from.x != 81 + 16) {  // not the timing line
            EXPECT_EQ(s.to.y, 46) << "edge at x " << s.from.x;
            ++edges;
        }
    }
    EXPECT_GT(edges, 3);
    ASSERT_FALSE(play.texts.empty());
    EXPECT_EQ(play.texts[0].units, u"信号B") << "names in UTF-16, the first signal's first";
    EXPECT_GT(play.texts[0].at.y, 26) << "in row 1, below the header band kept";
    EXPECT_LT(play.texts[0].at.y, 40);
}

// Levels, edges moved both ways by delays and a timing line: lines along the pixel
// grid only, which a vector reader covers exactly. And a name, as text.
std::unique_ptr<TCell> gridAlignedChart()
{
    auto chart = std::make_unique<TCell>();
    chart->signalName[1] = "CLOCK";
    for (int c = 1; c < 30; ++c) {
        chart->level[c][1] = c % 2;
        chart->level[c][2] = c / 3 % 2;
        chart->delay[c][2] = c % 6 == 0 ? 4 : c % 6 == 3 ? -3 : 0;
        chart->level[c][4] = c % 5 == 0;
    }
    chart->timingLine[4] = 1;
    return chart;
}

// Runs a poppler tool on `pdf`, saved as picture.pdf in `dir`: `arguments` with "%pdf"
// standing for that file. Its standard output, or nothing when it failed.
std::optional<QByteArray> poppler(const QString& tool, QStringList arguments, const std::string& pdf,
                                  const QTemporaryDir& dir)
{
    QFile file(dir.filePath(u"picture.pdf"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf.data(), qint64(pdf.size())) != qint64(pdf.size()))
        return std::nullopt;
    file.close();
    arguments.replaceInStrings(u"%pdf"_s, file.fileName());
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// Poppler's raster of a PDF's first page at `dpi`, in grey.
QImage pdfPageImage(const std::string& pdf, int dpi)
{
    QTemporaryDir dir;
    if (!poppler(u"pdftoppm"_s, {u"-r"_s, QString::number(dpi), u"-gray"_s, u"-png"_s, u"-singlefile"_s, u"%pdf"_s,
                                 dir.filePath(u"page"_s)},
                 pdf, dir))
        return {};
    return QImage(dir.filePath(u"page.png"_s));
}

// Dark pixels black, the rest white: what a line covers, whatever its antialiasing.
QImage inked(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < out.height(); ++y)
        for (uchar* p = out.scanLine(y); p != out.scanLine(y) + out.width(); ++p)
            *p = *p < 128 ? 0 : 255;
    return out;
}

class VectorPicture : public testing::TestWithParam<PictureFormat> {};

// SVG and PDF are the metafile's picture: its size, stated exactly, and its drawing,
// edges one pixel shorter at the bottom than the bitmap's included.
TEST_P(VectorPicture, IsTheMetafilesDrawingAtItsExactSize)
{
    const PictureFormat format = GetParam();
    const auto chart = gridAlignedChart();
    const ChartPicture chartPicture{*chart, layoutOf(30, 5), grid_defaults::headerFont(), false};
    const std::string bytes = picture(chartPicture, format);

    QImage raster;
    if (format == PictureFormat::Svg) {
        EXPECT_NE(bytes.find("<svg width=\"565px\" height=\"175px\""), std::string::npos) << bytes.substr(0, 200);
        EXPECT_NE(bytes.find("viewBox=\"0 0 565 175\""), std::string::npos);
        EXPECT_NE(bytes.find(">CLOCK</text>"), std::string::npos) << "the name as text";
        QSvgRenderer renderer(QByteArray::fromStdString(bytes));
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.defaultSize(), QSize(565, 175));
        raster = QImage(565, 175, QImage::Format_RGB32);
        raster.fill(Qt::white);
        QPainter painter(&raster);
        renderer.render(&painter);
    } else {
        // 565 x 175 pixels at 3/4 point each, not rounded.
        EXPECT_NE(bytes.find("/MediaBox [0 0 423.75 131.25"), std::string::npos);
        EXPECT_NE(bytes.find("/Type /Font"), std::string::npos) << "real text";
        raster = pdfPageImage(bytes, 96);
        ASSERT_FALSE(raster.isNull()) << "pdftoppm did not draw the page";
    }
    ASSERT_EQ(raster.size(), QSize(565, 175));
    const QImage metafile = inked(chartImage(chartPicture, raster.size(), EdgeStyle::ShortBottom));
    const QImage bitmap = inked(chartImage(chartPicture, raster.size(), EdgeStyle::Full));
    const QImage drawn = inked(raster);
    // Right of the names, pixel for pixel.
    const QRect lines(81, 0, 565 - 81, 175);
    EXPECT_TRUE(drawn.copy(lines) == metafile.copy(lines));
    EXPECT_FALSE(drawn.copy(lines) == bitmap.copy(lines)) << "the bitmap's longer edges";
}

INSTANTIATE_TEST_SUITE_P(Formats, VectorPicture, testing::Values(PictureFormat::Svg, PictureFormat::Pdf));

// The SVG is well-formed whatever a name holds (the markup's own characters, control
// characters), and a name cut at its box is clipped there, as the bitmap cuts it; one
// that fits is not.
TEST(SvgPicture, EscapesNamesAndClipsTheCutOnes)
{
    auto chart = std::make_unique<TCell>();
    chart->signalName[1] = "A&B<C>\"D\x01'";
    chart->signalName[2] = std::string(40, 'W');
    const ChartPicture chartPicture{*chart, layoutOf(5, 3), grid_defaults::headerFont(), false};
    const std::string bytes = picture(chartPicture, PictureFormat::Svg);
    QXmlStreamReader svg(QByteArray::fromStdString(bytes));
    QStringList texts;
    QStringList clips;      // each text's clip-path, empty for none
    QStringList clipRects;  // "id x y width height"
    QString clipId;
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = svg.attributes();
        if (svg.name() == u"clipPath")
            clipId = a.value(u"id"_s).toString();
        else if (svg.name() == u"rect")
            clipRects << QStringList{clipId, a.value(u"x"_s).toString(), a.value(u"y"_s).toString(),
                                     a.value(u"width"_s).toString(), a.value(u"height"_s).toString()}
                                 .join(u' ');
        else if (svg.name() == u"text") {
            clips << a.value(u"clip-path"_s).toString();
            texts << svg.readElementText();
        }
    }
    ASSERT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(texts, (QStringList{u"A&B<C>\"D'"_s, QString(40, u'W')}));
    // Row 2's name box: the name column (80 wide) inside its grid lines, row 2 from 52.
    EXPECT_EQ(clips, (QStringList{QString(), u"url(#c1)"_s}));
    EXPECT_EQ(clipRects, QStringList{u"c1 1 53 78 23"_s});
}

// A page beyond 14,400 points, which common readers refuse, is shrunk whole: the
// longer side at the limit, the drawing in proportion.
TEST(ChartExport, PdfBeyondTheLargestPageIsShrunkWhole)
{
    GridLayout layout = layoutOf(4, 3);
    layout.colWidths = {80, 10000, 10000, 10000};
    auto chart = std::make_unique<TCell>();
    for (int c = 1; c < 4; ++c)
        chart->level[c][1] = 1;  // one high line from the first step to the last
    const ChartPicture chartPicture{*chart, layout, grid_defaults::headerFont(), false};
    const PictureSize size = vectorSize(layout);
    ASSERT_EQ(size, (PictureSize{30130, 125}));
    const std::string bytes = picture(chartPicture, PictureFormat::Pdf);
    const double scale = 14400 / (30130 * 0.75);
    EXPECT_NE(bytes.find("/MediaBox [0 0 14400 " + QByteArray::number(125 * 0.75 * scale, 'f', 4).toStdString()),
              std::string::npos);

    const QImage page = inked(pdfPageImage(bytes, 10));
    ASSERT_EQ(page.width(), 2000) << "14,400 points at 10 per 72";
    // The high line of signal 1 where the scale puts it.
    const ChartLayout cells(layout);
    const CellRect first = cells.cellRect(1, 1);
    const CellRect last = cells.cellRect(3, 1);
    const double pixel = scale * 0.75 * 10 / 72;
    const int y = int((first.top + levelMargin(25)) * pixel);
    int left = page.width(), right = -1;
    for (int x = 0; x < page.width(); ++x) {
        if (page.pixel(x, y) == qRgb(0, 0, 0) || page.pixel(x, y + 1) == qRgb(0, 0, 0)) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    EXPECT_NEAR(left, first.left * pixel, 1.5);
    EXPECT_NEAR(right, last.right * pixel, 1.5);
}

// The text a reader copies out of a PDF, as poppler extracts it.
QString pdfText(const std::string& pdf)
{
    QTemporaryDir dir;
    return QString::fromUtf8(
        poppler(u"pdftotext"_s, {u"-raw"_s, u"-enc"_s, u"UTF-8"_s, u"%pdf"_s, u"-"_s}, pdf, dir).value_or(QByteArray()));
}

// The box that holds every dark pixel of `image` inside `area`.
QRect inkBox(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) == 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The PDF sets names in fonts of its own, made from the outlines of the faces they were
// measured with: each stands where the bitmap puts it, made bold, slanted or
// underlined as the grid font asks, and copies out as the characters it was made from,
// beyond 256 different glyphs too.
TEST(PdfPicture, NamesStandWhereTheBitmapPutsThemAndCopyOut)
{
    std::u16string many;  // 300 different kanji from 亜 on, in the name column
    for (char16_t c = u'亜'; many.size() < 300; ++c)
        if (utf16ToCp932(std::u16string(1, c)))
            many += c;
    const std::u16string names[] = {u"CLOCK", u"データ_バス", u"W g|", many};
    auto chart = std::make_unique<TCell>();
    for (int r = 1; r <= 4; ++r)
        chart->signalName[r] = utf16ToCp932(names[r - 1]).value();
    GridLayout layout = layoutOf(3, 5);
    layout.colWidths[0] = 4200;
    struct Style {
        bool bold, italic, underline;
    };
    for (const Style style : {Style{false, false, false}, Style{true, true, true}}) {
        SCOPED_TRACE(style.bold ? "bold, italic, underlined" : "plain");
        layout.gridFont.bold = style.bold;
        layout.gridFont.italic = style.italic;
        layout.gridFont.underline = style.underline;
        const ChartPicture chartPicture{*chart, layout, grid_defaults::headerFont(), false};
        const std::string bytes = picture(chartPicture, PictureFormat::Pdf);
        EXPECT_EQ(bytes.find("/FontFile"), std::string::npos) << "no face embedded whole";
        EXPECT_EQ(bytes.find("d1\nf"), std::string::npos) << "the space fills no path";

        const QImage page = inked(pdfPageImage(bytes, 96));
        ASSERT_FALSE(page.isNull());
        const QImage bitmap = inked(chartImage(chartPicture, page.size(), EdgeStyle::ShortBottom));
        const ChartLayout cells(layout);
        for (int r = 1; r <= 4; ++r) {
            const CellRect cell = cells.cellRect(0, r);
            const QRect area(cell.left + 1, cell.top + 1, cell.right - cell.left - 2, cell.bottom - cell.top - 2);
            const QRect drawn = inkBox(page, area);
            const QRect expected = inkBox(bitmap, area);
            ASSERT_FALSE(expected.isEmpty());
            EXPECT_LE(std::abs(drawn.left() - expected.left()), 1) << "row " << r;
            EXPECT_LE(std::abs(drawn.right() - expected.right()), 1) << "row " << r;
            EXPECT_LE(std::abs(drawn.top() - expected.top()), 1) << "row " << r;
            EXPECT_LE(std::abs(drawn.bottom() - expected.bottom()), 1) << "row " << r;
        }
        const QString text = pdfText(bytes);
        for (const std::u16string& name : names)
            EXPECT_TRUE(text.contains(QString::fromStdU16String(name))) << text.left(400).toStdString();
    }
}

const PictureFormat kEveryFormat[] = {PictureFormat::Bmp, PictureFormat::Png, PictureFormat::Emf,
                                      PictureFormat::Svg, PictureFormat::Pdf};

// A picture's bytes, but for the PDF's time of making.
std::string timeless(std::string bytes)
{
    return std::regex_replace(bytes, std::regex("/CreationDate \\(D:[0-9Z]*\\)"), "");
}

// Edge delays of any 32-bit value draw, in every format, the very file that a delay
// just beyond the picture draws, no larger than the chart's without delays.
TEST(ChartExport, FarDelaysDrawAsADelayJustBeyondThePicture)
{
    const GridLayout layout = layoutOf(6, 4);
    const int edgeX = 81 + 2 * 16;  // column 3's left
    const int width = int(pictureWidth(layout));
    auto file = [&](int32_t delay, PictureFormat format) {
        auto chart = std::make_unique<TCell>();
        putDelayedChart(*chart, delay);
        return timeless(picture({*chart, layout, grid_defaults::headerFont(), false}, format));
    };
    for (const PictureFormat format : kEveryFormat) {
        const size_t undelayed = file(0, format).size();
        for (const int32_t delay : {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                                    -2000000000, 200000000}) {
            const std::string far = file(delay, format);
            EXPECT_EQ(far, file(justBeyond(delay, edgeX, width), format)) << int(format) << " " << delay;
            EXPECT_LE(far.size(), undelayed + 1024) << int(format) << " " << delay;
            // A label keeps to the moved edge: centred far away, it shows nowhere (the
            // vector files hold its font).
            auto labelled = std::make_unique<TCell>();
            putDelayedChart(*labelled, delay);
            labelled->cellFlags[3][1] = labelled->cellFlags[3][2] = kFlagShowNumber;
            const std::string label = picture({*labelled, layout, grid_defaults::headerFont(), false}, format);
            EXPECT_LE(label.size(), undelayed + 4096) << int(format) << " " << delay;
        }
    }
}

struct LongName {
    PictureFormat format;
    bool rightAligned;
    size_t length;
};

class LongNames : public testing::TestWithParam<LongName> {};

// A name far wider than its cell shows in every format as the 256 characters at its
// anchored end do (a text that short is laid out whole, as it always was), and the
// file holds that piece rather than the name.
TEST_P(LongNames, ShowAsThePieceThatFillsTheirCell)
{
    const LongName& name = GetParam();
    GridLayout layout = layoutOf(3, 2);
    layout.namesRightAligned = name.rightAligned;
    // Its far end differs from the rest, where it cannot show.
    std::string long_(name.length, 'W');
    long_[name.rightAligned ? 0 : name.length - 1] = 'i';
    auto file = [&](const std::string& text) {
        auto chart = std::make_unique<TCell>();
        chart->signalName[1] = text;
        return picture({*chart, layout, grid_defaults::headerFont(), false}, name.format);
    };
    const std::string piece = file(name.rightAligned ? long_.substr(name.length - 256) : long_.substr(0, 256));
    const std::string whole = file(long_);
    EXPECT_LE(whole.size(), piece.size() + 1024);
    switch (name.format) {
    case PictureFormat::Svg: {
        auto render = [](const std::string& svg) {
            QImage image(205, 100, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            QSvgRenderer(QByteArray::fromStdString(svg)).render(&painter);
            return image;
        };
        EXPECT_EQ(render(whole), render(piece));
        break;
    }
    case PictureFormat::Pdf:  // sized above
        break;
    default:  // pixels and metafile records
        EXPECT_EQ(whole, piece);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LongNames,
    testing::Values(LongName{PictureFormat::Png, false, 50000}, LongName{PictureFormat::Png, true, 1000000},
                    LongName{PictureFormat::Bmp, true, 50000}, LongName{PictureFormat::Emf, false, 1000000},
                    LongName{PictureFormat::Emf, true, 50000}, LongName{PictureFormat::Svg, false, 50000},
                    LongName{PictureFormat::Svg, true, 1000000}, LongName{PictureFormat::Pdf, false, 1000000},
                    LongName{PictureFormat::Pdf, true, 50000}));

}  // namespace
