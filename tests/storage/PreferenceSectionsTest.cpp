// The recent files and the window's place as the preferences file holds them: what
// is read back from what was written, and what a hand-edited file gives.
#include "storage/RecentFiles.h"
#include "storage/WindowPlacement.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Files = std::vector<std::string>;

struct RecentCase {
    const char* label;
    std::string ini;
    Files files;
    std::string written;
    Files readBack;
};

class RecentFilesSection : public testing::TestWithParam<RecentCase> {};

TEST_P(RecentFilesSection, WritesTheListAndReadsItBack)
{
    const RecentCase& c = GetParam();
    const std::string written = writeRecentFiles(c.ini, c.files);
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(readRecentFiles(written), c.readBack);
}

const RecentCase kRecentCases[] = {
    {"IntoOtherSections", "; x\r\n[View]\r\nVertLine=0\r\n", {"/a b/c.sbn", "/d.sbn"},
     "; x\r\n[View]\r\nVertLine=0\r\n[Recent]\r\nFile1=/a b/c.sbn\r\nFile2=/d.sbn\r\n", {"/a b/c.sbn", "/d.sbn"}},
    {"ShorterListRemovesTheRest", "[Recent]\nFile1=/x\nFile2=/y\nFile2=/dup\nFile3=/z\nOther=1\n", {"/n"},
     "[Recent]\nFile1=/n\nOther=1\n", {"/n"}},
    {"EmptyListAddsNoSection", "[View]\n", {}, "[View]\n", {}},
    {"EdgesThatReadingTakesOffAreQuoted", "", {" /lead", "\"/q\"", "/t\t", "\"/half"},
     "[Recent]\r\nFile1=\" /lead\"\r\nFile2=\"\"/q\"\"\r\nFile3=\"/t\t\"\r\nFile4=\"/half\r\n",
     {" /lead", "\"/q\"", "/t\t", "\"/half"}},
    {"LineBreaksAndEmptyPathsLeftOut", "", {"/a\nb", "", "/c"}, "[Recent]\r\nFile1=/c\r\n", {"/c"}},
    {"NineKeepEight", "", {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"},
     "[Recent]\r\nFile1=/1\r\nFile2=/2\r\nFile3=/3\r\nFile4=/4\r\nFile5=/5\r\nFile6=/6\r\nFile7=/7\r\nFile8=/8\r\n",
     {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RecentFilesSection, testing::ValuesIn(kRecentCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(RecentFilesSection, HandMadeGapsAndRepeatsReadInOrderOnce)
{
    EXPECT_EQ(readRecentFiles("[recent]\nfile3=/c\nFile1=/a\nFile2=\nFile4=/a\nFile9=/i\n"), (Files{"/a", "/c"}));
}

struct PlacementCase {
    const char* label;
    std::string ini;
    std::optional<WindowPlacement> expected;
};

class WindowPlacementSection : public testing::TestWithParam<PlacementCase> {};

TEST_P(WindowPlacementSection, ReadsOnlyAWholePlace)
{
    EXPECT_EQ(readWindowPlacement(GetParam().ini), GetParam().expected);
}

const PlacementCase kPlacementCases[] = {
    {"Whole", "[Window]\nLeft=-1200\nTop=+30\nWidth=800\nHeight=600\nMaximized=1\n",
     WindowPlacement{-1200, 30, 800, 600, true}},
    {"MaximizedMissing", "[Window]\nLeft=0\nTop=0\nWidth=1\nHeight=1\n", WindowPlacement{0, 0, 1, 1, false}},
    {"SizeMissing", "[Window]\nLeft=0\nTop=0\nWidth=800\n", std::nullopt},
    {"NotANumber", "[Window]\nLeft=0\nTop=0\nWidth=8O0\nHeight=600\n", std::nullopt},
    {"ZeroWide", "[Window]\nLeft=0\nTop=0\nWidth=0\nHeight=600\n", std::nullopt},
    {"FarAway", "[Window]\nLeft=1000001\nTop=0\nWidth=800\nHeight=600\n", std::nullopt},
    {"Huge", "[Window]\nLeft=0\nTop=0\nWidth=800\nHeight=2000000\n", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, WindowPlacementSection, testing::ValuesIn(kPlacementCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(WindowPlacementSection, WrittenInPlaceAndReadBack)
{
    const WindowPlacement placement{-5, 7, 640, 480, true};
    const std::string written = writeWindowPlacement("[View]\nA=1\n[Window]\nTop=1\n", placement);
    EXPECT_EQ(written, "[View]\nA=1\n[Window]\nTop=7\nLeft=-5\nWidth=640\nHeight=480\nMaximized=1\n");
    EXPECT_EQ(readWindowPlacement(written), placement);
}

}  // namespace
