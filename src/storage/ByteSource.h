#pragma once
// Where a streaming reader takes its bytes from: a file, a pipe, memory. The reader
// asks for the next piece as it goes, so a large input is never held whole.

#include "text/Reason.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace solvena {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies the next bytes into `buffer`, at most `capacity` (> 0) of them, and returns
    // how many: fewer than asked is no sign of the end, 0 is. After a 0, failure() tells
    // whether the bytes ended or reading failed.
    virtual size_t read(char* buffer, size_t capacity) = 0;
    // Why reading stopped before the end; none when it did not.
    virtual Reason failure() const { return {}; }
};

// Bytes already in memory (they must outlive the source), handed out in pieces of at
// most `piece` bytes: a pipe's short reads, for whoever wants them.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes, size_t piece = static_cast<size_t>(-1))
        : bytes_(bytes), piece_(std::max<size_t>(piece, 1))
    {
    }

    size_t read(char* buffer, size_t capacity) override
    {
        const size_t n = std::min({capacity, piece_, bytes_.size()});
        if (n > 0) std::memcpy(buffer, bytes_.data(), n);
        bytes_.remove_prefix(n);
        return n;
    }

private:
    std::string_view bytes_;
    size_t piece_;
};

}  // namespace solvena
