#include "render/PngWriter.h"

#include <QImage>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr size_t kChunkBytes = 64 * 1024;

void putBig32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(char((value >> shift) & 0xFF));
}

void writeChunk(ByteSink& sink, const char type[4], std::string_view data)
{
    std::string head;
    putBig32(head, uint32_t(data.size()));
    head.append(type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty())  // crc32 of a null buffer is the initial value, not the crc
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
    std::string tail;
    putBig32(tail, uint32_t(crc));
    sink.write(head);
    sink.write(data);
    sink.write(tail);
}

// The image's colours in the order they first appear, when there are at most 256.
class Palette {
public:
    static std::optional<Palette> of(const QImage& image)
    {
        Palette palette;
        const int width = image.width();
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < width;) {
                const QRgb rgb = line[x] & 0xFFFFFFu;
                if (palette.indexOf(rgb) < 0 && !palette.add(rgb))
                    return std::nullopt;
                // Charts are long runs of one colour.
                while (++x < width && (line[x] & 0xFFFFFFu) == rgb) {
                }
            }
        }
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

// Deflates the filtered rows into IDAT chunks as the output fills.
class ImageData {
public:
    explicit ImageData(ByteSink& sink) : sink_(sink), out_(kChunkBytes, '\0')
    {
        // Fast: a chart compresses well at any level, and the runs-only strategy finds
        // its long runs of one colour at a fraction of the time a full search takes.
        if (deflateInit2(&stream_, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
            throw std::runtime_error("zlib could not be started");
        resetOutput();
    }
    ~ImageData() { deflateEnd(&stream_); }
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;

    void add(const uint8_t* row, size_t size) { run(row, size, Z_NO_FLUSH); }
    void finish() { run(nullptr, 0, Z_FINISH); }

private:
    void run(const uint8_t* data, size_t size, int flush)
    {
        stream_.next_in = const_cast<Bytef*>(data);
        stream_.avail_in = uInt(size);
        for (;;) {
            const int result = deflate(&stream_, flush);
            if (result == Z_STREAM_ERROR)
                throw std::runtime_error("zlib failed");
            if (stream_.avail_out == 0) {
                writeChunk(sink_, "IDAT", out_);
                resetOutput();
            }
            if (flush == Z_FINISH ? result == Z_STREAM_END : stream_.avail_in == 0)
                break;
        }
        if (flush == Z_FINISH && stream_.avail_out < out_.size())
            writeChunk(sink_, "IDAT", std::string_view(out_).substr(0, out_.size() - stream_.avail_out));
    }
    void resetOutput()
    {
        stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
        stream_.avail_out = uInt(out_.size());
    }

    ByteSink& sink_;
    z_stream stream_{};
    std::string out_;
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
    const auto width = uint32_t(image.width());
    const auto height = uint32_t(image.height());
    const std::optional<Palette> palette = Palette::of(image);
    const int depth = palette ? palette->bitDepth() : 8;

    sink.write(std::string_view("\x89PNG\r\n\x1a\n", 8));
    std::string header;
    putBig32(header, width);
    putBig32(header, height);
    header.push_back(char(depth));
    header.push_back(char(palette ? 3 : 2));  // palette or RGB colour
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

    // Each row: filter type 0 (none, what palette images compress best with), then
    // the pixels packed from the high bits down.
    const size_t rowBytes = palette ? (size_t(width) * size_t(depth) + 7) / 8 : size_t(width) * 3;
    std::vector<uint8_t> row(1 + rowBytes);
    ImageData data(sink);
    for (uint32_t y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(int(y)));
        uint8_t* out = row.data() + 1;
        if (palette)
            packIndexes(out, line, width, *palette, depth);
        else
            packColours(out, line, width);
        data.add(row.data(), row.size());
    }
    data.finish();
    writeChunk(sink, "IEND", {});
}
