// The metafile writer: header values for the screen as reference, the byte layout of
// each record, the handle table, and the refusals.
#include "render/EmfWriter.h"
#include "render/TextPlacement.h"

#include "EmfParser.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct HeaderCase {
    int32_t width, height;
    int32_t frameRight, frameBottom;  // round(size * 2540 / 96) - 1
};

class EmfHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(EmfHeader, DescribesThePictureOnThe96DpiScreen)
{
    const HeaderCase c = GetParam();
    EmfWriter writer(c.width, c.height);
    const std::string bytes = writer.finish();
    const auto records = parseEmf(bytes);
    ASSERT_EQ(records.size(), 2u);
    const EmfRecordView& h = records[0];
    EXPECT_EQ(h.rect(8), (CanvasRect{0, 0, c.width - 1, c.height - 1}));
    EXPECT_EQ(h.rect(24), (CanvasRect{0, 0, c.frameRight, c.frameBottom}));
    EXPECT_EQ(h.u32(44), 0x10000u);
    EXPECT_EQ(h.u16(56), 1) << "only the metafile's own slot";
    EXPECT_EQ(h.u32(60), 0u) << "no description";
    EXPECT_EQ(h.u32(72), 1920u);
    EXPECT_EQ(h.u32(76), 1080u);
    EXPECT_EQ(h.u32(80), 508u);
    EXPECT_EQ(h.u32(84), 286u);
    EXPECT_EQ(h.u32(100), 508000u);
    EXPECT_EQ(h.u32(104), 285750u);
    EXPECT_EQ(records[1].u32(8), 0u);
    EXPECT_EQ(records[1].u32(12), 16u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EmfHeader,
                         testing::Values(HeaderCase{565, 175, 14948, 4629},  // the start-up grid
                                         HeaderCase{1, 1, 25, 25},
                                         HeaderCase{6, 3, 158, 78},  // 158.75 up, 79.375 down
                                         HeaderCase{1000150, 2, 26462301, 52}));

TEST(EmfWriter, RefusesSizesItCannotDescribe)
{
    for (const auto& [w, h] : {std::pair{0, 10}, {10, -1}, {90'000'000, 10}})
        EXPECT_THROW(EmfWriter(w, h), std::invalid_argument) << w << " x " << h;
}

TEST(EmfWriter, LaysOutEveryRecord)
{
    EmfWriter w(100, 100);
    w.setBkMode(EmfWriter::kTransparent);
    w.setTextColor(0x123456);
    w.setTextAlign(EmfWriter::kTopLeft);
    const uint32_t pen = w.createPen(0xAABBCC, 1);
    const uint32_t brush = w.createSolidBrush(0x010203);
    w.selectObject(pen);
    w.selectObject(EmfWriter::kNullBrush);
    w.moveTo(-3, 7);
    w.lineTo(40, 70000);
    const CanvasPoint tri[] = {{-5, 30}, {32767, -32768}, {2, 9}};
    w.polygon16(tri);
    w.saveDC();
    w.intersectClipRect({1, 2, 30, 40});
    w.restoreDC();
    w.deleteObject(brush);
    const std::string bytes = w.finish();
    const auto r = parseEmf(bytes);
    ASSERT_EQ(r.size(), 16u);

    EXPECT_EQ(r[1].u32(8), 1u);
    EXPECT_EQ(r[2].type, EmfRecord::SetTextColor);
    EXPECT_EQ(r[2].u32(8), 0x563412u) << "COLORREF is 0x00BBGGRR";
    EXPECT_EQ(r[3].type, EmfRecord::SetTextAlign);
    EXPECT_EQ(r[4].bytes.size(), 28u);
    EXPECT_EQ(r[4].u32(8), pen);
    EXPECT_EQ(r[4].u32(12), 0u) << "PS_SOLID";
    EXPECT_EQ(r[4].i32(16), 1);
    EXPECT_EQ(r[4].u32(24), 0xCCBBAAu);
    EXPECT_EQ(r[5].bytes.size(), 24u);
    EXPECT_EQ(r[5].u32(8), brush);
    EXPECT_NE(brush, pen);
    EXPECT_EQ(r[5].u32(16), 0x030201u);
    EXPECT_EQ(r[7].u32(8), EmfWriter::kNullBrush);
    EXPECT_EQ(r[8].type, EmfRecord::MoveToEx);
    EXPECT_EQ(r[8].i32(8), -3);
    EXPECT_EQ(r[9].type, EmfRecord::LineTo);
    EXPECT_EQ(r[9].i32(12), 70000);
    EXPECT_EQ(r[10].type, EmfRecord::Polygon16);
    EXPECT_EQ(r[10].rect(8), (CanvasRect{-5, -32768, 32767, 30})) << "bounds, inclusive";
    EXPECT_EQ(r[10].u32(24), 3u);
    EXPECT_EQ(int16_t(r[10].u16(32)), 32767);
    EXPECT_EQ(int16_t(r[10].u16(34)), -32768);
    EXPECT_EQ(r[11].type, EmfRecord::SaveDC);
    EXPECT_EQ(r[12].rect(8), (CanvasRect{1, 2, 30, 40}));
    EXPECT_EQ(r[13].type, EmfRecord::RestoreDC);
    EXPECT_EQ(r[14].type, EmfRecord::DeleteObject);
}

TEST(EmfWriter, TextCarriesUtf16UnitsWithOneAdvanceEach)
{
    EmfWriter w(50, 50);
    const std::u16string odd = u"端子名";
    const std::u16string pair = u"A\U0001F600";  // four units: a letter and a pair
    w.extTextOut(4, -6, odd, std::vector<int32_t>{13, 13, 13});
    w.extTextOut(0, 0, pair, std::vector<int32_t>{7, 13, 0});
    EXPECT_THROW(w.extTextOut(0, 0, odd, std::vector<int32_t>{1, 2}), std::invalid_argument);
    const std::string bytes = w.finish();
    const auto r = parseEmf(bytes);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1].i32(36), 4);
    EXPECT_EQ(r[1].i32(40), -6);
    EXPECT_EQ(r[1].text(), odd);
    EXPECT_EQ(r[1].dx(), (std::vector<int32_t>{13, 13, 13}));
    EXPECT_EQ(r[1].u32(72) % 4, 0u) << "Dx aligned after the padded string";
    EXPECT_EQ(r[2].u32(44), 3u) << "nChars counts code units";
    EXPECT_EQ(r[2].text(), pair);
    EXPECT_EQ(r[2].dx(), (std::vector<int32_t>{7, 13, 0}));
}

