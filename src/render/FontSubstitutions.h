#pragma once
// Maps the Windows Japanese font names the chart uses onto fonts that exist here, and
// the program's own font.

#include <QFont>

namespace solvena {

// Installs the substitutions "ＭＳ ゴシック"/"MS Gothic" -> IPAGothic and
// "ＭＳ Ｐゴシック"/"MS PGothic" -> IPAPGothic (then Noto CJK). Real MS fonts, where
// installed, still win. Call once after the QGuiApplication exists.
void installFontSubstitutions();

// The application's font, which fonts without a family of their own (the header texts)
// take: "ＭＳ Ｐゴシック", 12 pixels.
QFont programFont();

}  // namespace solvena
