#include "pictures/RunDeflater.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace solvena {

namespace {

constexpr size_t kMaxDistance = 32768;
constexpr size_t kMaxLength = 258;

// `code` of `length` bits with its bits reversed: Huffman codes go out from their
// most significant bit, everything else from the least.
constexpr uint32_t reversed(uint32_t code, int length)
{
    uint32_t result = 0;
    for (int i = 0; i < length; ++i)
        result |= ((code >> i) & 1u) << (length - 1 - i);
    return result;
}

struct Code {
    uint32_t bits = 0;
    int length = 0;
};

// The fixed literal/length code (RFC 1951, 3.2.6).
constexpr Code fixedSymbol(int symbol)
{
    if (symbol < 144) return {reversed(0x30 + uint32_t(symbol), 8), 8};
    if (symbol < 256) return {reversed(0x190 + uint32_t(symbol - 144), 9), 9};
    if (symbol < 280) return {reversed(uint32_t(symbol - 256), 7), 7};
    return {reversed(0xC0 + uint32_t(symbol - 280), 8), 8};
}

constexpr std::array<Code, 288> kSymbols = [] {
    std::array<Code, 288> codes{};
    for (int s = 0; s < 288; ++s)
        codes[size_t(s)] = fixedSymbol(s);
    return codes;
}();

// Length 3..258: its symbol's code followed by the extra bits, as one bit string.
constexpr std::array<Code, kMaxLength + 1> kLengths = [] {
    constexpr int base[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                            35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    constexpr int extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                             3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    std::array<Code, kMaxLength + 1> codes{};
    for (int i = 0; i < 29; ++i) {
        const int top = i + 1 < 29 ? base[i + 1] - 1 : 258;
        for (int length = base[i]; length <= top && length <= 258; ++length) {
            const Code symbol = fixedSymbol(257 + i);
            codes[size_t(length)] = {symbol.bits | uint32_t(length - base[i]) << symbol.length,
                                     symbol.length + extra[i]};
        }
    }
    return codes;
}();

// A distance 1..32768: its 5-bit code followed by the extra bits.
Code distanceCode(size_t distance)
{
    const auto d = uint32_t(distance - 1);
    if (d < 4)
        return {reversed(d, 5), 5};
    const int n = 31 - __builtin_clz(d);  // d lies in [2^n, 2^(n+1))
    const uint32_t code = uint32_t(2 * n) + ((d >> (n - 1)) & 1u);
    return {reversed(code, 5) | (d & ((1u << (n - 1)) - 1)) << 5, 5 + n - 1};
}

// How many bytes from `at` on equal those from `other` on, up to `end`.
size_t sameBytes(const uint8_t* at, const uint8_t* end, const uint8_t* other)
{
    const uint8_t* p = at;
#if defined(__SSE2__) || defined(_M_X64)
    // Rows of a chart mostly repeat: 16 bytes a comparison.
    while (end - p >= 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(other + (p - at)));
        const auto equal = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)));
        if (equal != 0xFFFFu)
            return size_t(p - at) + size_t(__builtin_ctz(~equal));
        p += 16;
    }
#endif
    while (end - p >= 8) {
        uint64_t a, b;
        std::memcpy(&a, p, 8);
        std::memcpy(&b, other + (p - at), 8);
        if (a != b)
            return size_t(p - at) + size_t(__builtin_ctzll(a ^ b) / 8);
        p += 8;
    }
    while (p < end && *p == other[p - at])
        ++p;
    return size_t(p - at);
}

}  // namespace

RunDeflater::RunDeflater(size_t pixelBytes, size_t rowBytes, std::function<void(std::string_view)> out,
                         size_t chunkBytes)
    : pixelBytes_(pixelBytes), rowBytes_(rowBytes), out_(std::move(out)), chunkBytes_(chunkBytes),
      previous_(rowBytes)
{
    bytes_.reserve(chunkBytes_ + 64);
    bytes_ += "\x78\x01";  // deflate with a 32 KiB window, the fastest kind
    put(1, 1);             // one block, the last: it holds everything
    put(1, 2);             // fixed codes
}