struct FontCase {
    FontDesc desc;
    int32_t height;
};

TEST(EmfFont, HeightFromPixelsOrPointsAt96Dpi)
{
    const FontCase cases[] = {{{"", 10, 0}, -13}, {{"", 9, 0}, -12}, {{"", 11, 0}, -15},
                              {{"", 20, 13}, -13}, {{"", 0, 0}, 0}, {{"", -4, 0}, 0}};
    for (const FontCase& c : cases)
        EXPECT_EQ(emfFontOf(c.desc, u"x").height, c.height) << c.desc.pointSize << "/" << c.desc.pixelSize;
}

TEST(EmfFont, LogFontFieldsAndAFaceCutToWholeCharacters)
{
    EmfWriter w(10, 10);
    const FontDesc desc{"", 9, 0, true, true, false, true};
    const std::u16string longFace(40, u'ゴ');
    const std::u16string pairAtCut = std::u16string(30, u'a') + u"\U0001F600";
    w.createFont(emfFontOf(desc, longFace));
    w.createFont(emfFontOf(desc, pairAtCut));
    const std::string bytes = w.finish();
    const auto r = parseEmf(bytes);
    ASSERT_EQ(r.size(), 4u);
    auto face = [](const EmfRecordView& rec) {
        std::u16string s;
        for (size_t at = 40; rec.u16(at) != 0; at += 2)
            s.push_back(char16_t(rec.u16(at)));
        return s;
    };
    EXPECT_EQ(r[1].bytes.size(), 104u);
    EXPECT_EQ(r[1].i32(12), -12);
    EXPECT_EQ(r[1].i32(28), 700);
    EXPECT_EQ(r[1].bytes.substr(32, 4), std::string("\1\0\1\1", 4)) << "italic, strike-out, DEFAULT_CHARSET";
    EXPECT_EQ(face(r[1]), longFace.substr(0, 31));
    EXPECT_EQ(face(r[2]), pairAtCut.substr(0, 30)) << "half a surrogate pair dropped";
}

TEST(EmfWriter, RefusesPointsBeyond16BitsAndWritesNothing)
{
    EmfWriter w(10, 10);
    for (const CanvasPoint p : {CanvasPoint{32768, 0}, CanvasPoint{0, -32769}}) {
        const CanvasPoint tri[] = {{0, 0}, p, {1, 1}};
        EXPECT_THROW(w.polygon16(tri), std::out_of_range);
    }
    const CanvasPoint wide[] = {{40000, 5}, {40010, 9}, {40003, -70000}};
    w.polygon(wide);
    const std::string bytes = w.finish();
    const auto r = parseEmf(bytes);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1].type, EmfRecord::Polygon);
    EXPECT_EQ(r[1].i32(28 + 16), 40003);
    EXPECT_EQ(r[1].i32(28 + 20), -70000);
}

TEST(EmfWriter, ReusesHandlesAndChecksThem)
{
    EmfWriter w(10, 10);
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
    w.selectObject(EmfWriter::kNullPen);
    const std::string bytes = w.finish();
    EXPECT_EQ(parseEmf(bytes).front().u16(56), 3) << "slot 0 and two objects at most";
    EXPECT_THROW(w.finish(), std::logic_error);
    EXPECT_THROW(w.lineTo(1, 1), std::logic_error);
    EXPECT_THROW(w.createPen(0, 1), std::logic_error);
}

struct PlacementCase {
    CanvasRect rect;
    unsigned flags;
    int32_t width, height;
    CanvasPoint at;
};

TEST(TextPlacement, FollowsDrawTextsIntegerArithmetic)
{
    using namespace TextFlag;
    const PlacementCase cases[] = {
        {{10, 10, 110, 50}, SingleLine, 30, 13, {10, 10}},
        {{10, 10, 110, 50}, SingleLine | Right, 30, 13, {80, 10}},
        {{10, 10, 110, 50}, SingleLine | Center | VCenter, 31, 13, {44, 24}},
        {{10, 10, 110, 50}, SingleLine | Center | Right, 30, 13, {45, 10}},  // Center wins
        {{-11, -8, 0, 0}, Center | VCenter, 0, 13, {-5, -10}},  // truncation toward zero
        {{0, 5, 8, 0}, Right | VCenter, 20, 15, {-12, -4}},  // an upside-down box
    };
    for (const PlacementCase& c : cases)
        EXPECT_EQ(placeText(c.rect, c.flags, c.width, c.height), c.at)
            << c.rect.left << "," << c.rect.top << " flags " << c.flags;
}

}  // namespace
