#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <string>

using namespace solvena;

namespace {

struct RoundTrip {
    std::u16string text;
    std::string bytes;
};

class Cp932RoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(Cp932RoundTrip, EncodesAndDecodesTheSameText)
{
    const auto& [text, bytes] = GetParam();
    const auto encoded = utf16ToCp932(text);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(*encoded, bytes);
    EXPECT_EQ(cp932ToUtf16(bytes), text);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Cp932RoundTrip,
    testing::Values(RoundTrip{u"CLK", "CLK"},
                    RoundTrip{u"", ""},
                    RoundTrip{u"データ 1", "\x83\x66\x81\x5b\x83\x5e 1"},
                    RoundTrip{u"①", "\x87\x40"},
                    RoundTrip{u"～", "\x81\x60"},     // U+FF5E
                    RoundTrip{u"－", "\x81\x7c"},     // U+FF0D
                    RoundTrip{u"髙", "\xfb\xfc"},
                    RoundTrip{u"ｱｲｳ", "\xb1\xb2\xb3"},
                    // Control bytes pass through unswapped.
                    RoundTrip{u"\x1a\x1c\x7f", "\x1a\x1c\x7f"}));

TEST(Cp932, WaveDashAndMinusEncodeToTheirFullWidthCodes)
{
    EXPECT_EQ(utf16ToCp932(u"〜"), std::string("\x81\x60"));  // U+301C
    EXPECT_EQ(utf16ToCp932(u"−"), std::string("\x81\x7c"));   // U+2212
}

TEST(Cp932, RejectsCharactersWithoutACode)
{
    EXPECT_FALSE(utf16ToCp932(u"A\U0001F600B").has_value());
    EXPECT_FALSE(isCp932Encodable(u"\U0001F600"));
    EXPECT_FALSE(isCp932Encodable(u"한"));
    EXPECT_FALSE(isCp932Encodable(u"\U000E0041"));  // a tag character, which glibc drops silently
    EXPECT_TRUE(isCp932Encodable(u"信号"));
}

TEST(Cp932, BrokenBytesDecodeAsReplacementCharacters)
{
    EXPECT_EQ(cp932ToUtf16("A\x81"), u"A\uFFFD");        // truncated lead byte
    EXPECT_EQ(cp932ToUtf16("\xa0Z"), u"\uFFFDZ");        // unassigned single byte
}

}  // namespace
