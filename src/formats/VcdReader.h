#pragma once
// A streaming reader of value change dumps (IEEE 1364 VCD): the definitions first,
// then the value changes one by one, as far as the caller wants them. Only the buffer
// and the definitions are held, never the dump, and only the changes of the signals
// the caller watches are handed out.
//
// What it takes:
//   - $timescale (1, 10 or 100 of s ms us ns ps fs), $scope / $upscope, $var of any
//     type and width (the index after the reference, or joined to it), $comment,
//     $date, $version, $enddefinitions; other declarations are passed over to their
//     $end and named in the header's notes.
//   - After the definitions: #time, scalar changes ("1!"), vectors ("b10x !"), reals
//     ("r2.5 !"), strings ("sidle !"), and $dumpvars / $dumpall / $dumpon / $dumpoff
//     sections closed by $end; $comment anywhere.
//   - Values are 0 1 x z in either case, and the nine-valued u w l h - of VHDL dumps.
// Refused, with the line and what was expected: anything out of that grammar, an
// identifier code no $var declared, a vector longer than its variable, time going
// back, a section left open, a NUL byte, a failed read.
// Bounds, whatever the dump says: at most kMaxVcdVars variables and scopes, widths up
// to kMaxVcdWidth bits, words up to the widest variable (1 MiB at least).

#include "storage/ByteSource.h"
#include "formats/VcdHeader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

class VcdTokens;

inline constexpr int32_t kMaxVcdVars = 1'000'000;
inline constexpr int32_t kMaxVcdWidth = 16 * 1024 * 1024;

// Where and why reading stopped.
struct VcdError {
    int64_t line = 0;      // 1-based
    Reason reason;         // what was expected
};

// One value as the dump writes it.
struct VcdValue {
    enum class Kind { Scalar, Vector, Real, Text };
    Kind kind = Kind::Scalar;
    // Scalar: its one character. Vector: the bits, leftmost first, maybe fewer than the
    // variable's width. Real: the number as written. Text: the string.
    std::string_view text;
};

class VcdReader {
public:
    explicit VcdReader(ByteSource& source);
    ~VcdReader();
    VcdReader(const VcdReader&) = delete;
    VcdReader& operator=(const VcdReader&) = delete;

    // Reads the definitions, $enddefinitions included. False when they cannot be read;
    // error() says where and why.
    bool readHeader();
    const VcdHeader& header() const { return header_; }

    // Hands out the changes of this slot from now on.
    void watch(int32_t slot);

    enum class Event {
        Time,      // a new instant: time()
        Change,    // a watched slot changed: slot(), value()
        DumpOff,   // $dumpoff: every signal is unknown until values come again
        End,       // the bytes ended
        Failed,    // error() says where and why; nothing follows
    };
    // Reads on to the next event. Call only after readHeader() succeeded.
    Event next();

    uint64_t time() const { return time_; }
    int32_t slot() const { return slot_; }
    const VcdValue& value() const { return value_; }   // valid until next()
    const VcdError& error() const { return error_; }
    // Whether an instant has been named yet; before the first #time the dump is at 0.
    bool timeGiven() const { return timeGiven_; }

private:
    class IdCodes;

    void readDeclaration(const std::string& keyword);
    void readTimescale();
    void readScope();
    void readVar();
    void skipToEnd(const std::string& keyword);
    std::string_view expectWord(ReasonKind what);
    void expectEnd(const std::string& keyword);
    Event change(int32_t slot, VcdValue::Kind kind, std::string_view text);
    int32_t slotOf(std::string_view id) const;
    [[noreturn]] void undeclared(std::string_view id) const;
    [[noreturn]] void fail(Reason reason) const;

    std::unique_ptr<VcdTokens> tokens_;
    std::unique_ptr<IdCodes> ids_;
    VcdHeader header_;
    std::vector<int32_t> slotWidth_;
    std::vector<char> watched_;
    int32_t currentScope_ = -1;
    std::string section_;              // the open $dumpvars, $dumpall, ... or empty
    int64_t sectionLine_ = 0;
    uint64_t time_ = 0;
    bool timeGiven_ = false;
    int32_t slot_ = -1;
    VcdValue value_;
    VcdError error_;
    bool failed_ = false;
    bool inData_ = false;
};

}  // namespace solvena
