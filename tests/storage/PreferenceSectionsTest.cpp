// The recent files and the window's place as the preferences file holds them.
#include "storage/RecentFiles.h"
#include "storage/WindowPlacement.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace solvena;

namespace {

using Files = std::vector<std::string>;

// Paths whose edges reading would take off come back whole; a list grown shorter
// leaves none of its old keys (a repeated one included) behind; other lines stay.
TEST(RecentFilesSection, WrittenAndReadBack)
{
    const Files paths{" /lead", "\"/q\"", "/t\t", "/a\nb", "/plain"};
    const std::string written = writeRecentFiles("; x\n[Recent]\nFile2=/y\nFile2=/dup\nFile6=/z\nOther=1\n", paths);
    EXPECT_EQ(written, "; x\n[Recent]\nOther=1\nFile1=\" /lead\"\nFile2=\"\"/q\"\"\nFile3=\"/t\t\"\nFile4=/plain\n");
    EXPECT_EQ(readRecentFiles(written), (Files{" /lead", "\"/q\"", "/t\t", "/plain"}));
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
    {"SizeMissing", "[Window]\nLeft=0\nTop=0\nWidth=800\n", std::nullopt},
    {"NotANumber", "[Window]\nLeft=0\nTop=0\nWidth=8O0\nHeight=600\n", std::nullopt},
    {"ZeroWide", "[Window]\nLeft=0\nTop=0\nWidth=0\nHeight=600\n", std::nullopt},
    {"FarAway", "[Window]\nLeft=1000001\nTop=0\nWidth=800\nHeight=600\n", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, WindowPlacementSection, testing::ValuesIn(kPlacementCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
