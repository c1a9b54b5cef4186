// Whole numbers as people type them into the number prompts.
#include "text/WholeNumber.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace solvena;

namespace {

struct Case {
    std::u16string text;
    std::optional<int32_t> value;
};

TEST(WholeNumber, ParsesWhatAPersonTypes)
{
    const Case cases[] = {
        {u"40", 40},
        {u" 1 ", 1},
        {u"\t7\r\n", 7},
        {u"-3", -3},
        {u"+5", 5},
        {u"０９", 9},                       // full-width digits
        {u"－１２", -12},                   // full-width sign
        {u"＋８", 8},
        {u"\u3000２\u3000", 2},             // the ideographic blank
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483648", std::nullopt},      // beyond 32 bits
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"1.5", std::nullopt},
        {u"1 2", std::nullopt},
        {u"+-1", std::nullopt},
        {u"--1", std::nullopt},
        {u"+", std::nullopt},
        {u"12a", std::nullopt},
        {u"１２\u0661", std::nullopt},      // a digit of another script
        {u"0x10", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(parseWholeNumber(c.text), c.value);
    }
}

}  // namespace
