#pragma once
// A strict JSON5 reader: UTF-8 text in, a small value tree out. It only reads; no
// part of the input is ever evaluated.
//
// Accepted: // and /* */ comments; keys as identifiers or strings; strings in single
// or double quotes with every escape (\x, \u with surrogate pairs, \0, line
// continuations, a backslash before any other character); decimal numbers with a
// leading or trailing point, exponents and a + or - sign; hex integers; Infinity and
// NaN; trailing commas; the white space of JSON5 (U+00A0, U+FEFF, U+3000, ...).
// Refused, with the line and column where reading stopped: anything else, invalid
// UTF-8, a lone surrogate escape, nesting deeper than kJson5MaxDepth, input longer
// than kJson5MaxBytes.
// Identifier characters beyond ASCII are taken as letters unless they are white
// space or line breaks; no Unicode category tables are carried for them.
// A key written twice keeps both members; find() answers with the last, as a script
// engine would.

#include "text/Reason.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

// Far beyond any chart's text, and small enough that a hostile file stays cheap.
inline constexpr size_t kJson5MaxBytes = size_t{1} << 20;
// Arrays and objects inside each other; the parser keeps its own stack, so this
// bounds memory and the tree's destruction, not the call stack.
inline constexpr int kJson5MaxDepth = 64;

struct Json5Member;

// One value of the tree. Only the fields of its kind carry meaning.
struct Json5Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;               // UTF-8
    std::vector<Json5Value> items;    // of an array
    std::vector<Json5Member> members; // of an object, in the order written

    // The member named `key` (the last one when the key is repeated), or nullptr.
    const Json5Value* find(std::string_view key) const;
};

// One member of an object.
struct Json5Member {
    std::string key;  // UTF-8
    Json5Value value;
};

// What reading a JSON5 text gave.
struct Json5Result {
    bool ok = false;
    Json5Value value;          // when ok
    int errorLine = 0;         // 1-based, when !ok
    int errorColumn = 0;       // 1-based, in characters, when !ok
    Reason errorReason;        // why, when !ok

    // The reason at its line and column.
    Reason errorMessage() const;
};

// Reads one JSON5 value filling the whole text (comments and white space around it).
Json5Result parseJson5(std::string_view text);

}  // namespace solvena
