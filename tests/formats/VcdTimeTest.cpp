// Times with units, as the VCD dialog and the command line take them.
#include "formats/VcdTime.h"

#include <gtest/gtest.h>

#include <string>

using namespace solvena;

namespace {

struct TimeCase {
    const char* text;
    int64_t femtoseconds;
    TimeTextError error = TimeTextError::None;
};

const TimeCase kTimes[] = {
    {"10ns", 10'000'000},
    {"1 s", kFemtosecondsPerSecond},
    {"  3ms\t", 3'000'000'000'000},
    {"2.5us", 2'500'000'000},
    {"2.5µs", 2'500'000'000},
    {"2.5\xCE\xBCs", 2'500'000'000},   // Greek mu
    {"7NS", 7'000'000},
    {"1.000ps", 1'000},
    {".5ns", 500'000},
    {"4.ps", 4'000},
    {"0.000000000000000000001s", 0, TimeTextError::TooFine},
    {"1fs", 1},
    {"0", 0},
    {"0.0", 0},
    {"0 ns", 0},
    {"9223s", 9'223'000'000'000'000'000},
    {"9224s", 0, TimeTextError::TooLarge},
    {"99999999999999999999fs", 0, TimeTextError::TooLarge},
    {"1.5fs", 0, TimeTextError::TooFine},
    {"0.0001ps", 0, TimeTextError::TooFine},
    {"10", 0, TimeTextError::NoUnit},
    {"10 min", 0, TimeTextError::UnknownUnit},
    {"10 ks", 0, TimeTextError::UnknownUnit},
    {"", 0, TimeTextError::Empty},
    {"   ", 0, TimeTextError::Empty},
    {"ns", 0, TimeTextError::NotANumber},
    {"-5ns", 0, TimeTextError::NotANumber},
    {"+5ns", 0, TimeTextError::NotANumber},
    {"1.2.3ns", 0, TimeTextError::NotANumber},
    {"5 # ns", 0, TimeTextError::NotANumber},
};

class TimeTextParse : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeTextParse, GivesFemtosecondsOrWhyNot)
{
    const TimeCase& t = GetParam();
    const TimeText got = parseTimeText(t.text);
    EXPECT_EQ(got.error, t.error) << t.text;
    if (t.error == TimeTextError::None) {
        EXPECT_EQ(got.femtoseconds, t.femtoseconds) << t.text;
        // What is shown reads back as the same time.
        EXPECT_EQ(parseTimeText(timeText(got.femtoseconds)).femtoseconds, got.femtoseconds) << t.text;
    } else {
        EXPECT_FALSE(timeTextReason(t.error).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeTextParse, testing::ValuesIn(kTimes));

TEST(TimeTextShow, TakesTheLargestUnitThatHoldsItWhole)
{
    EXPECT_EQ(timeText(0), "0s");
    EXPECT_EQ(timeText(10'000'000), "10ns");
    EXPECT_EQ(timeText(1'500'000), "1500ps");
    EXPECT_EQ(timeText(kFemtosecondsPerSecond * 2), "2s");
    EXPECT_EQ(timeText(7), "7fs");
}

}  // namespace
