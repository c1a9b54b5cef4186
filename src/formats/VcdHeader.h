#pragma once
// What the definitions of a value change dump declare: the time unit and the tree of
// scopes with their variables. The reader fills it; the sampling and the VCD dialog
// read it.

#include "text/Reason.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

// One $var.
struct VcdVar {
    std::string type;     // as declared: wire, reg, integer, real, ...
    int32_t width = 1;    // bits
    std::string name;     // the reference without its index
    std::string index;    // the declared index as written ("[3:0]", "[5]"), or empty
    // How the bits are numbered: the value's leftmost bit is `msb`, its rightmost `lsb`
    // (width-1 and 0 when the index gives no range of that width).
    int64_t msb = 0;
    int64_t lsb = 0;
    int32_t scope = -1;   // index into VcdHeader::scopes; -1 outside every scope
    int32_t slot = 0;     // variables declared with one identifier code share a slot

    // A real number ($var real, realtime, shortreal): it has no bits to split.
    bool isReal() const { return type == "real" || type == "realtime" || type == "shortreal"; }
    bool isVector() const { return width > 1 && !isReal(); }
    // A signal that can drive a clock or fill a row as it is: one bit.
    bool isScalar() const { return width == 1 && !isReal(); }
    // The name a row of this variable takes: a one-bit variable keeps a single index
    // ("mem[5]") as part of its name; a range is dropped.
    std::string displayName() const;
    // The index of the value's bit `fromRight` (0 = rightmost) as the declaration
    // numbers it.
    int64_t bitIndex(int32_t fromRight) const { return msb >= lsb ? lsb + fromRight : lsb - fromRight; }
    // The place from the right of the bit the declaration numbers `index`; -1 when the
    // variable has no such bit.
    int32_t bitFromRight(int64_t index) const;
};

struct VcdScope {
    std::string type;               // module, task, function, begin, fork, ...
    std::string name;
    int32_t parent = -1;            // -1 at the top
    std::vector<int32_t> scopes;    // children, in order
    std::vector<int32_t> vars;      // in order of declaration
};

struct VcdHeader {
    int64_t tickFemtoseconds = 1'000'000;  // $timescale; 1ns when the dump gives none
    bool timescaleGiven = false;
    std::vector<VcdScope> scopes;
    std::vector<VcdVar> vars;              // in order of declaration
    std::vector<int32_t> topScopes;
    std::vector<int32_t> topVars;          // variables outside every scope
    int32_t slotCount = 0;
    std::vector<Reason> notes;             // what the reader passed over

    // The scope names down to the variable, joined with "." ("tb.dut").
    std::string scopePath(const VcdVar& var) const;
    // scopePath + "." + the variable's display name ("tb.dut.count").
    std::string path(const VcdVar& var) const;
};

// A word from the dump made fit for a one-line message: cut after 40 characters, bytes
// that are not UTF-8 shown as U+FFFD, control characters as U+XXXX.
std::string vcdShown(std::string_view word);

}  // namespace solvena
