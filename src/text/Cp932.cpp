#include "text/Cp932.h"

#include "text/Cp932Table.h"

#include <cstdint>
#include <vector>

namespace solvena {

// The codec works from its own table (generated from glibc's iconv) on every platform
// rather than from the system's converter: Windows' code page 932 encodes 〜 and − to
// nothing and decodes broken bytes to ・ or private-use characters, so the same chart
// would read and save differently depending on where it was opened.

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr std::uint16_t kNoCode = 0xFFFF;
constexpr unsigned char kFirstTrail = 0x40, kLastTrail = 0xFC;

constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr size_t rowOf(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }

constexpr bool rowsAreWhole()
{
    for (std::u16string_view row : kCp932PairRows)
        if (row.size() != kLastTrail - kFirstTrail + 1) return false;
    return kCp932PairRows.size() == rowOf(0xFC) + 1;
}
static_assert(rowsAreWhole(), "every lead byte has a row with a column for every trail byte");

// The character of a byte that stands alone, U+FFFD for a lead byte or a byte without one.
constexpr char16_t singleCharacter(unsigned char b)
{
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xDF) return char16_t(0xFF61 + (b - 0xA1));
    return kReplacement;
}

constexpr char16_t pairCharacter(unsigned char lead, unsigned char trail)
{
    if (trail < kFirstTrail || trail > kLastTrail) return kReplacement;
    return kCp932PairRows[rowOf(lead)][trail - kFirstTrail];
}

// Code of every UTF-16 unit: the first code that decodes to it unless the table says
// otherwise. Built once; 128 KiB.
std::vector<std::uint16_t> buildEncodings()
{
    std::vector<std::uint16_t> codes(0x10000, kNoCode);
    for (unsigned b = 0; b < 0x100; ++b)
        if (const char16_t c = singleCharacter(static_cast<unsigned char>(b)); c != kReplacement)
            codes[c] = std::uint16_t(b);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            const char16_t c = pairCharacter(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            if (c != kReplacement && codes[c] == kNoCode) codes[c] = std::uint16_t(lead << 8 | trail);
        }
    }
    for (const Cp932Encoding& e : kCp932EncodingOverrides)
        codes[e.character] = e.code;
    return codes;
}

const std::vector<std::uint16_t>& encodings()
{
    static const std::vector<std::uint16_t> codes = buildEncodings();
    return codes;
}

}  // namespace

std::u16string cp932ToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(b) && i + 1 < bytes.size()) {
            const char16_t c = pairCharacter(b, static_cast<unsigned char>(bytes[i + 1]));
            if (c != kReplacement) {
                out.push_back(c);
                i += 2;
                continue;
            }
        }
        // A lead byte without a trail that completes a character stands for itself alone,
        // and the byte after it starts over.
        out.push_back(singleCharacter(b));
        ++i;
    }
    return out;
}

std::optional<std::string> utf16ToCp932(std::u16string_view text)
{
    const std::vector<std::uint16_t>& codes = encodings();
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        const std::uint16_t code = codes[c];
        if (code == kNoCode) return std::nullopt;
        if (code > 0xFF) out.push_back(char(code >> 8));
        out.push_back(char(code & 0xFF));
    }
    return out;
}

bool isCp932Encodable(std::u16string_view text)
{
    return utf16ToCp932(text).has_value();
}

}  // namespace solvena
