#pragma once
// PNG files made for charts: a chart's picture has a handful of colours, so it goes
// out as a palette image of as few bits per pixel as its colours allow, compressed
// for speed. Pictures of more than 256 colours go out as 24-bit colour.

#include "storage/ByteSink.h"

class QImage;

// Writes `image` (RGB32; alpha is ignored) as a .png file, row by row. Decoded, the
// file gives exactly the image's pixels.
void writePng(ByteSink& sink, const QImage& image);
