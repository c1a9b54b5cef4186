#pragma once
// Maps the Windows Japanese font names the chart uses onto fonts that exist here.

// Installs the substitutions "ＭＳ ゴシック"/"MS Gothic" -> IPAGothic and
// "ＭＳ Ｐゴシック"/"MS PGothic" -> IPAPGothic (then Noto CJK). Real MS fonts, where
// installed, still win. Call once after the QGuiApplication exists.
void installFontSubstitutions();
