#pragma once
// The toolkit's fonts for the renderer's font descriptions, and back: one conversion
// for every canvas and for the grid, so that a name measures the same everywhere.

#include "document/FontDesc.h"

#include <QFont>

namespace solvena {

// The QFont a FontDesc stands for: its pixel size if given, else the point size at 96
// dpi as GDI rounds it; an empty family is the application's font family.
QFont toQFont(const FontDesc& desc);

// The description of a QFont, as a font dialog returns it.
FontDesc toFontDesc(const QFont& font);

}  // namespace solvena
