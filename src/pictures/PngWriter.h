#pragma once
// PNG files made for charts: a chart's picture is grey, or has a handful of colours,
// so it goes out as an 8-bit grey image or a palette image of as few bits per pixel
// as its colours allow (24-bit colour beyond 256 colours), compressed for speed by
// the run deflater. It states the screen's resolution, 96 pixels an inch, as the
// bitmap does.

#include "pictures/RasterBands.h"
#include "storage/ByteSink.h"

class QImage;

namespace solvena {

// Writes the picture (RGB32, alpha ignored; or 8-bit grey, which goes out as grey) as
// a .png file, band by band from the top. Decoded, the file gives exactly the
// picture's pixels. A colour picture's bands are taken twice: once for its palette.
void writePng(ByteSink& sink, const RasterBands& bands);
// The same for an image held whole.
void writePng(ByteSink& sink, const QImage& image);

}  // namespace solvena
