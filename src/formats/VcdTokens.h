#pragma once
// The words of a value change dump, read piece by piece from a byte source: runs of
// bytes above the blank, split by blanks, tabs and line breaks. The VCD reader's
// only way to its bytes.

#include "storage/ByteSource.h"
#include "text/Reason.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

// Thrown by the tokens and the reader; the reader turns it into its error.
struct VcdFailure {
    int64_t line;
    Reason reason;
};

class VcdTokens {
public:
    // Words longer than `maxWord` bytes are refused rather than held.
    VcdTokens(ByteSource& source, size_t maxWord);

    // The next word, valid until the next call; empty at the end of the bytes. Throws
    // VcdFailure for a NUL byte, a word beyond the limit or a failed read.
    std::string_view next()
    {
        kept_ = kNone;
        return advance();
    }

    // The same, keeping the word the call before returned valid too: kept() gives it
    // back afterwards, wherever the buffer has moved it.
    std::string_view nextKeepingLast()
    {
        kept_ = wordStart_;
        keptSize_ = wordSize_;
        return advance();
    }
    std::string_view kept() const { return {data() + kept_, keptSize_}; }

    int64_t line() const { return wordLine_; }      // of the last word
    int64_t lineNow() const { return line_; }       // where reading stands
    void setMaxWord(size_t maxWord) { maxWord_ = maxWord; }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    const char* data() const { return buffer_.data(); }

    std::string_view advance()
    {
        for (;;) {
            const char* const base = buffer_.data();
            while (pos_ < end_) {
                const auto c = static_cast<unsigned char>(base[pos_]);
                if (c > ' ') return word();
                if (c == '\n') ++line_;
                else if (c == 0) nulByte();
                ++pos_;
            }
            if (!fill(pos_)) {
                wordStart_ = pos_;
                wordSize_ = 0;
                return {};
            }
        }
    }

    std::string_view word()
    {
        wordStart_ = pos_;
        wordLine_ = line_;
        for (;;) {
            const char* const base = buffer_.data();
            pos_ = static_cast<size_t>(wordEnd(base + pos_, base + end_) - base);
            if (pos_ - wordStart_ > maxWord_) wordTooLong();
            // A word that runs to the end of what is buffered may go on in the next piece.
            if (pos_ < end_ || !fill(wordStart_)) break;
        }
        wordSize_ = pos_ - wordStart_;
        return {buffer_.data() + wordStart_, wordSize_};
    }

    // The first byte at or below the blank from `p` on, or `stop`. Eight bytes at a time:
    // this loop is most of the time a dump takes to read.
    static const char* wordEnd(const char* p, const char* const stop)
    {
        if constexpr (std::endian::native == std::endian::little) {
            constexpr uint64_t kOnes = 0x0101010101010101ull;
            while (stop - p >= 8) {
                uint64_t bytes;
                std::memcpy(&bytes, p, 8);
                // The high bit of each byte below 0x21, exact for the first such byte
                // (bytes of 0x80 and above never count).
                const uint64_t low = (bytes - kOnes * 0x21) & ~bytes & (kOnes * 0x80);
                if (low != 0) return p + std::countr_zero(low) / 8;
                p += 8;
            }
        }
        while (p < stop && static_cast<unsigned char>(*p) > ' ') ++p;
        return p;
    }

    // Reads more bytes, first moving those from `keepFrom` on (and the kept word) to the
    // front of the buffer, which grows when they fill it. False when no byte came.
    bool fill(size_t keepFrom);
    [[noreturn]] void nulByte() const;
    [[noreturn]] void wordTooLong() const;

    ByteSource& source_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    size_t maxWord_;
    int64_t line_ = 1;
    int64_t wordLine_ = 1;
    size_t wordStart_ = 0;
    size_t wordSize_ = 0;
    size_t kept_ = kNone;
    size_t keptSize_ = 0;
    bool ended_ = false;
};

}  // namespace solvena