void RunDeflater::addRow(const uint8_t* row)
{
    sumAdler(row);

    // At each byte the longer of two copies: of the pixel before (runs along the row)
    // and of the row above (what repeats from row to row), else a literal.
    const bool up = hasPrevious_ && rowBytes_ <= kMaxDistance;
    const uint8_t* end = row + rowBytes_;
    for (const uint8_t* p = row; p < end;) {
        const size_t offset = size_t(p - row);
        const size_t above = up ? sameBytes(p, end, previous_.data() + offset) : 0;
        // A copy of the row above to its end leaves no longer one to look for.
        const size_t along = offset >= pixelBytes_ && above < size_t(end - p) ? sameBytes(p, end, p - pixelBytes_) : 0;
        if (std::max(along, above) >= 3) {
            const size_t length = std::max(along, above);
            copy(above >= along ? rowBytes_ : pixelBytes_, length);
            p += length;
        } else {
            literal(*p++);
        }
    }
    std::memcpy(previous_.data(), row, rowBytes_);
    hasPrevious_ = true;
    flushBytes();
}

void RunDeflater::sumAdler(const uint8_t* data)
{
    // In stretches short enough not to overflow, 16 bytes at a time: B gains 16 times
    // A and the bytes weighted by how many sums each is still in, A the bytes; the
    // same values the sums byte by byte reach there.
    uint32_t a = adlerA_;
    uint32_t b = adlerB_;
    for (size_t left = rowBytes_; left > 0;) {
        size_t stretch = std::min<size_t>(left, 5552 / 16 * 16);
        left -= stretch;
        for (; stretch >= 16; stretch -= 16, data += 16) {
            uint32_t sum = 0;
            uint32_t weighted = 0;
            for (uint32_t i = 0; i < 16; ++i) {
                sum += data[i];
                weighted += (16 - i) * data[i];
            }
            b += 16 * a + weighted;
            a += sum;
        }
        for (; stretch > 0; --stretch) {
            a += *data++;
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    adlerA_ = a;
    adlerB_ = b;
}

void RunDeflater::finish()
{
    const Code end = kSymbols[256];
    put(end.bits, end.length);
    for (; bitCount_ > 0; bitCount_ -= 8) {  // the last bits, the last byte filled with 0
        bytes_.push_back(char(bitBuffer_ & 0xFF));
        bitBuffer_ >>= 8;
    }
    const uint32_t adler = adlerB_ << 16 | adlerA_;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes_.push_back(char((adler >> shift) & 0xFF));
    out_(bytes_);
    bytes_.clear();
}

void RunDeflater::literal(uint8_t byte)
{
    const Code code = kSymbols[byte];
    put(code.bits, code.length);
}

void RunDeflater::copy(size_t distance, size_t length)
{
    const Code where = distanceCode(distance);
    while (length > 0) {
        size_t take = std::min(length, kMaxLength);
        if (length > take && length - take < 3)
            take = length - 3;  // the rest must be a copy of 3 or more too
        const Code how = kLengths[take];
        put(how.bits, how.length);
        put(where.bits, where.length);
        length -= take;
    }
}

void RunDeflater::put(uint32_t bits, int count)
{
    bitBuffer_ |= uint64_t(bits) << bitCount_;
    bitCount_ += count;
    if (bitCount_ >= 32) {
        const char four[] = {char(bitBuffer_), char(bitBuffer_ >> 8), char(bitBuffer_ >> 16),
                             char(bitBuffer_ >> 24)};
        bytes_.append(four, 4);
        bitBuffer_ >>= 32;
        bitCount_ -= 32;
    }
}

void RunDeflater::flushBytes()
{
    if (bytes_.size() >= chunkBytes_) {
        out_(bytes_);
        bytes_.clear();
    }
}

}  // namespace solvena
