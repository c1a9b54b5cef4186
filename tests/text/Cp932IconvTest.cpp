// The codec against glibc's iconv "CP932", the reference its table was generated from,
// one conversion at a time over the whole range; the first differences are named.
#include "Cp932Range.h"
#include "IconvCp932.h"

#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace solvena;

namespace {

std::string hexBytes(std::string_view bytes)
{
    std::string s;
    char buf[4];
    for (char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(b));
        s += buf;
    }
    return s;
}

std::string hexUnits(std::u16string_view text)
{
    std::string s;
    char buf[8];
    for (char16_t c : text) {
        std::snprintf(buf, sizeof buf, "U+%04X ", unsigned(c));
        s += buf;
    }
    return s;
}

constexpr int kReportedDifferences = 10;

TEST(Cp932Iconv, EveryByteSequenceDecodesAsIconvDoes)
{
    IconvCp932 iconv;
    int differences = 0;
    forEachCp932Sequence([&](std::string_view bytes) {
        const std::u16string expected = iconv.decode(bytes);
        const std::u16string got = cp932ToUtf16(bytes);
        if (got != expected && differences++ < kReportedDifferences)
            ADD_FAILURE() << hexBytes(bytes) << " decodes to " << hexUnits(got) << "instead of "
                          << hexUnits(expected);
    });
    EXPECT_EQ(differences, 0);
}

TEST(Cp932Iconv, EveryCodePointEncodesAsIconvDoes)
{
    IconvCp932 iconv;
    int differences = 0;
    forEachCodePoint([&](std::u16string_view text) {
        const auto expected = iconv.encode(text);
        const auto got = utf16ToCp932(text);
        if (got != expected && differences++ < kReportedDifferences)
            ADD_FAILURE() << hexUnits(text) << "encodes to " << (got ? hexBytes(*got) : "nothing")
                          << " instead of " << (expected ? hexBytes(*expected) : "nothing");
    });
    EXPECT_EQ(differences, 0);
}

}  // namespace
