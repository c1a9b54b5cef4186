#pragma once
// Windows bitmap files: uncompressed, 24 bits per pixel, rows bottom-up, as the
// platform's bitmap object saves a picture of the screen's depth.

#include "storage/ByteSink.h"

class QImage;

namespace solvena {

// Writes `image` (RGB32, or 8-bit grey) as a .bmp file, row by row.
void writeBmp(ByteSink& sink, const QImage& image);

}  // namespace solvena
