#pragma once
// The chart as SVG and PDF files: real lines and text, written by their own canvases, at
// the size and with the part of the drawing that a frame gives, so that a vector file
// can be the very picture of the metafile or of the bitmap.

#include "render/ChartOutput.h"
#include "render/RenderOptions.h"
#include "storage/ByteSink.h"

#include <QSize>

namespace solvena {

// What of the drawing a picture shows.
struct VectorFrame {
    QSize size;                       // the picture's size in pixels
    int top = 0;                      // the drawing's row at the picture's top
    EdgeStyle edges = EdgeStyle::Full;
};

// An SVG document whose size is stated in pixels, one user unit a pixel.
void writeSvg(ByteSink& sink, const ChartPicture& picture, const VectorFrame& frame);

// A one-page PDF whose page is the picture's size exactly (pdfPage, PictureSize.h):
// shrunk as a whole when it would be larger than readers open.
void writePdf(ByteSink& sink, const ChartPicture& picture, const VectorFrame& frame);

}  // namespace solvena
