#pragma once
// CP932 as glibc's iconv converts it, with the project's rules for what it cannot
// convert: the reference that the codec's own table was generated from and is
// checked against. Linux only.

#include <cerrno>
#include <iconv.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace solvena {

class IconvCp932 {
public:
    IconvCp932()
        : decoder_(open("UTF-16LE", "CP932")), encoder_(open("CP932", "UTF-16LE"))
    {
    }
    ~IconvCp932()
    {
        iconv_close(decoder_);
        iconv_close(encoder_);
    }
    IconvCp932(const IconvCp932&) = delete;
    IconvCp932& operator=(const IconvCp932&) = delete;

    // Every byte that does not start a convertible sequence becomes one U+FFFD.
    std::u16string decode(std::string_view bytes)
    {
        std::string input(bytes);
        char* in = input.data();
        size_t inLeft = input.size();
        std::string raw;
        while (!convert(decoder_, in, inLeft, raw)) {
            raw.append("\xFD\xFF", 2);  // U+FFFD, little-endian
            ++in;
            --inLeft;
        }
        std::u16string out(raw.size() / 2, u'\0');
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = char16_t(static_cast<unsigned char>(raw[2 * i]) |
                              (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
        return out;
    }

    // nullopt when some character has no code. glibc drops the tag characters
    // (U+E0000-U+E007F) without a word; they have no code either.
    std::optional<std::string> encode(std::u16string_view text)
    {
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == 0xDB40 && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDC7F)
                return std::nullopt;
        std::string input;
        input.reserve(text.size() * 2);
        for (char16_t u : text) {
            input.push_back(char(u & 0xFF));
            input.push_back(char(u >> 8));
        }
        char* in = input.data();
        size_t inLeft = input.size();
        std::string out;
        if (!convert(encoder_, in, inLeft, out))
            return std::nullopt;
        return out;
    }

private:
    static iconv_t open(const char* to, const char* from)
    {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("CP932 conversion is not available on this system");
        return cd;
    }

    // Converts as much as possible; false on a sequence that cannot be converted, with
    // `in` left at it and the descriptor reset for the next call.
    static bool convert(iconv_t cd, char*& in, size_t& inLeft, std::string& out)
    {
        char buffer[256];
        while (inLeft > 0) {
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            size_t rc = iconv(cd, &in, &inLeft, &o, &oLeft);
            out.append(buffer, static_cast<size_t>(o - buffer));
            if (rc == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

    iconv_t decoder_;
    iconv_t encoder_;
};

}  // namespace solvena
