#include "render/QtFont.h"

#include <QGuiApplication>

namespace solvena {

namespace {

// Windows' MulDiv: a * b / c rounded half away from zero.
int mulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

QFont toQFont(const FontDesc& desc)
{
    QFont font(desc.family.empty() ? QGuiApplication::font().family()
                                   : QString::fromStdString(desc.family));
    const int pixels = desc.pixelSize > 0 ? desc.pixelSize : mulDiv(desc.pointSize, 96, 72);
    if (pixels > 0)
        font.setPixelSize(pixels);
    font.setBold(desc.bold);
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    font.setStrikeOut(desc.strikeOut);
    return font;
}

FontDesc toFontDesc(const QFont& font)
{
    FontDesc desc;
    desc.family = font.family().toStdString();
    if (font.pixelSize() > 0)
        desc.pixelSize = font.pixelSize();
    else
        desc.pointSize = qRound(font.pointSizeF());
    desc.bold = font.bold();
    desc.italic = font.italic();
    desc.underline = font.underline();
    desc.strikeOut = font.strikeOut();
    return desc;
}

}  // namespace solvena
