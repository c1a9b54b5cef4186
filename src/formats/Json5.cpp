#include "formats/Json5.h"

#include "text/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace solvena {

namespace {

// Thrown inside the parser only; parseJson5 turns it into a result.
struct ParseFailure {
    size_t position;
    Reason reason;
};

constexpr char32_t kEnd = 0xFFFFFFFE;

bool isLineTerminator(char32_t c) { return c == '\n' || c == '\r' || c == 0x2028 || c == 0x2029; }

bool isWhiteSpace(char32_t c)
{
    switch (c) {
    case '\t': case '\v': case '\f': case ' ': case 0xA0: case 0xFEFF: case 0x1680:
    case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

int hexValue(char32_t c)
{
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

bool isIdentifierStart(char32_t c)
{
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$' || c == '_';
    return c != kEnd && !isWhiteSpace(c) && !isLineTerminator(c) && c != 0x200C && c != 0x200D;
}

bool isIdentifierPart(char32_t c)
{
    return isIdentifierStart(c) || isDigit(c) || c == 0x200C || c == 0x200D;
}

// Whether a decimal literal that from_chars found out of range is too large (rather
// than too small): the order of magnitude of its first significant digit decides.
bool overflows(std::string_view literal)
{
    const size_t e = literal.find_first_of("eE");
    const std::string_view mantissa = literal.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        size_t i = e + 1;
        const bool negative = literal[i] == '-';
        if (literal[i] == '+' || literal[i] == '-') ++i;
        for (; i < literal.size(); ++i)
            exponent = std::min(exponent * 10 + (literal[i] - '0'), 1'000'000'000LL);
        if (negative) exponent = -exponent;
    }
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    long long magnitude = 0;
    for (size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.' || mantissa[i] == '0') continue;
        magnitude = i < point ? static_cast<long long>(point - i) - 1 : -static_cast<long long>(i - point);
        break;
    }
    return magnitude + exponent > 0;
}

// One container being filled while the parser walks the text without recursion.
struct Frame {
    Json5Value value;
    std::string key;  // of an object: the key of the member whose value comes next
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Json5Value document()
    {
        skipSpace();
        std::vector<Frame> stack;
        for (;;) {
            Json5Value value;
            const char32_t c = peek();
            if (c == '[' || c == '{') {
                if (stack.size() >= static_cast<size_t>(kJson5MaxDepth))
                    fail(ReasonKind::Json5TooDeep);
                ++pos_;
                Frame frame;
                frame.value.kind = c == '[' ? Json5Value::Kind::Array : Json5Value::Kind::Object;
                stack.push_back(std::move(frame));
                skipSpace();
                if (!closes(stack.back())) {
                    if (c == '{') readKey(stack.back());
                    continue;
                }
                ++pos_;
                value = std::move(stack.back().value);
                stack.pop_back();
            } else {
                value = scalar();
            }

            // A value is complete: hand it to its container, closing containers as
            // their ends come, until one wants another value.
            for (;;) {
                if (stack.empty()) {
                    skipSpace();
                    if (peek() != kEnd) fail(ReasonKind::Json5TrailingText);
                    return value;
                }
                Frame& top = stack.back();
                if (top.value.kind == Json5Value::Kind::Array)
                    top.value.items.push_back(std::move(value));
                else
                    top.value.members.push_back(Json5Member{std::move(top.key), std::move(value)});
                skipSpace();
                if (peek() == ',') {
                    ++pos_;
                    skipSpace();
                    if (!closes(top)) {
                        if (top.value.kind == Json5Value::Kind::Object) readKey(top);
                        break;
                    }
                }
                if (!closes(top))
                    fail(top.value.kind == Json5Value::Kind::Array ? ReasonKind::Json5NeedCommaOrBracket
                                                                   : ReasonKind::Json5NeedCommaOrBrace);
                ++pos_;
                value = std::move(top.value);
                stack.pop_back();
            }
        }
    }

private:
    [[noreturn]] void fail(ReasonKind reason) const { throw ParseFailure{pos_, reason}; }
    [[noreturn]] static void failAt(size_t position, ReasonKind reason) { throw ParseFailure{position, reason}; }

    // The code point at the reading position (the text is valid UTF-8 by now).
    char32_t peek(size_t* length = nullptr) const
    {
        if (pos_ >= text_.size()) return kEnd;
        size_t next = pos_;
        const char32_t c = decodeUtf8(text_, next);
        if (length) *length = next - pos_;
        return c;
    }

    char32_t peekAt(size_t position) const
    {
        if (position >= text_.size()) return kEnd;
        return decodeUtf8(text_, position);
    }

    char32_t take()
    {
        size_t length = 0;
        const char32_t c = peek(&length);
        pos_ += length;
        return c;
    }

    bool closes(const Frame& frame) const
    {
        return peek() == (frame.value.kind == Json5Value::Kind::Array ? ']' : '}');
    }

    void skipSpace()
    {
        for (;;) {
            size_t length = 0;
            const char32_t c = peek(&length);
            if (isWhiteSpace(c) || isLineTerminator(c)) {
                pos_ += length;
            } else if (c == '/' && peekAt(pos_ + 1) == '/') {
                while (peek() != kEnd && !isLineTerminator(peek())) take();
            } else if (c == '/' && peekAt(pos_ + 1) == '*') {
                const size_t end = text_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) fail(ReasonKind::Json5OpenComment);
                pos_ = end + 2;
            } else {
                return;
            }
        }
    }

    void readKey(Frame& frame)
    {
        const char32_t c = peek();
        if (c == '"' || c == '\'')
            frame.key = string();
        else if (isIdentifierStart(c) || c == '\\')
            frame.key = identifier();
        else
            fail(ReasonKind::Json5NeedKey);
        skipSpace();
        if (peek() != ':') fail(ReasonKind::Json5NeedColon);
        ++pos_;
        skipSpace();
    }

    Json5Value scalar()
    {
        const char32_t c = peek();
        Json5Value value;
        if (c == '"' || c == '\'') {
            value.kind = Json5Value::Kind::String;
            value.string = string();
        } else if (isDigit(c) || c == '.' || c == '+' || c == '-') {
            value.kind = Json5Value::Kind::Number;
            value.number = number();
        } else if (isIdentifierStart(c)) {
            const size_t start = pos_;
            const std::string_view word = plainWord();
            if (word == "null") {
                value.kind = Json5Value::Kind::Null;
            } else if (word == "true" || word == "false") {
                value.kind = Json5Value::Kind::Bool;
                value.boolean = word == "true";
            } else if (word == "Infinity" || word == "NaN") {
                value.kind = Json5Value::Kind::Number;
                value.number = word == "NaN" ? std::numeric_limits<double>::quiet_NaN()
                                             : std::numeric_limits<double>::infinity();
            } else {
                failAt(start, ReasonKind::Json5UnknownWord);
            }
        } else if (c == kEnd) {
            fail(ReasonKind::Json5NeedValueAtEnd);
        } else {
            fail(ReasonKind::Json5NeedValue);
        }
        return value;
    }

    // A run of identifier characters without escapes, as literals are spelt.
    std::string_view plainWord()
    {
        const size_t start = pos_;
        size_t length = 0;
        while (isIdentifierPart(peek(&length))) pos_ += length;
        if (peek() == '\\') fail(ReasonKind::Json5UnknownWord);
        return text_.substr(start, pos_ - start);
    }

    double number()
    {
        const size_t start = pos_;
        double sign = 1;
        if (peek() == '+' || peek() == '-') {
            sign = peek() == '-' ? -1 : 1;
            ++pos_;
        }
        double magnitude = 0;
        const char32_t first = peek();
        if (first == 'I' || first == 'N') {
            const std::string_view word = plainWord();
            if (word == "Infinity")
                magnitude = std::numeric_limits<double>::infinity();
            else if (word == "NaN")
                magnitude = std::numeric_limits<double>::quiet_NaN();
            else
                failAt(start, ReasonKind::Json5BadNumber);
            return sign * magnitude;
        }
        if (first == '0' && (peekAt(pos_ + 1) == 'x' || peekAt(pos_ + 1) == 'X')) {
            pos_ += 2;
            if (hexValue(peek()) < 0) fail(ReasonKind::Json5NeedHexDigit);
            while (hexValue(peek()) >= 0) magnitude = magnitude * 16 + hexValue(take());
        } else {
            const size_t digits = pos_;
            size_t integerDigits = 0;
            if (first == '0') {
                ++pos_;
                integerDigits = 1;
            } else {
                while (isDigit(peek())) ++pos_, ++integerDigits;
            }
            size_t fractionDigits = 0;
            if (peek() == '.') {
                ++pos_;
                while (isDigit(peek())) ++pos_, ++fractionDigits;
            }
            if (integerDigits == 0 && fractionDigits == 0) failAt(start, ReasonKind::Json5BadNumber);
            if (peek() == 'e' || peek() == 'E') {
                ++pos_;
                if (peek() == '+' || peek() == '-') ++pos_;
                if (!isDigit(peek())) fail(ReasonKind::Json5NeedExponentDigit);
                while (isDigit(peek())) ++pos_;
            }
            const std::string_view literal = text_.substr(digits, pos_ - digits);
            const auto [end, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), magnitude);
            if (ec == std::errc::result_out_of_range)
                magnitude = overflows(literal) ? std::numeric_limits<double>::infinity() : 0.0;
            else if (ec != std::errc() || end != literal.data() + literal.size())
                failAt(start, ReasonKind::Json5BadNumber);
        }
        // "01", "1a", "0x1g": a number must not run straight into more of a word.
        if (isIdentifierStart(peek()) || isDigit(peek()) || peek() == '\\')
            fail(ReasonKind::Json5TextAfterNumber);
        return sign * magnitude;
    }

    // Four hex digits after "\u", as one UTF-16 unit.
    char32_t unicodeEscapeUnit()
    {
        char32_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(peek());
            if (digit < 0) fail(ReasonKind::Json5BadUnicodeEscape);
            ++pos_;
            unit = unit * 16 + static_cast<char32_t>(digit);
        }
        return unit;
    }

    // The code point of a \u escape whose "\u" has been read, joining a surrogate pair.
    char32_t unicodeEscape(size_t escapeStart)
    {
        const char32_t unit = unicodeEscapeUnit();
        if (unit >= 0xDC00 && unit <= 0xDFFF) failAt(escapeStart, ReasonKind::Json5LoneSurrogate);
        if (unit < 0xD800 || unit > 0xDBFF) return unit;
        if (peek() != '\\' || peekAt(pos_ + 1) != 'u') failAt(escapeStart, ReasonKind::Json5LoneSurrogate);
        pos_ += 2;
        const char32_t low = unicodeEscapeUnit();
        if (low < 0xDC00 || low > 0xDFFF) failAt(escapeStart, ReasonKind::Json5LoneSurrogate);
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }

    std::string string()
    {
        const size_t start = pos_;
        const char quote = text_[pos_++];
        std::string out;
        for (;;) {
            if (pos_ >= text_.size()) failAt(start, ReasonKind::Json5OpenString);
            const char byte = text_[pos_];
            if (byte == quote) {
                ++pos_;
                return out;
            }
            if (byte == '\n' || byte == '\r')
                fail(ReasonKind::Json5LineBreakInString);
            if (byte != '\\') {
                out += byte;  // a byte of valid UTF-8; the whole sequence is copied in turn
                ++pos_;
                continue;
            }
            const size_t escapeStart = pos_++;
            const char32_t c = take();
            switch (c) {
            case kEnd: failAt(start, ReasonKind::Json5OpenString);
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'v': out += '\v'; break;
            case '0':
                if (isDigit(peek())) failAt(escapeStart, ReasonKind::Json5DigitAfterZeroEscape);
                out += '\0';
                break;
            case 'x': {
                const int high = hexValue(peek());
                const int low = hexValue(peekAt(pos_ + 1));
                if (high < 0 || low < 0) fail(ReasonKind::Json5BadHexEscape);
                pos_ += 2;
                appendUtf8(out, static_cast<char32_t>(high * 16 + low));
                break;
            }
            case 'u':
                appendUtf8(out, unicodeEscape(escapeStart));
                break;
            case '\r':
                if (peek() == '\n') ++pos_;
                break;
            case '\n': case 0x2028: case 0x2029:
                break;  // a line continuation adds nothing
            default:
                if (isDigit(c)) failAt(escapeStart, ReasonKind::Json5DigitEscape);
                appendUtf8(out, c);
            }
        }
    }

    std::string identifier()
    {
        std::string out;
        for (bool first = true;; first = false) {
            const size_t at = pos_;
            size_t length = 0;
            char32_t c = peek(&length);
            if (c == '\\') {
                if (peekAt(pos_ + 1) != 'u') fail(ReasonKind::Json5KeyEscapeNeedsU);
                pos_ += 2;
                c = unicodeEscape(at);
                if (!(first ? isIdentifierStart(c) : isIdentifierPart(c)))
                    failAt(at, ReasonKind::Json5BadKeyEscape);
            } else if (first ? isIdentifierStart(c) : isIdentifierPart(c)) {
                pos_ += length;
            } else {
                return out;
            }
            appendUtf8(out, c);
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

// 1-based line and column (in characters) of a byte position. CR LF, CR, LF, U+2028
// and U+2029 each end a line. Bytes of invalid UTF-8 count as one character each.
std::pair<int, int> lineAndColumn(std::string_view text, size_t position)
{
    position = std::min(position, text.size());
    int line = 1;
    int column = 1;
    size_t pos = 0;
    while (pos < position) {
        char32_t c = decodeUtf8(text, pos);
        if (c == kInvalidCodePoint) ++pos;
        if (c == '\r' && pos < text.size() && text[pos] == '\n' && pos < position) ++pos;
        if (isLineTerminator(c)) {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

}  // namespace

const Json5Value* Json5Value::find(std::string_view key) const
{
    for (auto it = members.rbegin(); it != members.rend(); ++it)
        if (it->key == key) return &it->value;
    return nullptr;
}

Reason Json5Result::errorMessage() const
{
    return Reason(ReasonKind::Json5At, {errorLine, errorColumn, errorReason});
}

Json5Result parseJson5(std::string_view text)
{
    Json5Result result;
    try {
        if (text.size() > kJson5MaxBytes) throw ParseFailure{0, Reason(ReasonKind::Json5TooLarge, {kJson5MaxBytes >> 20})};
        for (size_t pos = 0; pos < text.size();)
            if (decodeUtf8(text, pos) == kInvalidCodePoint)
                throw ParseFailure{pos, ReasonKind::Json5BadUtf8};
        result.value = Parser(text).document();
        result.ok = true;
    } catch (const ParseFailure& failure) {
        result = Json5Result{};
        std::tie(result.errorLine, result.errorColumn) = lineAndColumn(text, failure.position);
        result.errorReason = failure.reason;
    }
    return result;
}

}  // namespace solvena
