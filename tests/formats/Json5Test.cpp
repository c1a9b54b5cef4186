// The JSON5 reader: each form of the syntax it accepts, and where it stops on input
// it must refuse.
#include "formats/Json5.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

using namespace solvena;

using namespace std::string_literals;

namespace {

// A compact, unambiguous spelling of a value tree to compare against.
std::string dump(const Json5Value& v)
{
    switch (v.kind) {
    case Json5Value::Kind::Null: return "null";
    case Json5Value::Kind::Bool: return v.boolean ? "true" : "false";
    case Json5Value::Kind::Number: {
        if (std::isnan(v.number)) return "NaN";
        if (std::isinf(v.number)) return v.number > 0 ? "Infinity" : "-Infinity";
        char buffer[32];
        return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v.number).ptr);
    }
    case Json5Value::Kind::String: {
        std::string out = "\"";
        for (const char ch : v.string) {
            if (static_cast<unsigned char>(ch) < 0x20 || ch == '"' || ch == '\\') {
                char code[16];
                std::snprintf(code, sizeof code, "<%02X>", static_cast<unsigned>(static_cast<unsigned char>(ch)));
                out += code;
            } else {
                out += ch;
            }
        }
        return out + "\"";
    }
    case Json5Value::Kind::Array: {
        std::string out = "[";
        for (size_t i = 0; i < v.items.size(); ++i) out += (i ? "," : "") + dump(v.items[i]);
        return out + "]";
    }
    case Json5Value::Kind::Object: {
        std::string out = "{";
        for (size_t i = 0; i < v.members.size(); ++i)
            out += (i ? "," : "") + v.members[i].key + ":" + dump(v.members[i].value);
        return out + "}";
    }
    }
    return "?";
}

struct Json5Case {
    const char* label;
    std::string text;
    std::string tree;      // expected dump when accepted
    int line = 0;          // where reading stops when refused (tree empty)
    int column = 0;
};

const std::string kDeep64 = std::string(64, '[') + std::string(64, ']');
const std::string kDeep65 = std::string(65, '[') + std::string(65, ']');

