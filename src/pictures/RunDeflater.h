#pragma once
// A zlib stream made for pictures of long runs, at a fraction of a general compressor's
// time: every byte goes out as a literal or as a copy of the bytes one pixel back or
// one row up, with deflate's fixed codes. A chart's rows are long runs of one colour
// and often repeat the row above, which is what it finds; anything else it stores as
// literals, larger but exact.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

class RunDeflater {
public:
    // Rows of `rowBytes` bytes (the PNG filter byte included) of pixels `pixelBytes`
    // wide; the compressed bytes go to `out` in pieces of about `chunkBytes`.
    RunDeflater(size_t pixelBytes, size_t rowBytes, std::function<void(std::string_view)> out,
                size_t chunkBytes = 64 * 1024);

    void addRow(const uint8_t* row);
    // Ends the stream: the end of the block and the Adler-32 check.
    void finish();

private:
    void sumAdler(const uint8_t* row);  // the Adler-32 of the stream, on by a row
    void literal(uint8_t byte);
    void copy(size_t distance, size_t length);
    void put(uint32_t bits, int count);  // least significant bit first
    void flushBytes();  // hands over what has piled up, once it is a piece's worth

    size_t pixelBytes_;
    size_t rowBytes_;
    std::function<void(std::string_view)> out_;
    size_t chunkBytes_;
    std::vector<uint8_t> previous_;
    bool hasPrevious_ = false;
    uint64_t bitBuffer_ = 0;
    int bitCount_ = 0;
    std::string bytes_;
    uint32_t adlerA_ = 1;
    uint32_t adlerB_ = 0;
};

}  // namespace solvena
