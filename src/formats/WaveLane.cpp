#include "formats/WaveLane.h"

#include "document/TCell.h"

#include <cmath>

namespace solvena {

namespace {

// The renderer's brick kinds, by what a chart can show of them: "pclk"/"Pclk" rise
// (the second with an arrow), "nclk"/"Nclk" fall, "111", "000", and everything else
// ("xxx", "zzz", "uuu", "ddd", "vvv-N", a slope into one of them) undefined.
enum class Brick : uint8_t { Low, High, Undefined, Rise, RiseArrow, Fall, FallArrow };

// What the renderer reads past the end of the wave: JavaScript's undefined, which it
// joins to the character before as the text "undefined", whose second letter is 'u'.
constexpr char16_t kPastTheEnd = 0xFFFF;

int32_t levelOf(Brick brick)
{
    switch (brick) {
    case Brick::Low: case Brick::Fall: case Brick::FallArrow: return kLevelLow;
    case Brick::High: case Brick::Rise: case Brick::RiseArrow: return kLevelHigh;
    case Brick::Undefined: break;
    }
    return kLevelUndefined;
}

LaneArrow arrowOf(Brick brick)
{
    return brick == Brick::RiseArrow ? LaneArrow::Rising
           : brick == Brick::FallArrow ? LaneArrow::Falling
                                       : LaneArrow::None;
}

bool isClock(char16_t c) { return c == u'p' || c == u'n' || c == u'P' || c == u'N'; }
bool isEdgeLevel(char16_t c) { return c == u'h' || c == u'l' || c == u'H' || c == u'L'; }
// The characters the renderer draws as a level of their own ("x2" in its tables).
bool isPlainLevel(char16_t c)
{
    return c == u'0' || c == u'1' || c == u'x' || c == u'd' || c == u'u' || c == u'z' || c == u'=' ||
           (c >= u'2' && c <= u'9');
}
// The characters a following plain level may slope from ("y1").
bool canSlopeFrom(char16_t c) { return isClock(c) || isEdgeLevel(c) || isPlainLevel(c); }

Brick steadyBrickOf(char16_t c)
{
    switch (c) {
    case u'1': case u'h': case u'H': case u'p': case u'P': return Brick::High;
    case u'0': case u'l': case u'L': case u'n': case u'N': return Brick::Low;
    default: return Brick::Undefined;
    }
}

// How many times `for (i = 0; i < limit; i += 1)` runs.
int64_t loopCount(double limit)
{
    return limit > 0 ? static_cast<int64_t>(std::ceil(limit)) : 0;
}

// The bricks of one character with its repeats: `texts` of 1 or 2 kinds (a first
// brick, then the steady one) or 4 (a clock: edge, high or low, edge, low or high).
struct BrickTexts {
    Brick kinds[4];
    int count;
};

class LaneBuilder {
public:
    explicit LaneBuilder(int64_t keepUntil) : keepUntil_(keepUntil) {}

    void add(Brick brick, int64_t bricks)
    {
        if (bricks <= 0) return;
        const int32_t level = levelOf(brick);
        const LaneArrow arrow = arrowOf(brick);
        const int64_t ticks = bricks * kTicksPerBrick;
        const bool kept = lane_.ticks < keepUntil_;
        lane_.ticks += ticks;
        if (!kept) return;
        if (!lane_.pieces.empty() && lane_.pieces.back().level == level && arrow == LaneArrow::None)
            lane_.pieces.back().ticks += ticks;
        else
            lane_.pieces.push_back({ticks, level, arrow});
    }

    // The renderer's genBrick.
    void generate(const BrickTexts& texts, double extra, double times)
    {
        lane_.round.clear();
        if (texts.count == 4) {
            const int64_t halves = loopCount(extra);
            const int64_t rounds = loopCount(times);
            for (int64_t j = 0; j < rounds; ++j) {
                add(texts.kinds[0], 1);
                add(texts.kinds[1], halves);
                add(texts.kinds[2], 1);
                add(texts.kinds[3], halves);
            }
            const int64_t widths[4] = {1, halves, 1, halves};
            for (int i = 0; i < 4; ++i)
                if (widths[i] > 0)
                    lane_.round.push_back({widths[i] * kTicksPerBrick, levelOf(texts.kinds[i]), arrowOf(texts.kinds[i])});
            return;
        }
        const Brick steady = texts.kinds[texts.count - 1];
        add(texts.kinds[0], 1);
        add(steady, loopCount(times * (2 * (extra + 1)) - 1));
        lane_.round.push_back({kTicksPerBrick, levelOf(steady), LaneArrow::None});
    }

