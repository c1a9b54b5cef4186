#include "text/Cp932.h"

#include <cerrno>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#ifndef _WIN32
namespace {

// One iconv conversion descriptor, opened per call: the codec is used for short
// strings and a few thousand names at most, and this keeps it free of shared state.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("CP932 conversion is not available on this system");
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts as much as possible; returns false on an input sequence that cannot
    // be converted, leaving `in`/`inLeft` at the offending position.
    bool convert(char*& in, size_t& inLeft, std::string& out)
    {
        char buffer[256];
        while (inLeft > 0) {
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            size_t rc = iconv(cd_, &in, &inLeft, &o, &oLeft);
            out.append(buffer, static_cast<size_t>(o - buffer));
            if (rc == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace
#endif

std::u16string cp932ToUtf16(std::string_view bytes)
{
#ifdef _WIN32
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(932, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::u16string out(size_t(n), u'\0');
    MultiByteToWideChar(932, 0, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
#else
    Iconv conv("UTF-16LE", "CP932");
    std::string input(bytes);
    char* in = input.data();
    size_t inLeft = input.size();
    std::string raw;
    while (!conv.convert(in, inLeft, raw)) {
        raw.append("\xFD\xFF", 2);  // U+FFFD, little-endian
        ++in;
        --inLeft;
    }
    std::u16string out(raw.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = char16_t(static_cast<unsigned char>(raw[2 * i]) |
                          (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    return out;
#endif
}

std::optional<std::string> utf16ToCp932(std::u16string_view text)
{
#ifdef _WIN32
    if (text.empty()) return std::string();
    BOOL usedDefault = FALSE;
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), nullptr, 0,
                                nullptr, &usedDefault);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), out.data(), n,
                        nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
#else
    std::string input;
    input.reserve(text.size() * 2);
    for (char16_t u : text) {
        input.push_back(char(u & 0xFF));
        input.push_back(char(u >> 8));
    }
    Iconv conv("CP932", "UTF-16LE");
    char* in = input.data();
    size_t inLeft = input.size();
    std::string out;
    if (!conv.convert(in, inLeft, out))
        return std::nullopt;
    return out;
#endif
}

bool isCp932Encodable(std::u16string_view text)
{
    return utf16ToCp932(text).has_value();
}
