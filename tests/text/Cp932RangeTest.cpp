// The codec over the whole CP932 range, on every platform it is built for. The digests
// are those of glibc's iconv "CP932" walked the same way (text_codec_iconv_tests checks
// the codec against iconv one conversion at a time), so a build whose codec differs from
// the Linux one in any byte or replacement character fails here.
#include "Cp932Range.h"

#include "text/Cp932.h"

#include <gtest/gtest.h>

using namespace solvena;

namespace {

constexpr std::uint64_t kDecodedDigest = 0x4AB13CD12C5A201B;
constexpr std::uint64_t kEncodedDigest = 0x4208E62C7FA3E8A4;

TEST(Cp932Range, EveryByteSequenceDecodesAsOnLinux)
{
    ConversionDigest digest;
    forEachCp932Sequence([&](std::string_view bytes) { digest.add(cp932ToUtf16(bytes)); });
    EXPECT_EQ(digest.value(), kDecodedDigest);
}

TEST(Cp932Range, EveryCodePointEncodesAsOnLinux)
{
    ConversionDigest digest;
    forEachCodePoint([&](std::u16string_view text) { digest.add(utf16ToCp932(text)); });
    EXPECT_EQ(digest.value(), kEncodedDigest);
}

}  // namespace
