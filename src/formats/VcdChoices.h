#pragma once
// What turns a value change dump into a chart: the signals, the steps and where they
// start. The VCD dialog fills one from its fields, the command line from its --vcd-*
// options; the sampling (VcdChart.h) reads it.

#include "text/Reason.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace solvena {

inline constexpr int32_t kMaxVcdRows = 99;     // the chart's signal rows
inline constexpr int32_t kMaxVcdSteps = 99;    // the chart's step columns
inline constexpr int32_t kDefaultVcdSteps = kMaxVcdSteps;

struct VcdChoices {
    // One row per entry, in order. A signal is named by its path ("tb.dut.count"), by
    // the end of its path where that is unique ("dut.count", "count"), with a one-bit
    // variable's index where it has one ("mem[5]"). "count[*]" splits a vector into one
    // row per bit, leftmost first; "count[2]" is that one bit.
    // Empty: the dump's first 99 one-bit signals (one row per identifier code).
    std::vector<std::string> signalNames;
    // A one-bit signal whose every edge (low to high, high to low) starts a step, so
    // that it draws as a clock; empty for steps of a fixed time.
    std::string clock;
    // The time of a step without a clock; 0 takes the time between the dump's first two
    // instants at or after the start.
    int64_t stepFemtoseconds = 0;
    int64_t startFemtoseconds = 0;   // the first step is at or (with a clock) after it
    int32_t steps = kDefaultVcdSteps;  // 1 .. 99

    bool operator==(const VcdChoices&) const = default;
};

// Whether a command-line option ("--vcd-step") is one of the VCD options.
bool isVcdOption(std::string_view name);

// What the VCD options of a command line gave.
struct VcdOptionsRead {
    VcdChoices choices;
    Reason error;   // what is wrong with the command line

    bool ok() const { return error.empty(); }
};

// Reads the VCD options in the order given, as (name, value) pairs:
//   --vcd-signals a,b,c   signals as VcdChoices::signalNames names them; repeated, it adds on
//   --vcd-clock NAME      the clock signal
//   --vcd-step TIME       the time of a step (not 0), instead of a clock
//   --vcd-start TIME      when the first step is
//   --vcd-steps N         1 .. 99
// TIME has a unit: "10ns", "2.5us" (s ms us ns ps fs); "0" needs none. A later option of
// the same name replaces an earlier one.
VcdOptionsRead parseVcdOptions(const std::vector<std::pair<std::string, std::string>>& options);

}  // namespace solvena
