// What the real Inkscape draws from the metafile the export writes, against the bitmap
// of the same chart: every line pixel of the bitmap inked, nothing filled that the
// bitmap leaves empty (ReaderRaster.h says how the two rasters are laid on each other).
#include "pictures/PictureFormats.h"
#include "text/Cp932.h"

#include "ReaderRaster.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

// The start grid as a user fills it: a clock with rising arrows, data with undefined
// stretches, labels and a delayed edge, a strobe with labels and falling arrows, an
// enable with both arrows over hatching; timing lines on columns 5 and 20.
std::unique_ptr<TCell> startChart(int cols, int rows)
{
    auto chart = std::make_unique<TCell>();
    chart->timingLine[5] = chart->timingLine[20] = 1;
    for (int r = 1; r < rows; ++r) {
        chart->signalName[r] = utf16ToCp932(u"信号" + std::u16string(1, char16_t(u'A' + r))).value();
        for (int c = 1; c < cols; ++c) {
            int32_t& level = chart->level[c][r];
            uint8_t& flags = chart->cellFlags[c][r];
            switch (r % 4) {
            case 1:
                level = c % 2;
                flags = kFlagRisingArrow;
                break;
            case 2:
                level = c % 6 < 2 ? kLevelUndefined : c / 3 % 2;
                chart->delay[c][r] = c % 6 == 3 ? 3 : 0;
                flags = kFlagShowNumber;
                break;
            case 3:
                level = c / 4 % 2;
                chart->delay[c][r] = c % 4 == 0 ? -2 : 0;
                flags = kFlagFallingArrow | kFlagShowNumber;
                break;
            default:
                level = c / 5 % 2 ? kLevelUndefined : c / 2 % 2;
                flags = kFlagRisingArrow | kFlagFallingArrow;
            }
        }
    }
    return chart;
}

// Every attribute at random (fixed seed), delays both ways.
std::unique_ptr<TCell> randomChart(int cols, int rows)
{
    auto chart = std::make_unique<TCell>();
    std::mt19937 random(12);
    for (int c = 1; c < cols; ++c)
        chart->timingLine[c] = random() % 10 == 0;
    for (int r = 1; r < rows; ++r) {
        chart->signalName[r] = "S" + std::to_string(r);
        for (int c = 1; c < cols; ++c) {
            chart->level[c][r] = int32_t(random() % 3);
            chart->delay[c][r] = random() % 5 == 0 ? int32_t(random() % 9) - 4 : 0;
            chart->cellFlags[c][r] = uint8_t(random() % 8);
        }
    }
    return chart;
}

struct ReaderCase {
    const char* name;
    std::unique_ptr<TCell> (*chart)(int, int);
    int cols, rows, rowHeight, colWidth;
    bool withHeader;
};

class InkscapeDrawsTheMetafile : public testing::TestWithParam<ReaderCase> {};

TEST_P(InkscapeDrawsTheMetafile, EveryLineOfTheBitmapAndNothingElse)
{
    const ReaderCase& c = GetParam();
    GridLayout layout;
    setColCount(layout, c.cols);
    setRowCount(layout, c.rows);
    for (size_t col = 1; col < layout.colWidths.size(); ++col)
        layout.colWidths[col] = c.colWidth;
    if (c.rowHeight)
        applyRowHeight(layout, c.rowHeight);
    const auto chart = c.chart(c.cols, c.rows);
    const ChartPicture picture{*chart, layout, grid_defaults::headerFont(), c.withHeader};

    StringSink emf;
    writePicture(emf, picture, PictureFormat::Emf);
    QString error;
    const QImage raster = reader_raster::inkscapeRaster(emf.bytes(), error);
    if (raster.isNull() && error.contains(u"not on PATH"_s))
        GTEST_SKIP() << "inkscape is not on PATH: the metafile was not checked by an independent reader";
    ASSERT_FALSE(raster.isNull()) << error.toStdString();
    const PictureSize size = vectorSize(layout);
    ASSERT_EQ(raster.size(), QSize(int(size.width), int(size.height)));

    const reader_raster::ExpectedLines expected = reader_raster::expectedLines(picture);
    QImage misses;
    const reader_raster::LineRecall seen = reader_raster::compareWithReader(expected, raster, 0, 2, &misses);
    EXPECT_GT(seen.linePixels, 1000);
    EXPECT_EQ(seen.recalled, seen.linePixels) << "line pixels Inkscape leaves out";
    EXPECT_EQ(seen.stray, 0) << "pixels Inkscape inks (fills) away from every line";
    if (seen.recalled != seen.linePixels || seen.stray != 0) {
        const QString file = QDir::temp().filePath(u"inkscape-%1-misses.png"_s.arg(QLatin1StringView(c.name)));
        misses.save(file);
        ADD_FAILURE() << "missed pixels in red, stray ones in blue: " << file.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Charts, InkscapeDrawsTheMetafile,
    testing::Values(ReaderCase{"start", startChart, 30, 5, 0, 15, false},
                    ReaderCase{"tall", startChart, 40, 9, 40, 24, true},
                    ReaderCase{"random", randomChart, 60, 16, 0, 15, false}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

}  // namespace