    LaneLayout take() { return std::move(lane_); }

private:
    int64_t keepUntil_;
    LaneLayout lane_;
};

// The renderer's genFirstWaveBrick.
BrickTexts firstBricks(char16_t c)
{
    switch (c) {
    case u'p': return {{Brick::Rise, Brick::High, Brick::Fall, Brick::Low}, 4};
    case u'n': return {{Brick::Fall, Brick::Low, Brick::Rise, Brick::High}, 4};
    case u'P': return {{Brick::RiseArrow, Brick::High, Brick::Fall, Brick::Low}, 4};
    case u'N': return {{Brick::FallArrow, Brick::Low, Brick::Rise, Brick::High}, 4};
    default: return {{steadyBrickOf(c)}, 1};
    }
}

// The renderer's genWaveBrick for the character `next` after `top`.
BrickTexts nextBricks(char16_t top, char16_t next)
{
    const bool pastTheEnd = next == kPastTheEnd;
    if (pastTheEnd) next = u'u';
    if (!isClock(next) && !isEdgeLevel(next)) {
        // A level: a slope into it, when the renderer knows both characters.
        if (!isPlainLevel(next) || !canSlopeFrom(top)) return {{Brick::Undefined}, 1};
        return {{steadyBrickOf(next)}, 1};
    }
    const bool rises = next == u'p' || next == u'P' || next == u'h' || next == u'H';
    const bool arrow = next == u'P' || next == u'N' || next == u'H' || next == u'L';
    Brick edge = rises ? (arrow ? Brick::RiseArrow : Brick::Rise) : (arrow ? Brick::FallArrow : Brick::Fall);
    // A clock or an edge level continuing what the character before already did
    // starts without an edge ("xclude" in the renderer).
    if (!pastTheEnd) {
        if ((next == u'p' && (top == u'h' || top == u'H')) || (next == u'h' && (top == u'n' || top == u'N')))
            edge = Brick::High;
        if ((next == u'n' && (top == u'l' || top == u'L')) || (next == u'l' && (top == u'p' || top == u'P')))
            edge = Brick::Low;
    }
    const Brick steady = steadyBrickOf(next);
    if (isEdgeLevel(next)) return {{edge, steady}, 2};
    const bool highFirst = next == u'p' || next == u'P';
    return {{edge, steady, highFirst ? Brick::Fall : Brick::Rise, highFirst ? Brick::Low : Brick::High}, 4};
}

}  // namespace

LaneLayout layOutWave(std::u16string_view wave, double period, int hscale, int64_t keepUntil)
{
    if (wave.empty()) {
        LaneLayout lane;
        lane.round.push_back({kTicksPerBrick, kLevelLow, LaneArrow::None});
        return lane;
    }
    LaneBuilder builder(keepUntil);
    // Mirrors the renderer's parseWaveLane, character by character.
    size_t pos = 0;
    const auto take = [&] { return pos < wave.size() ? wave[pos++] : kPastTheEnd; };
    const auto repeats = [&] {
        double count = 1;
        while (pos < wave.size() && (wave[pos] == u'.' || wave[pos] == u'|')) {
            ++pos;
            ++count;
        }
        return count;
    };
    const double extra = period * hscale - 1;
    char16_t next = take();
    builder.generate(firstBricks(next), extra, repeats());
    bool subCycle = false;
    while (pos < wave.size()) {
        const char16_t top = next;
        next = take();
        if (next == u'<') {
            subCycle = true;
            next = take();
        }
        if (next == u'>') {
            subCycle = false;
            next = take();
        }
        const double count = repeats();
        if (subCycle)
            builder.generate(nextBricks(top, next), 0, count - period);
        else
            builder.generate(nextBricks(top, next), extra, count);
    }
    return builder.take();
}

std::vector<LaneRun> placeLane(const LaneLayout& lane, int64_t shift, int64_t until, bool continued)
{
    std::vector<LaneRun> runs;
    const auto put = [&](int64_t start, int64_t end, int32_t level, LaneArrow arrow) {
        if (end <= 0 || start >= until) return;
        if (start < 0) {
            start = 0;
            arrow = LaneArrow::None;  // its edge lies before the chart
        }
        const bool afterLow = runs.empty() || runs.back().level == kLevelLow;
        const bool afterHigh = !runs.empty() && runs.back().level == kLevelHigh;
        if ((arrow == LaneArrow::Rising && !afterLow) || (arrow == LaneArrow::Falling && !afterHigh))
            arrow = LaneArrow::None;
        if (!runs.empty() && runs.back().level == level) return;
        runs.push_back({start, level, arrow});
    };

    int64_t t = -shift;
    if (t > 0) put(0, t, kLevelUndefined, LaneArrow::None);
    for (const LanePiece& piece : lane.pieces) {
        if (t >= until) break;
        put(t, t + piece.ticks, piece.level, piece.arrow);
        t += piece.ticks;
    }
    if (!continued || t >= until || lane.round.empty()) return runs;
    int64_t roundTicks = 0;
    for (const LanePiece& piece : lane.round) roundTicks += piece.ticks;
    if (lane.round.size() == 1) {
        put(t, until, lane.round[0].level, LaneArrow::None);
        return runs;
    }
    if (t < 0) t += (-t) / roundTicks * roundTicks;  // rounds wholly before the chart
    while (t < until) {
        for (const LanePiece& piece : lane.round) {
            put(t, t + piece.ticks, piece.level, piece.arrow);
            t += piece.ticks;
        }
    }
    return runs;
}

}  // namespace solvena
