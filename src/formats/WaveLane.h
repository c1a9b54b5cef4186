#pragma once
// One WaveJSON wave laid out in time the way the format's reference renderer (the npm
// package wavedrom, 3.x) lays it out, so that a chart opened from WaveJSON holds the
// levels that renderer draws, odd corners included.
//
// The renderer draws a wave as "bricks", each half a step wide at hscale 1. A
// character with its repeats ('.' or '|') becomes a run of bricks whose length comes
// from `period` and `hscale` through the renderer's own loop arithmetic (rounded up to
// whole bricks, never less than one, and a clock always a whole high and low half);
// inside a sub-cycle group "<...>" a character takes (repeats - period) steps of one
// brick per half step, hscale aside. A level character after one the renderer does
// not know (a leading '.', '-', '?', ...) is drawn undefined, as the renderer draws it.
// `phase` then moves the drawn wave left by 2 x phase bricks (right when negative).
//
// Time here is counted in ticks, kTicksPerBrick to a brick, so that a phase given to a
// thousandth of a step stays whole.

#include <cstdint>
#include <string_view>
#include <vector>

namespace solvena {

inline constexpr int64_t kTicksPerBrick = 1000;

enum class LaneArrow : uint8_t { None, Rising, Falling };

// A stretch of one level (kLevelLow, kLevelHigh, kLevelUndefined); the arrow stands
// at its start.
struct LanePiece {
    int64_t ticks = 0;
    int32_t level = 0;
    LaneArrow arrow = LaneArrow::None;
};

// A wave before its phase is applied.
struct LaneLayout {
    std::vector<LanePiece> pieces;  // from the wave's first character on, as far as kept
    int64_t ticks = 0;              // the whole wave's length
    // What the last character keeps doing past the end, one round of it: a clock's
    // high and low halves, or a single piece holding a level.
    std::vector<LanePiece> round;
};

// The layout of `wave` (UTF-16 code units, as the renderer splits the text) with
// `period` (0 < period <= 99) and `hscale` (1 .. 100). An empty wave is a low level.
// Pieces starting at `keepUntil` ticks or later are only counted into the length, so
// that a wave too long for any chart costs no memory for what no chart could show.
LaneLayout layOutWave(std::u16string_view wave, double period, int hscale, int64_t keepUntil);

// Where one level begins on the chart's time line.
struct LaneRun {
    int64_t start = 0;
    int32_t level = 0;
    LaneArrow arrow = LaneArrow::None;
};

// The lane on the chart's time line [0, until): the wave starting at -shift ticks
// (what lies before 0 is cut; a wave starting later is undefined until it starts),
// followed, when `continued`, by rounds of its last character. Consecutive runs differ
// in level; an arrow stays only where its edge is: a rising one after low (or at 0),
// a falling one after high.
std::vector<LaneRun> placeLane(const LaneLayout& lane, int64_t shift, int64_t until, bool continued);

}  // namespace solvena
