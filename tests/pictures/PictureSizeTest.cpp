// The pictures' sizes from the layout value, the refusal of pictures too large, and
// the printout's scale.
#include "pictures/PictureSize.h"

#include <gtest/gtest.h>

#include <string>

using namespace solvena;

namespace {

TEST(PictureSize, FollowsTheCountsSizesAndMargins)
{
    struct Case {
        const char* what;
        GridLayout layout;
        PictureSize bitmap, drawn, vector;
    };
    GridLayout wide = gridLayoutWith(std::vector<int32_t>(100, 15), 100);  // n + 5 > 50, m > 25
    GridLayout tallHeader = gridLayoutWith({80, 15}, 3);
    tallHeader.rowHeights = {40, 10, 10};  // m < row 0's height: no room added
    const Case cases[] = {
        {"the grid as it starts", GridLayout(), {565, 125}, {565, 150}, {565, 175}},
        {"100 x 100", wide, {1500 + 105, 2500 + 75}, {1605, 2600}, {1605, 2600}},
        {"header taller than the rest", tallHeader, {95 + 50, 60}, {145, 100}, {145, 110}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bitmapSize(c.layout, false), c.bitmap) << c.what;
        EXPECT_EQ(bitmapDrawingSize(c.layout), c.drawn) << c.what;
        EXPECT_EQ(bitmapSize(c.layout, true), c.drawn) << c.what << ": the header keeps its band";
        EXPECT_EQ(vectorSize(c.layout), c.vector) << c.what;
    }
}

TEST(PictureSize, RefusesSidesBeyondTheLimitNamingTheSize)
{
    // 100 columns 10,000 wide: beyond 32 bits of pixels when multiplied out, and far
    // beyond the 16-bit coordinates of a metafile.
    const GridLayout huge = gridLayoutWith(std::vector<int32_t>(100, 10000), 5);
    EXPECT_EQ(vectorSize(huge).width, 1000105);
    try {
        checkPictureSize(vectorSize(huge));
        FAIL() << "not refused";
    } catch (const PictureSizeError& e) {
        EXPECT_EQ(e.reason(), Reason(ReasonKind::PictureTooLarge, {1000105, 175, 32767}));
    }
    EXPECT_NO_THROW(checkPictureSize({32767, 32767}));
    EXPECT_THROW(checkPictureSize({32768, 1}), PictureSizeError);
    EXPECT_THROW(checkPictureSize({1, 32768}), PictureSizeError);
    EXPECT_THROW(checkPictureSize({0, 10}), PictureSizeError);
}

TEST(PictureSize, PrintScaleKeepsScreenProportionsAndShrinksToFit)
{
    struct Case {
        PictureSize picture;
        double dpi, pageWidth, pageHeight, scale;
    };
    const Case cases[] = {
        {{565, 175}, 600, 4800, 6600, 6.25},       // fits at 600 / 96
        {{565, 175}, 96, 4800, 6600, 1.0},
        {{1605, 2600}, 600, 4800, 6600, 6600.0 / 2600},  // too tall: the height decides
        {{9605, 175}, 600, 4800, 6600, 4800.0 / 9605},   // too wide: the width decides
        {{9605, 9000}, 600, 4800, 6600, 4800.0 / 9605},  // both: the tighter one
    };
    for (const Case& c : cases) {
        const double scale = printScale(c.picture, c.dpi, c.pageWidth, c.pageHeight);
        EXPECT_DOUBLE_EQ(scale, c.scale) << c.picture.width << " x " << c.picture.height;
        EXPECT_LE(c.picture.width * scale, c.pageWidth + 1e-9);
        EXPECT_LE(c.picture.height * scale, c.pageHeight + 1e-9);
    }
}

// A PDF page is 3/4 point a pixel, to the quarter point; beyond 14,400 points on a
// side the whole page shrinks, the longer side to the limit, proportions kept.
TEST(PictureSize, PdfPageIsThePictureInPointsWithinTheLargestPage)
{
    struct Case {
        PictureSize picture;
        double width, height, scale;
    };
    const double wide = 14400.0 / (32767 * 0.75);
    const Case cases[] = {
        {{565, 175}, 423.75, 131.25, 1},
        {{1, 1}, 0.75, 0.75, 1},
        {{19200, 19200}, 14400, 14400, 1},  // exactly at the limit
        {{32767, 175}, 14400, 175 * 0.75 * wide, wide},
        {{175, 32767}, 175 * 0.75 * wide, 14400, wide},
        {{32767, 32767}, 14400, 14400, wide},
    };
    for (const Case& c : cases) {
        const PdfPage page = pdfPage(c.picture);
        EXPECT_DOUBLE_EQ(page.width, c.width) << c.picture.width << " x " << c.picture.height;
        EXPECT_DOUBLE_EQ(page.height, c.height) << c.picture.width << " x " << c.picture.height;
        EXPECT_DOUBLE_EQ(page.scale, c.scale) << c.picture.width << " x " << c.picture.height;
        EXPECT_NEAR(page.width / page.height, double(c.picture.width) / double(c.picture.height), 1e-12);
    }
}

}  // namespace
