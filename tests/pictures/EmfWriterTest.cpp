// The metafile writer: the header for the screen as reference, each record's bytes,
// the handle table, the refusals; and DrawText's placement arithmetic.
#include "pictures/EmfWriter.h"
#include "render/TextPlacement.h"

#include "EmfParser.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace solvena;

namespace {

struct HeaderCase {
    int32_t width, height, frameRight, frameBottom;  // frame: round(size * 2540 / 96) - 1
};

TEST(EmfWriter, HeaderDescribesThePictureOnThe96DpiScreen)
{
    const HeaderCase cases[] = {{565, 175, 14948, 4629}, {1, 1, 25, 25},
                                {6, 3, 158, 78} /* 158.75 up, 79.375 down */, {1000150, 2, 26462301, 52}};
    for (const HeaderCase& c : cases) {
        const std::string bytes = EmfWriter(c.width, c.height).finish();
        const auto records = parseEmf(bytes);
        ASSERT_EQ(records.size(), 2u);
        const EmfRecordView& h = records[0];
        EXPECT_EQ(h.rect(8), (CanvasRect{0, 0, c.width - 1, c.height - 1}));
        EXPECT_EQ(h.rect(24), (CanvasRect{0, 0, c.frameRight, c.frameBottom}));
        // A screen whose millimetres are exactly its pixels at 96 per inch, both ways.
        EXPECT_EQ(h.rect(72), (CanvasRect{1920, 1440, 508, 381})) << "device pixels and millimetres";
        EXPECT_EQ(h.u32(100), 508000u);
        EXPECT_EQ(h.u32(104), 381000u);
        EXPECT_EQ(h.u16(56), 1) << "nHandles: the metafile's own slot";
    }
    for (const auto& [w, h] : {std::pair{0, 10}, {10, -1}, {90'000'000, 10}})
        EXPECT_THROW(EmfWriter(w, h), std::invalid_argument) << w << " x " << h;
}

TEST(EmfWriter, LaysOutEachRecord)
{
    EmfWriter w(100, 100);
    w.setTextColor(0x123456);
    const uint32_t pen = w.createPen(0xAABBCC, 1);
    const uint32_t brush = w.createSolidBrush(0x010203);
    w.selectObject(EmfWriter::kNullBrush);
    w.moveTo(-3, 7);
    w.lineTo(40, 70000);
    const CanvasPoint tri[] = {{-5, 30}, {32767, -32768}, {2, 9}};
    w.polygon16(tri);
    w.intersectClipRect({1, 2, 30, 40});
    w.restoreDC();
    const std::u16string pair = u"A\U0001F600";  // three units
    w.extTextOut(4, -6, pair, std::vector<int32_t>{7, 13, 0});
    EXPECT_THROW(w.extTextOut(0, 0, pair, std::vector<int32_t>{1}), std::invalid_argument);
    w.createFont(emfFontOf(FontDesc{"", 9, 0, true, true, false, true}, std::u16string(30, u'a') + u"\U0001F600"));
    const std::string bytes = w.finish();
    const auto r = parseEmf(bytes);
    ASSERT_EQ(r.size(), 13u);

    EXPECT_EQ(r[1].u32(8), 0x563412u) << "COLORREF is 0x00BBGGRR";
    EXPECT_EQ(std::vector<uint32_t>({r[2].u32(8), r[2].u32(12), r[2].u32(16), r[2].u32(24)}),
              std::vector<uint32_t>({pen, 0 /* PS_SOLID */, 1, 0xCCBBAA}));
    EXPECT_EQ(std::vector<uint32_t>({r[3].u32(8), r[3].u32(12), r[3].u32(16)}),
              std::vector<uint32_t>({brush, 0 /* BS_SOLID */, 0x030201}));
    EXPECT_EQ(r[4].u32(8), EmfWriter::kNullBrush);
    EXPECT_EQ((CanvasRect{r[5].i32(8), r[5].i32(12), r[6].i32(8), r[6].i32(12)}), (CanvasRect{-3, 7, 40, 70000}));
    EXPECT_EQ(r[7].rect(8), (CanvasRect{-5, -32768, 32767, 30})) << "POLYGON16 bounds, inclusive";
    EXPECT_EQ(r[7].rect(24), (CanvasRect{3, int32_t(0x001EFFFB), int32_t(0x80007FFF), 0x00090002}));
    EXPECT_EQ(r[8].rect(8), (CanvasRect{1, 2, 30, 40}));
    EXPECT_EQ(r[9].i32(8), -1) << "RESTOREDC to the last saved state";
    EXPECT_EQ(r[10].rect(36).left, 4);
    EXPECT_EQ(r[10].text(), pair) << "nChars counts code units";
    EXPECT_EQ(r[10].dx(), (std::vector<int32_t>{7, 13, 0}));
    EXPECT_EQ(r[10].u32(72) % 4, 0u) << "advances aligned after the padded string";
    const EmfRecordView& font = r[11];
    EXPECT_EQ(font.bytes.size(), 104u);
    EXPECT_EQ(font.i32(12), -12);
    EXPECT_EQ(font.i32(28), 700);
    EXPECT_EQ(font.bytes.substr(32, 4), std::string("\1\0\1\1", 4)) << "italic, strike-out, DEFAULT_CHARSET";
    EXPECT_EQ(font.u16(40 + 2 * 29), u'a');
    EXPECT_EQ(font.u16(40 + 2 * 30), 0) << "half a surrogate pair is cut off the face";
}

TEST(EmfFont, HeightFromPixelsOrPointsAt96Dpi)
{
    const std::pair<FontDesc, int32_t> cases[] = {{{"", 10, 0}, -13}, {{"", 9, 0}, -12}, {{"", 11, 0}, -15},
                                                  {{"", 20, 13}, -13}, {{"", 0, 0}, 0}, {{"", -4, 0}, 0}};
    for (const auto& [desc, height] : cases)
        EXPECT_EQ(emfFontOf(desc, u"x").height, height) << desc.pointSize << "/" << desc.pixelSize;
}

TEST(EmfWriter, RefusesWhatItCannotWriteAndReusesHandles)
{
    EmfWriter w(10, 10);
    for (const CanvasPoint p : {CanvasPoint{32768, 0}, CanvasPoint{0, -32769}}) {
        const CanvasPoint tri[] = {{0, 0}, p, {1, 1}};
        EXPECT_THROW(w.polygon16(tri), std::out_of_range);
    }
    const CanvasPoint wide[] = {{40000, 5}, {40010, -70000}};
    w.polygon(wide);
    uint32_t old = w.createPen(0, 1);
    w.selectObject(old);
    for (uint32_t i = 0; i < 1000; ++i) {
        const uint32_t next = (i % 2) ? w.createPen(i, 1) : w.createSolidBrush(i);
        w.selectObject(next);
        w.deleteObject(old);
        old = next;
    }
    EXPECT_THROW(w.deleteObject(old + 1), std::invalid_argument);
    EXPECT_THROW(w.selectObject(0), std::invalid_argument);
    EXPECT_THROW(w.deleteObject(EmfWriter::kNullPen), std::invalid_argument);
    const std::string bytes = w.finish();
    const auto r = parseEmf(bytes);
    EXPECT_EQ(r[0].u16(56), 3) << "slot 0 and two objects at most";
    EXPECT_EQ(r[1].type, EmfRecord::Polygon);
    EXPECT_EQ(r[1].i32(28 + 12), -70000);
    EXPECT_THROW(w.finish(), std::logic_error);
    EXPECT_THROW(w.lineTo(1, 1), std::logic_error);
}

TEST(TextPlacement, FollowsDrawTextsIntegerArithmetic)
{
    using namespace TextFlag;
    struct Case {
        CanvasRect rect;
        unsigned flags;
        int32_t width, height;
        CanvasPoint at;
    };
    const Case cases[] = {
        {{10, 10, 110, 50}, SingleLine, 30, 13, {10, 10}},
        {{10, 10, 110, 50}, SingleLine | Right, 30, 13, {80, 10}},
        {{10, 10, 110, 50}, SingleLine | Center | VCenter, 31, 13, {44, 24}},
        {{10, 10, 110, 50}, Center | Right, 30, 13, {45, 10}},    // Center wins
        {{-11, -8, 0, 0}, Center | VCenter, 0, 13, {-5, -10}},    // truncation toward zero
        {{0, 5, 8, 0}, Right | VCenter, 20, 15, {-12, -4}},       // an upside-down box
    };
    for (const Case& c : cases)
        EXPECT_EQ(placeText(c.rect, c.flags, c.width, c.height), c.at) << c.rect.left << " " << c.flags;
}

}  // namespace
