#pragma once
// How large each output's picture of a grid is, and how far the printout scales it.
// Sizes are computed in 64 bits from the layout value before anything is allocated,
// so a grid of huge widths is refused rather than wrapping or exhausting memory.

#include "document/GridLayout.h"
#include "text/Reason.h"

#include <cstdint>
#include <span>

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

// Throws PictureSizeError for a side below 1 or above kMaxPictureSide.
void checkPictureSize(PictureSize size);

// The factor that prints a picture drawn in screen pixels (96 per inch) at the
// printer's resolution, shrunk further when it would not fit the printable area.
double printScale(PictureSize picture, double printerDpi, double pageWidth, double pageHeight);
