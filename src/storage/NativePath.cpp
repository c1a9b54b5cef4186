#include "storage/NativePath.h"

#include "text/Utf8.h"

namespace solvena {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

[[maybe_unused]] bool isEscapedByte(char16_t unit)
{
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

}  // namespace

QString pathFromNativeBytes(std::string_view bytes)
{
    QString path;
    path.reserve(qsizetype(bytes.size()));
    size_t pos = 0;
    while (pos < bytes.size()) {
        const char32_t c = decodeUtf8(bytes, pos);
        if (c == kInvalidCodePoint) {
            path += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[pos])));
            ++pos;
        } else {
            path += QString::fromUcs4(&c, 1);
        }
    }
    return path;
}

QByteArray nativePathBytes(const QString& path)
{
#ifdef _WIN32
    // The file layer takes UTF-8 there and hands the system UTF-16: every name the
    // system can hold gets through, whatever the code page.
    return path.toUtf8();
#else
    std::string bytes;
    bytes.reserve(size_t(path.size()));
    const qsizetype n = path.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = path[i].unicode();
        if (isEscapedByte(unit)) {
            bytes += char(unit - kEscapeBase);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < n && path[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, path[i + 1].unicode()));
            ++i;
        } else {
            appendUtf8(bytes, unit);  // a lone surrogate of another kind becomes U+FFFD, as in Qt
        }
    }
    return QByteArray::fromStdString(bytes);
#endif
}

bool isUtf8Name(std::string_view bytes)
{
    for (size_t pos = 0; pos < bytes.size();)
        if (decodeUtf8(bytes, pos) == kInvalidCodePoint)
            return false;
    return true;
}

}  // namespace solvena
