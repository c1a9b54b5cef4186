#pragma once
// Windows bitmap files: uncompressed, 24 bits per pixel, rows bottom-up, as the
// platform's bitmap object saves a picture of the screen's depth.

#include "pictures/RasterBands.h"
#include "storage/ByteSink.h"

class QImage;

namespace solvena {

// Writes the picture as a .bmp file, row by row, taking its bands from the bottom up
// as the file stores its rows.
void writeBmp(ByteSink& sink, const RasterBands& bands);
// The same for an image held whole (RGB32, or 8-bit grey).
void writeBmp(ByteSink& sink, const QImage& image);

}  // namespace solvena
