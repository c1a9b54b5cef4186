#include "pictures/PngWriter.h"

#include "pictures/PictureSize.h"
#include "pictures/RunDeflater.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace solvena {

namespace {

void putBig32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(char((value >> shift) & 0xFF));
}

// The CRC-32 of PNG chunks (ISO 3309), continued from `crc`: four bytes a step
// through four tables ("slicing by four"), the compressed pixels being most of a file.
uint32_t crc32Of(std::string_view bytes, uint32_t crc = 0)
{
    static const std::array<std::array<uint32_t, 256>, 4> tables = [] {
        std::array<std::array<uint32_t, 256>, 4> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (uint32_t n = 0; n < 256; ++n)
            for (size_t k = 1; k < 4; ++k)
                t[k][n] = t[0][t[k - 1][n] & 0xFF] ^ (t[k - 1][n] >> 8);
        return t;
    }();
    crc = ~crc;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t left = bytes.size();
    for (; left >= 4; left -= 4, p += 4) {
        crc ^= uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        crc = tables[3][crc & 0xFF] ^ tables[2][(crc >> 8) & 0xFF] ^ tables[1][(crc >> 16) & 0xFF] ^ tables[0][crc >> 24];
    }
    for (; left > 0; --left)
        crc = tables[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void writeChunk(ByteSink& sink, const char type[4], std::string_view data)
{
    std::string head;
    putBig32(head, uint32_t(data.size()));
    head.append(type, 4);
    std::string tail;
    putBig32(tail, crc32Of(data, crc32Of(std::string_view(type, 4))));
    sink.write(head);
    sink.write(data);
    sink.write(tail);
}

// The image's colours in the order they first appear, when there are at most 256.
class Palette {
public:
    static std::optional<Palette> of(const RasterBands& bands)
    {
        Palette palette;
        bool full = false;
        const int width = bands.width();
        bands.forEach(false, [&](const QImage& band, int) {
            for (int y = 0; y < band.height() && !full; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
                for (int x = 0; x < width && !full;) {
                    const QRgb rgb = line[x] & 0xFFFFFFu;
                    full = palette.indexOf(rgb) < 0 && !palette.add(rgb);
                    // Charts are long runs of one colour.
                    while (++x < width && (line[x] & 0xFFFFFFu) == rgb) {
                    }
                }
            }
        });
        if (full)
            return std::nullopt;
        return palette;
    }

    int indexOf(QRgb rgb) const
    {
        for (size_t slot = hash(rgb);; slot = (slot + 1) % kSlots) {
            if (slots_[slot].used == 0)
                return -1;
            if (slots_[slot].rgb == rgb)
                return slots_[slot].index;
        }
    }
    const std::vector<QRgb>& colours() const { return colours_; }
    int bitDepth() const
    {
        const size_t n = colours_.size();
        return n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    }

private:
    static constexpr size_t kSlots = 512;  // twice the most colours a palette holds
    struct Slot {
        QRgb rgb = 0;
        uint8_t used = 0;
        uint8_t index = 0;
    };
    static size_t hash(QRgb rgb) { return (rgb * 2654435761u >> 7) % kSlots; }
    bool add(QRgb rgb)
    {
        if (colours_.size() == 256)
            return false;
        size_t slot = hash(rgb);
        while (slots_[slot].used)
            slot = (slot + 1) % kSlots;
        slots_[slot] = {rgb, 1, uint8_t(colours_.size())};
        colours_.push_back(rgb);
        return true;
    }

    std::array<Slot, kSlots> slots_{};
    std::vector<QRgb> colours_;
};

// A row of palette indexes, packed from the high bits down.
void packIndexes(uint8_t* out, const QRgb* line, uint32_t width, const Palette& palette, int depth)
{
    const uint32_t perByte = uint32_t(8 / depth);
    if (depth != 8)
        std::fill(out, out + (width + perByte - 1) / perByte, uint8_t(0));
    for (uint32_t x = 0; x < width;) {
        const QRgb rgb = line[x] & 0xFFFFFFu;
        const auto index = uint8_t(palette.indexOf(rgb));
        uint32_t end = x + 1;
        while (end < width && (line[end] & 0xFFFFFFu) == rgb)
            ++end;
        if (depth == 8) {
            std::fill(out + x, out + end, index);
        } else {
            for (; x < end; ++x)
                out[x / perByte] |= uint8_t(index << (8 - depth * int(1 + x % perByte)));
        }
        x = end;
    }
}

void packColours(uint8_t* out, const QRgb* line, uint32_t width)
{
    for (uint32_t x = 0; x < width; ++x, out += 3) {
        out[0] = uint8_t(qRed(line[x]));
        out[1] = uint8_t(qGreen(line[x]));
        out[2] = uint8_t(qBlue(line[x]));
    }
}

}  // namespace

void writePng(ByteSink& sink, const QImage& image)
{
    writePng(sink, ImageBands(image));
}

void writePng(ByteSink& sink, const RasterBands& bands)
{
    const auto width = uint32_t(bands.width());
    const auto height = uint32_t(bands.height());
    const bool grey = bands.grey();
    const std::optional<Palette> palette = grey ? std::nullopt : Palette::of(bands);
    const int depth = palette ? palette->bitDepth() : 8;

    sink.write(std::string_view("\x89PNG\r\n\x1a\n", 8));
    std::string header;
    putBig32(header, width);
    putBig32(header, height);
    header.push_back(char(depth));
    header.push_back(char(grey ? 0 : palette ? 3 : 2));  // grey, palette or RGB colour
    header.append(3, '\0');                   // deflate, adaptive filters, no interlace
    writeChunk(sink, "IHDR", header);
    if (palette) {
        std::string entries;
        for (const QRgb rgb : palette->colours()) {
            entries.push_back(char(qRed(rgb)));
            entries.push_back(char(qGreen(rgb)));
            entries.push_back(char(qBlue(rgb)));
        }
        writeChunk(sink, "PLTE", entries);
    }
    // The resolution the bitmap states too, so that both come out the same size.
    std::string resolution;
    putBig32(resolution, kPixelsPerMetre);
    putBig32(resolution, kPixelsPerMetre);
    resolution.push_back(1);  // per metre
    writeChunk(sink, "pHYs", resolution);

    // Each row: filter type 0 (none, what palette images compress best with), then
    // the pixels packed from the high bits down.
    const size_t rowBytes = grey      ? size_t(width)
                            : palette ? (size_t(width) * size_t(depth) + 7) / 8
                                      : size_t(width) * 3;
    std::vector<uint8_t> row(1 + rowBytes);
    RunDeflater data(grey || palette ? 1 : 3, row.size(),
                     [&sink](std::string_view bytes) { writeChunk(sink, "IDAT", bytes); });
    bands.forEach(false, [&](const QImage& band, int) {
        for (int y = 0; y < band.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            uint8_t* out = row.data() + 1;
            if (grey)
                std::copy_n(band.constScanLine(y), width, out);
            else if (palette)
                packIndexes(out, line, width, *palette, depth);
            else
                packColours(out, line, width);
            data.addRow(row.data());
        }
    });
    data.finish();
    writeChunk(sink, "IEND", {});
}

}  // namespace solvena
