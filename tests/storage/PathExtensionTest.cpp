#include "storage/PathExtension.h"

#include <gtest/gtest.h>

using namespace solvena;

namespace {

struct Case {
    const char* path;
    const char* extension;
    const char* expected;
};

class ReplaceExtension : public testing::TestWithParam<Case> {};

TEST_P(ReplaceExtension, FollowsTheLastDotAfterTheLastSeparator)
{
    const Case& c = GetParam();
    EXPECT_EQ(replaceExtension(c.path, c.extension), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ReplaceExtension,
    testing::Values(Case{"chart.txt", ".sbn", "chart.sbn"},
                    Case{"chart", ".sbn", "chart.sbn"},
                    Case{"a.b.c", ".txt", "a.b.txt"},
                    Case{"C:\\dir.x\\chart", ".sbn", "C:\\dir.x\\chart.sbn"},
                    Case{"C:chart", ".ini", "C:chart.ini"},
                    Case{"/home/u/dir.x/chart", ".sbn", "/home/u/dir.x/chart.sbn"},
                    Case{"/home/u/chart.sbn", ".txt", "/home/u/chart.txt"},
                    Case{"dir/.hidden", ".sbn", "dir/.sbn"},
                    Case{"", ".sbn", ".sbn"}));

}  // namespace
