#pragma once
// The whole range of CP932 conversions, walked the same way wherever the codec is tested:
// every input whose conversion the codec decides on its own, in a fixed order.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvena {

// Every byte alone, every two bytes, and every two bytes from 0x80 up followed by 0x40,
// so that each way a pair can fail is also seen resuming at its second byte.
template <class Visit>
void forEachCp932Sequence(Visit visit)
{
    for (unsigned a = 0; a < 0x100; ++a) {
        const char one[] = {char(a)};
        visit(std::string_view(one, 1));
    }
    for (unsigned a = 0; a < 0x100; ++a)
        for (unsigned b = 0; b < 0x100; ++b) {
            const char three[] = {char(a), char(b), '\x40'};
            visit(std::string_view(three, 2));
            if (a >= 0x80) visit(std::string_view(three, 3));
        }
}

// Every Unicode code point, in UTF-16, lone surrogates included.
template <class Visit>
void forEachCodePoint(Visit visit)
{
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c < 0x10000) {
            const char16_t unit = char16_t(c);
            visit(std::u16string_view(&unit, 1));
        } else {
            const char16_t pair[] = {char16_t(0xD800 + ((c - 0x10000) >> 10)),
                                     char16_t(0xDC00 + ((c - 0x10000) & 0x3FF))};
            visit(std::u16string_view(pair, 2));
        }
    }
}

// FNV-1a over what the conversions give, to compare a whole range in one number.
class ConversionDigest {
public:
    void add(std::u16string_view text)
    {
        addUnit(0x10000 + text.size());
        for (char16_t c : text) addUnit(c);
    }
    void add(const std::optional<std::string>& bytes)
    {
        if (!bytes) {
            addUnit(0xFFFFFF);
            return;
        }
        addUnit(0x20000 + bytes->size());
        for (char b : *bytes) addUnit(static_cast<unsigned char>(b));
    }
    std::uint64_t value() const { return hash_; }

private:
    void addUnit(std::uint64_t unit)
    {
        for (int i = 0; i < 3; ++i) {
            hash_ ^= (unit >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace solvena
