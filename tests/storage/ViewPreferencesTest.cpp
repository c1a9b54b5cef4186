// The view options read from and written into the preferences file's bytes, alone
// and over a shared file of defaults.
#include "storage/ViewPreferences.h"

#include <gtest/gtest.h>

#include <string>

using namespace solvena;

namespace {

TEST(ReadViewPreferences, TakesIntegersAndDefaultsTheRest)
{
    const struct {
        std::string ini;
        ViewPreferences expected;
        ViewPreferences defaults = {};
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
        {"", {false, false, true}, {false, false, true}},
        {"[View]\r\nVertLine=1\r\nHorzLine=x\r\n", {true, false, true}, {false, false, true}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(readViewPreferences(c.ini, c.defaults) == c.expected) << c.ini;
}

TEST(WriteViewPreferences, WritesTheOptionsTheSharedDefaultsDoNotGive)
{
    const std::string sharedAll = "[View]\r\nVertLine=0\r\nHorzLine=1\r\nAlignRight=0\r\n";
    const struct {
        const char* label;
        std::string ini;
        ViewPreferences preferences;
        std::string shared;
        std::string expected;
    } cases[] = {
        {"first run", "", {}, "", "[View]\r\nVertLine=1\r\nHorzLine=1\r\nAlignRight=0\r\n"},
        {"others kept, keys in place", "; mine\n[Grid]\nRows=5\n[view]\nalignright=1\n; keep\n[Z]\nA=1\n",
         {false, true, false}, "",
         "; mine\n[Grid]\nRows=5\n[view]\nalignright=0\nVertLine=0\nHorzLine=1\n; keep\n[Z]\nA=1\n"},
        {"all as shared", "", {false, true, false}, sharedAll, ""},
        {"one differs from shared", "", {true, true, false}, sharedAll, "[View]\r\nVertLine=1\r\n"},
        {"own key kept though as shared", "[View]\nVertLine=1\n", {false, true, false}, sharedAll,
         "[View]\nVertLine=0\n"},
        {"shared holds no integer", "", {false, true, false}, "[View]\nVertLine=0\nHorzLine=on\n",
         "[View]\r\nHorzLine=1\r\nAlignRight=0\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(writeViewPreferences(c.ini, c.preferences, c.shared), c.expected) << c.label;
}

}  // namespace
