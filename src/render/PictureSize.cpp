#include "render/PictureSize.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace {

int64_t sum(const std::vector<int32_t>& sizes)
{
    return std::accumulate(sizes.begin(), sizes.end(), int64_t{0});
}

int64_t headerBand(const GridLayout& layout)
{
    return layout.rowHeight(0);
}

}  // namespace

int64_t pictureWidth(const GridLayout& layout)
{
    return sum(layout.colWidths) + std::max<int64_t>(50, int64_t{layout.colCount()} + 5);
}

PictureSize bitmapSize(const GridLayout& layout, bool withHeader)
{
    // Every row's grid line must fit below row 0's band, which the saved bitmap lacks.
    const int64_t height =
        sum(layout.rowHeights) + std::max<int64_t>(0, int64_t{layout.rowCount()} - headerBand(layout));
    return {pictureWidth(layout), withHeader ? height + headerBand(layout) : height};
}

PictureSize bitmapDrawingSize(const GridLayout& layout)
{
    return bitmapSize(layout, true);
}

PictureSize vectorSize(const GridLayout& layout)
{
    return {pictureWidth(layout),
            sum(layout.rowHeights) + std::max<int64_t>(50, layout.rowCount())};
}

void checkPictureSize(PictureSize size)
{
    if (size.width >= 1 && size.height >= 1 && size.width <= kMaxPictureSide &&
        size.height <= kMaxPictureSide)
        return;
    const std::string shown = std::to_string(size.width) + " × " + std::to_string(size.height);
    if (size.width < 1 || size.height < 1)
        throw PictureSizeError("画像の大きさが正しくありません (" + shown + " ピクセル)");
    throw PictureSizeError("画像が大きすぎます (" + shown + " ピクセル、縦横とも " +
                           std::to_string(kMaxPictureSide) + " ピクセルまで)");
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