const Json5Case kCases[] = {
    {"UnquotedKeysQuotesAndTrailingCommas", "{a:1, 'b':\"x\", \"c\":[true,false,null,],}",
     "{a:1,b:\"x\",c:[true,false,null]}"},
    {"Comments", "// head\n[1, /* in\n */ 2 // tail\n]/**/", "[1,2]"},
    {"NumberForms", "[0x1F, -0XFF, .5, 5., +1, -1.5e3, 1E-2, 5.e1, Infinity, -Infinity, NaN, +NaN, -0]",
     "[31,-255,0.5,5,1,-1500,0.01,50,Infinity,-Infinity,NaN,NaN,-0]"},
    {"NumbersBeyondDoubleRange", "[1e400, -1e400, 1e-400, 1000e306, 0.0001e-330]",
     "[Infinity,-Infinity,0,Infinity,0]"},
    {"Escapes", "'\\x41\\u00e9\\uD83D\\uDE00\\0\\b\\t\\'\\\"\\\\\\a\\v'", "\"Aé😀<00><08><09>'<22><5C>a<0B>\""},
    {"LineContinuations", "'a\\\nb\\\r\nc\\\rd\\\u2028e'", "\"abcde\""},
    {"OtherQuoteAndSeparatorsInsideStrings", "[\"it's\", 'say \"hi\"', 'a\u2028b']",
     "[\"it's\",\"say <22>hi<22>\",\"a\u2028b\"]"},
    {"Json5WhiteSpace", "\uFEFF\u3000{\u00A0a\v:\f1\t}\u2029", "{a:1}"},
    {"IdentifierKeys", "{$_a1: 1, キー: 2, \\u0061b: 3, null: 4}", "{$_a1:1,キー:2,ab:3,null:4}"},
    {"KeyOrderAndRepeatsKept", "{b:1, a:2, b:3}", "{b:1,a:2,b:3}"},
    {"NestingAtTheLimit", kDeep64, kDeep64},
    {"TopLevelScalar", " 'str' ", "\"str\""},

    {"Empty", "", "", 1, 1},
    {"OnlyAComment", "// nothing", "", 1, 11},
    {"MissingComma", "{a:1 b:2}", "", 1, 6},
    {"DoubleComma", "[1,,2]", "", 1, 4},
    {"LeadingCommaInArray", "[,]", "", 1, 2},
    {"LeadingCommaInObject", "{,}", "", 1, 2},
    {"MissingColon", "{a 1}", "", 1, 4},
    {"LeadingZero", "01", "", 1, 2},
    {"NumberRunningIntoLetters", "1a", "", 1, 2},
    {"HexWithoutDigits", "0x", "", 1, 3},
    {"LonePoint", ".", "", 1, 1},
    {"LoneSign", "[+]", "", 1, 2},
    {"ExponentWithoutDigits", "1e+", "", 1, 4},
    {"UnterminatedString", "[\"abc", "", 1, 2},
    {"LineBreakInString", "\"a\nb\"", "", 1, 3},
    {"LoneHighSurrogate", "'\\uD800'", "", 1, 2},
    {"LoneLowSurrogate", "'x\\uDC00'", "", 1, 3},
    {"HighSurrogateWithoutLow", "\"\\uD800\\u0041\"", "", 1, 2},
    {"ShortUnicodeEscape", "'\\u12'", "", 1, 6},
    {"ShortHexEscape", "'\\x4'", "", 1, 4},
    {"OctalEscape", "'\\1'", "", 1, 2},
    {"DigitAfterNulEscape", "'\\01'", "", 1, 2},
    {"UnterminatedComment", "[1] /* open", "", 1, 5},
    {"ValueAfterValue", "[1] 2", "", 1, 5},
    {"UnknownWord", "undefined", "", 1, 1},
    {"LiteralRunningOn", "nullx", "", 1, 1},
    {"EscapedLiteral", "nul\\u006c", "", 1, 4},
    {"EscapeOfANonIdentifierCharInKey", "{\\u0020: 1}", "", 1, 2},
    {"ColumnsCountCharacters", "'日本' x", "", 1, 6},
    {"CrLfIsOneLineBreak", "[\r\n1\r\n,,]", "", 3, 2},
    {"InvalidUtf8", "\"a\xff\"", "", 1, 3},
    {"OverlongUtf8", "\"\xc0\xaf\"", "", 1, 2},
    {"EncodedSurrogate", "\"\xed\xa0\x80\"", "", 1, 2},
    {"NestingBeyondTheLimit", kDeep65, "", 1, 65},
};

class Json5Reader : public testing::TestWithParam<Json5Case> {};

TEST_P(Json5Reader, ReadsOrStopsWhereExpected)
{
    const Json5Case& t = GetParam();
    const Json5Result got = parseJson5(t.text);
    if (!t.tree.empty()) {
        ASSERT_TRUE(got.ok) << got.errorMessage();
        EXPECT_EQ(dump(got.value), t.tree);
        return;
    }
    ASSERT_FALSE(got.ok) << dump(got.value);
    EXPECT_EQ(got.errorLine, t.line) << got.errorMessage();
    EXPECT_EQ(got.errorColumn, t.column) << got.errorMessage();
    EXPECT_FALSE(got.errorReason.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, Json5Reader, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Json5Case>& info) {
                             return std::string(info.param.label);
                         });

TEST(Json5Find, RepeatedKeyAnswersWithTheLast)
{
    const Json5Result got = parseJson5("{b:1, a:2, b:3}");
    ASSERT_TRUE(got.ok);
    ASSERT_NE(got.value.find("b"), nullptr);
    EXPECT_EQ(got.value.find("b")->number, 3);
    EXPECT_EQ(got.value.find("c"), nullptr);
}

TEST(Json5Size, TextBeyondTheLimitIsRefused)
{
    const std::string justFits = "'" + std::string(kJson5MaxBytes - 2, 'a') + "'";
    EXPECT_TRUE(parseJson5(justFits).ok);
    EXPECT_FALSE(parseJson5(justFits + " ").ok);
}

}  // namespace
