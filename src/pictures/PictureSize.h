#pragma once
// How large each output's picture of a grid is, and how far the printout scales it.
// Sizes are computed in 64 bits from the layout value before anything is allocated,
// so a grid of huge widths is refused rather than wrapping or exhausting memory.

#include "document/GridLayout.h"
#include "text/Reason.h"

#include <cstdint>
#include <span>

namespace solvena {

// The largest side a picture may have: the metafile's 16-bit coordinates end there,
// and every other output keeps to the same limit so they all stay interchangeable.
inline constexpr int64_t kMaxPictureSide = 32767;

struct PictureSize {
    int64_t width = 0;
    int64_t height = 0;
    bool operator==(const PictureSize&) const = default;
};

// A picture that cannot be made; the reason names its size.
class PictureSizeError : public ReasonError {
public:
    using ReasonError::ReasonError;
};

// Room right of the last column: the last column's falling arrow reaches 4 pixels
// past its cell, and every column is followed by a grid line.
int64_t pictureWidth(const GridLayout& layout);

// The bitmap as it is drawn, with row 0's band above the chart; then as saved, the
// band cut away unless the header row is drawn in it.
PictureSize bitmapDrawingSize(const GridLayout& layout);
PictureSize bitmapSize(const GridLayout& layout, bool withHeader);

// The metafile, and the SVG and PDF pictures, which keep the header band.
PictureSize vectorSize(const GridLayout& layout);

// What every output's picture of cells of these sizes lies within, from the origin:
// the width of them all, and the taller of the bitmap drawn with row 0's band and the
// metafile.
PictureSize pictureExtent(std::span<const int32_t> colWidths, std::span<const int32_t> rowHeights);

// The resolution raster pictures state: 96 per inch, the screen's, in pixels a metre.
inline constexpr uint32_t kPixelsPerMetre = 3780;

// The largest side of a PDF page that common readers open (Acrobat's limit), in points.
inline constexpr double kMaxPdfPagePoints = 14400;

// The page a picture is set on in a PDF, in points: 3/4 point a pixel (96 pixels an
// inch), exactly; shrunk as a whole, proportions kept, where a side would pass
// kMaxPdfPagePoints. `scale` is what the drawing is shrunk by (1 when it is not).
struct PdfPage {
    double width = 0;
    double height = 0;
    double scale = 1;
};
PdfPage pdfPage(PictureSize picture);

// Throws PictureSizeError for a side below 1 or above kMaxPictureSide.
void checkPictureSize(PictureSize size);

// The factor that prints a picture drawn in screen pixels (96 per inch) at the
// printer's resolution, shrunk further when it would not fit the printable area.
double printScale(PictureSize picture, double printerDpi, double pageWidth, double pageHeight);

}  // namespace solvena
