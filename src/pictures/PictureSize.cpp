#include "pictures/PictureSize.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace solvena {

namespace {

int64_t sum(std::span<const int32_t> sizes)
{
    return std::accumulate(sizes.begin(), sizes.end(), int64_t{0});
}

int64_t headerBand(std::span<const int32_t> rowHeights)
{
    return rowHeights.empty() ? 0 : rowHeights.front();
}

int64_t widthOf(std::span<const int32_t> colWidths)
{
    return sum(colWidths) + std::max<int64_t>(50, int64_t(colWidths.size()) + 5);
}

// Without row 0's band: every row's grid line must fit below it.
int64_t bitmapHeightOf(std::span<const int32_t> rowHeights)
{
    return sum(rowHeights) + std::max<int64_t>(0, int64_t(rowHeights.size()) - headerBand(rowHeights));
}

int64_t vectorHeightOf(std::span<const int32_t> rowHeights)
{
    return sum(rowHeights) + std::max<int64_t>(50, int64_t(rowHeights.size()));
}

}  // namespace

int64_t pictureWidth(const GridLayout& layout)
{
    return widthOf(layout.colWidths);
}

PictureSize bitmapSize(const GridLayout& layout, bool withHeader)
{
    const int64_t height = bitmapHeightOf(layout.rowHeights);
    return {pictureWidth(layout), withHeader ? height + headerBand(layout.rowHeights) : height};
}

PictureSize bitmapDrawingSize(const GridLayout& layout)
{
    return bitmapSize(layout, true);
}

PictureSize vectorSize(const GridLayout& layout)
{
    return {pictureWidth(layout), vectorHeightOf(layout.rowHeights)};
}

PictureSize pictureExtent(std::span<const int32_t> colWidths, std::span<const int32_t> rowHeights)
{
    return {widthOf(colWidths),
            std::max(bitmapHeightOf(rowHeights) + headerBand(rowHeights), vectorHeightOf(rowHeights))};
}

void checkPictureSize(PictureSize size)
{
    if (size.width >= 1 && size.height >= 1 && size.width <= kMaxPictureSide &&
        size.height <= kMaxPictureSide)
        return;
    if (size.width < 1 || size.height < 1)
        throw PictureSizeError(Reason(ReasonKind::PictureSizeInvalid, {size.width, size.height}));
    throw PictureSizeError(Reason(ReasonKind::PictureTooLarge, {size.width, size.height, kMaxPictureSide}));
}

PdfPage pdfPage(PictureSize picture)
{
    PdfPage page{double(picture.width) * 0.75, double(picture.height) * 0.75, 1.0};
    const double longest = std::max(page.width, page.height);
    if (longest > kMaxPdfPagePoints) {
        page.scale = kMaxPdfPagePoints / longest;
        // The longer side exactly at the limit, the other in proportion.
        if (page.width >= page.height) {
            page.width = kMaxPdfPagePoints;
            page.height *= page.scale;
        } else {
            page.width *= page.scale;
            page.height = kMaxPdfPagePoints;
        }
    }
    return page;
}

double printScale(PictureSize picture, double printerDpi, double pageWidth, double pageHeight)
{
    double scale = printerDpi / 96.0;
    if (picture.width > 0 && picture.width * scale > pageWidth)
        scale = pageWidth / double(picture.width);
    if (picture.height > 0 && picture.height * scale > pageHeight)
        scale = pageHeight / double(picture.height);
    return scale;
}

}  // namespace solvena
