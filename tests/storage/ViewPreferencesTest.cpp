// The view options read from and written into the preferences file's bytes.
#include "storage/ViewPreferences.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReadViewPreferences, TakesIntegersAndDefaultsTheRest)
{
    const struct {
        std::string ini;
        ViewPreferences expected;
    } cases[] = {
        {"", {true, true, false}},
        {"[View]\r\nHorzLine=0\r\nVertLine=1\r\n", {true, false, false}},
        {"[View]\r\nVertLine=0\r\nHorzLine=1\r\nAlignRight=1\r\n", {false, true, true}},
        {"[View]\r\nVertLine=-1\r\nAlignRight=2\r\n", {true, true, true}},
        {"[View]\r\nVertLine=+0\r\nHorzLine=-0\r\nAlignRight=+3\r\n", {false, false, true}},
        {"[View]\r\nVertLine = \"0\"\r\nAlignRight='1'\r\n", {false, true, true}},
        {"[View]\r\nVertLine=off\r\nHorzLine=0x0\r\nAlignRight=1a\r\n", {true, true, false}},
        {"[View]\r\nVertLine=\r\nHorzLine=+\r\nAlignRight=+-1\r\n", {true, true, false}},
        {"[View]\r\nHorzLine=4294967296\r\nAlignRight=4294967296\r\n", {true, true, false}},
        {"[Grid]\r\nVertLine=0\r\nAlignRight=1\r\n", {true, true, false}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(readViewPreferences(c.ini) == c.expected) << c.ini;
}

TEST(WriteViewPreferences, FirstRunWritesAllThreeKeysInOrder)
{
    EXPECT_EQ(writeViewPreferences("", {}), "[View]\r\nVertLine=1\r\nHorzLine=1\r\nAlignRight=0\r\n");
}

TEST(WriteViewPreferences, KeepsOtherSectionsAndReplacesKeysInPlace)
{
    const std::string before = "; mine\n[Grid]\nRows=5\n[view]\nalignright=1\n; keep\n[Z]\nA=1\n";
    EXPECT_EQ(writeViewPreferences(before, {.vertLine = false, .horzLine = true, .alignRight = false}),
              "; mine\n[Grid]\nRows=5\n[view]\nalignright=0\nVertLine=0\nHorzLine=1\n; keep\n[Z]\nA=1\n");
}

}  // namespace
