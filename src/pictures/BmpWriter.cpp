#include "pictures/BmpWriter.h"

#include "pictures/PictureSize.h"

#include <QImage>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace solvena {

namespace {

void put16(std::string& out, uint32_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

static_assert(std::endian::native == std::endian::little, "pixels are copied as their bytes stand");

// Rows go out in pieces of about this size: few writes, little memory.
constexpr size_t kChunkBytes = 64 * 1024;

// A row of 8-bit greys as the bitmap's blue, green and red: the grey three times over,
// written four bytes at a time (the fourth overwritten by the next pixel, the last
// pixel's three going alone). White, most of any chart, goes eight pixels at a time.
void greyRow(unsigned char* row, const uchar* pixel, uint32_t width)
{
    uint32_t x = 0;
    while (x + 8 < width) {
        uint64_t eight;
        std::memcpy(&eight, pixel + x, 8);
        if (eight == ~uint64_t{0}) {
            std::memset(row, 0xFF, 24);
        } else {
            for (uint32_t i = 0; i < 8; ++i) {
                const uint32_t bgr = pixel[x + i] * 0x010101u;
                std::memcpy(row + 3 * i, &bgr, 4);
            }
        }
        x += 8;
        row += 24;
    }
    for (; x + 1 < width; ++x, row += 3) {
        const uint32_t bgr = pixel[x] * 0x010101u;
        std::memcpy(row, &bgr, 4);
    }
    if (width > 0)
        std::memset(row, pixel[width - 1], 3);
}

// A row of 32-bit RGB. Such a pixel is blue, green, red and a spare byte in memory on
// every system Qt runs on (little-endian): its first three bytes are the bitmap's. Four
// go at a time as above; four white pixels together are written as one.
void rgbRow(unsigned char* row, const uchar* pixel, uint32_t width)
{
    uint32_t x = 0;
    while (x + 4 < width) {
        uint64_t first, second;
        std::memcpy(&first, pixel + 4 * x, 8);
        std::memcpy(&second, pixel + 4 * x + 8, 8);
        if ((first & second) == ~uint64_t{0}) {
            std::memset(row, 0xFF, 12);
        } else {
            for (uint32_t i = 0; i < 4; ++i)
                std::memcpy(row + 3 * i, pixel + 4 * (x + i), 4);
        }
        x += 4;
        row += 12;
    }
    for (; x + 1 < width; ++x, row += 3)
        std::memcpy(row, pixel + 4 * x, 4);
    if (width > 0)
        std::memcpy(row, pixel + 4 * (width - 1), 3);
}

}  // namespace

void writeBmp(ByteSink& sink, const QImage& image)
{
    writeBmp(sink, ImageBands(image));
}

void writeBmp(ByteSink& sink, const RasterBands& bands)
{
    const auto width = uint32_t(bands.width());
    const auto height = uint32_t(bands.height());
    const bool grey = bands.grey();
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * height;
    constexpr uint32_t kHeaderBytes = 14 + 40;

    std::string out;
    out.reserve(kChunkBytes + rowBytes);
    out += "BM";
    put32(out, kHeaderBytes + imageBytes);
    put32(out, 0);
    put32(out, kHeaderBytes);
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, width);
    put32(out, height);  // positive: the last row comes first
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, imageBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);
    put32(out, 0);

    bands.forEach(true, [&out, &sink, width, grey, rowBytes](const QImage& band, int) {
        for (int y = band.height() - 1; y >= 0; --y) {
            const size_t start = out.size();
            out.resize(start + rowBytes, '\0');
            auto* row = reinterpret_cast<unsigned char*>(out.data() + start);
            const uchar* pixel = band.constScanLine(y);
            if (grey)
                greyRow(row, pixel, width);
            else
                rgbRow(row, pixel, width);
            if (out.size() >= kChunkBytes) {
                sink.write(out);
                out.clear();
            }
        }
    });
    sink.write(out);
}

}  // namespace solvena
