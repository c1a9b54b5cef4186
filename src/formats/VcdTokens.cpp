#include "formats/VcdTokens.h"

#include <algorithm>
#include <cstring>

namespace solvena {

namespace {

// Large enough that reading costs few calls, small enough to stay in the cache.
constexpr size_t kPieceBytes = 256 * 1024;

}  // namespace

VcdTokens::VcdTokens(ByteSource& source, size_t maxWord)
    : source_(source), buffer_(kPieceBytes), maxWord_(maxWord)
{
}

bool VcdTokens::fill(size_t keepFrom)
{
    if (ended_) return false;
    const size_t keep = std::min(keepFrom, kept_);
    if (keep > 0) {
        std::memmove(buffer_.data(), buffer_.data() + keep, end_ - keep);
        end_ -= keep;
        pos_ -= keep;
        wordStart_ -= std::min(wordStart_, keep);
        if (kept_ != kNone) kept_ -= keep;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const size_t n = source_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (n == 0) {
        ended_ = true;
        Reason why = source_.failure();
        if (!why.empty()) throw VcdFailure{line_, Reason(ReasonKind::VcdCannotRead, {std::move(why)})};
        return false;
    }
    end_ += n;
    return true;
}

void VcdTokens::nulByte() const
{
    throw VcdFailure{line_, ReasonKind::VcdNulByte};
}

void VcdTokens::wordTooLong() const
{
    throw VcdFailure{wordLine_, Reason(ReasonKind::VcdWordTooLong, {maxWord_})};
}

}  // namespace solvena
