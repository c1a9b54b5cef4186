// UTF-8 <-> UTF-16 at the edges: surrogate pairs, malformed input.
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <string>

using namespace solvena;

namespace {

TEST(Utf8, ToUtf16JoinsAndReplaces)
{
    EXPECT_EQ(utf8ToUtf16("a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"), u"aé日\U0001F600");
    // A stray continuation byte, a cut sequence, a value above U+10FFFF: one U+FFFD per byte.
    EXPECT_EQ(utf8ToUtf16("\x80x\xE6\x97"), u"\uFFFDx\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(Utf8, FromUtf16JoinsPairsAndReplacesLoneSurrogates)
{
    EXPECT_EQ(utf16ToUtf8(u"é\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00};
    EXPECT_EQ(utf16ToUtf8(std::u16string_view(lone, 4)), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(Utf8, DecodeTakesTheLargestCodePointAndStopsOnMalformed)
{
    size_t pos = 0;
    EXPECT_EQ(decodeUtf8("\xF4\x8F\xBF\xBF", pos), U'\U0010FFFF');
    EXPECT_EQ(pos, 4u);
    pos = 0;
    EXPECT_EQ(decodeUtf8("\xE0\x80\x80", pos), kInvalidCodePoint);  // overlong
    EXPECT_EQ(pos, 0u);
}

}  // namespace
