// The INI rules for finding and changing a key, one case a row; every write case
// gives the whole expected file so any byte moved or lost shows.
#include "storage/ProfileFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

using namespace solvena;

namespace {

struct ReadCase {
    const char* label;
    std::string ini;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class ReadProfileString : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadProfileString, FindsTheKey)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(readProfileString(c.ini, c.section, c.key), c.expected);
}

const ReadCase kReadCases[] = {
    {"Plain", "[View]\r\nVertLine=0\r\n", "View", "VertLine", "0"},
    {"NamesIgnoreAsciiCase", "[vIEW]\r\nvertline=0\r\n", "View", "VERTLINE", "0"},
    {"BlanksAroundNamesAndValues", " [ View ] \r\n\t VertLine \t= \t0 x \t\r\n", "View", "VertLine", "0 x"},
    {"DoubleQuotesDropped", "[View]\nK=\" a \"\n", "View", "K", " a "},
    {"SingleQuotesDropped", "[View]\nK='a'\n", "View", "K", "a"},
    {"UnmatchedQuotesKept", "[View]\nK=\"a'\n", "View", "K", "\"a'"},
    {"ValueUpToTheLineEndWithEquals", "[View]\nK=a=b;c\n", "View", "K", "a=b;c"},
    {"LastLineWithoutBreak", "[View]\r\nK=7", "View", "K", "7"},
    {"LfLineBreaks", "[A]\nK=1\n[View]\nK=2\n", "View", "K", "2"},
    {"KeyOfAnotherSectionNotFound", "[A]\r\nK=1\r\n[View]\r\nJ=2\r\n", "View", "K", std::nullopt},
    {"KeyBeforeAnySectionNotFound", "K=1\r\n[View]\r\n", "View", "K", std::nullopt},
    {"CommentedKeyNotFound", "[View]\r\n;K=1\r\n  ; K=1\r\n", "View", "K", std::nullopt},
    {"LineWithoutEqualsNotAKey", "[View]\r\nK\r\n", "View", "K", std::nullopt},
    {"HeaderWithoutBracketNotASection", "[View]\r\n[Other\r\nK=3\r\n", "View", "K", "3"},
    {"FirstOfTwoKeysCounts", "[View]\r\nK=1\r\nk=2\r\n", "View", "K", "1"},
    {"FirstOfTwoSectionsCounts", "[View]\r\nJ=1\r\n[view]\r\nK=2\r\n", "View", "K", std::nullopt},
    {"EmptyInput", "", "View", "K", std::nullopt},
    {"Cp932TrailBytesDoNotFold", "[View]\r\n\x83\x41=1\r\n", "View", "\x83\x61", std::nullopt},
    {"AsciiAfterCp932Folds", "[\x83\x41" "a]\r\n\x83\x41=1\r\n", "\x83\x41" "A", "\x83\x41", "1"},
    {"SectionBehindAByteOrderMark", "\xEF\xBB\xBF[View]\r\nK=1\r\n", "View", "K", "1"},
    {"ByteOrderMarkOnlyAtTheStart", "[A]\r\n\xEF\xBB\xBF[View]\r\nK=1\r\n", "View", "K", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadProfileString, testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.label); });

struct WriteCase {
    const char* label;
    std::string ini;
    const char* section;
    const char* key;
    const char* value;
    std::string expected;
};

class WriteProfileString : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteProfileString, ChangesOnlyWhatItMust)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(writeProfileString(c.ini, c.section, c.key, c.value), c.expected);
}

const WriteCase kWriteCases[] = {
    {"EmptyInputGetsCrLf", "", "View", "K", "1", "[View]\r\nK=1\r\n"},
    {"ReplacesInPlace", "; top\r\n[View]\r\nA=1\r\nK=0\r\nB=2\r\n", "View", "K", "1",
     "; top\r\n[View]\r\nA=1\r\nK=1\r\nB=2\r\n"},
    {"ReplacedLineLosesItsBlanksButKeepsTheFilesSpelling", "[view]\n  vertLINE = 0 ; x\n", "View",
     "VertLine", "1", "[view]\nvertLINE=1\n"},
    {"ReplacesOnlyTheFirstOfTwo", "[View]\r\nK=0\r\nK=5\r\n", "View", "K", "1", "[View]\r\nK=1\r\nK=5\r\n"},
    {"AddsAfterTheLastKeyLine", "[View]\r\nA=1\r\n; note\r\nB=2\r\n\r\n; tail\r\n[Next]\r\nK=9\r\n",
     "View", "K", "1", "[View]\r\nA=1\r\n; note\r\nB=2\r\nK=1\r\n\r\n; tail\r\n[Next]\r\nK=9\r\n"},
    {"AddsAfterTheHeaderOfAnEmptySection", "[View]\n; nothing yet\n\n[Next]\n", "View", "K", "1",
     "[View]\nK=1\n; nothing yet\n\n[Next]\n"},
    {"AddsToALastLineWithoutBreak", "[View]\nA=1", "View", "K", "1", "[View]\nA=1\nK=1\n"},
    {"AddsToAHeaderWithoutBreak", "[View]", "View", "K", "1", "[View]\r\nK=1\r\n"},
    {"AppendsTheSectionInCrLf", "; mine\r\n\r\n[Other]\r\nK=0\r\n", "View", "K", "1",
     "; mine\r\n\r\n[Other]\r\nK=0\r\n[View]\r\nK=1\r\n"},
    {"AppendsTheSectionInLf", "[Other]\nK=0\n", "View", "K", "1", "[Other]\nK=0\n[View]\nK=1\n"},
    {"AppendsAfterALastLineWithoutBreak", "[Other]\nK=0", "View", "K", "1",
     "[Other]\nK=0\n[View]\nK=1\n"},
    {"FileOfOneLineWithoutBreakGetsCrLf", "; only", "View", "K", "1", "; only\r\n[View]\r\nK=1\r\n"},
    {"KeepsUnknownBytesAndStrayCarriageReturns", "\xEF\xBB\xBFjunk\r\n[View]\r\nA\rB=1\r\n\x83\x5c\r\n", "VIEW",
     "K", "1", "\xEF\xBB\xBFjunk\r\n[View]\r\nA\rB=1\r\nK=1\r\n\x83\x5c\r\n"},
    {"ReplacesBehindAByteOrderMark", "\xEF\xBB\xBF[View]\nK=0\n", "View", "K", "1", "\xEF\xBB\xBF[View]\nK=1\n"},
    {"AddsToASectionBehindAByteOrderMark", "\xEF\xBB\xBF[View]", "View", "K", "1",
     "\xEF\xBB\xBF[View]\r\nK=1\r\n"},
    {"ByteOrderMarkAloneIsAnEmptyFile", "\xEF\xBB\xBF", "View", "K", "1", "\xEF\xBB\xBF[View]\r\nK=1\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, WriteProfileString, testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(WriteProfileString, RefusesWhatCouldNotBeReadBack)
{
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"View", "K", "1\r\nX=2"}, {"Vi\new", "K", "1"}, {"View", "K\r", "1"}, {"", "K", "1"},
        {" View", "K", "1"},       {"Vi]ew", "K", "1"}, {"View", "K=", "1"}, {"View", ";K", "1"},
    };
    for (const auto& r : refused)
        EXPECT_THROW(writeProfileString("[View]\r\nK=0\r\n", r.section, r.key, r.value), std::invalid_argument)
            << r.section << " / " << r.key << " / " << r.value;
}

}  // namespace
