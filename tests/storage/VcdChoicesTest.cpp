// The command line's --vcd-* options, read into the choices a VCD chart is made from.
#include "storage/VcdChoices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

struct OptionsCase {
    const char* label;
    Options options;
    VcdChoices choices;
    std::string error = {};  // expected within the error; empty when the options are fine
};

VcdChoices with(std::vector<std::string> names, std::string clock, int64_t step, int64_t start, int32_t steps)
{
    return VcdChoices{std::move(names), std::move(clock), step, start, steps};
}

const OptionsCase kCases[] = {
    {"NoneGiveTheDefaults", {}, VcdChoices{}},
    {"EveryOption",
     {{"--vcd-signals", "tb.clk,count[*],bus[2]"}, {"--vcd-clock", "tb.clk"}, {"--vcd-start", "100ns"},
      {"--vcd-steps", "40"}},
     with({"tb.clk", "count[*]", "bus[2]"}, "tb.clk", 0, 100'000'000, 40)},
    {"SignalsAddOn", {{"--vcd-signals", "a"}, {"--vcd-signals", "b,c"}}, with({"a", "b", "c"}, "", 0, 0, 99)},
    {"StepWithUnit", {{"--vcd-step", "2.5ns"}, {"--vcd-steps", "1"}}, with({}, "", 2'500'000, 0, 1)},
    {"LaterReplacesEarlier", {{"--vcd-steps", "5"}, {"--vcd-steps", "99"}, {"--vcd-start", "1us"}, {"--vcd-start", "0"}},
     VcdChoices{}},
    {"EmptyName", {{"--vcd-signals", "a,,b"}}, {}, "empty name"},
    {"TrailingComma", {{"--vcd-signals", "a,"}}, {}, "empty name"},
    {"EmptyClock", {{"--vcd-clock", ""}}, {}, "needs a signal"},
    {"StepWithoutUnit", {{"--vcd-step", "10"}}, {}, "needs a unit"},
    {"StartNotATime", {{"--vcd-start", "soon"}}, {}, "not a number"},
    {"StepOfZero", {{"--vcd-step", "0ns"}}, {}, "longer than 0"},
    {"StepsZero", {{"--vcd-steps", "0"}}, {}, "from 1 to 99"},
    {"StepsTooMany", {{"--vcd-steps", "100"}}, {}, "from 1 to 99"},
    {"StepsNotANumber", {{"--vcd-steps", "9x"}}, {}, "from 1 to 99"},
    {"ClockAndStep", {{"--vcd-clock", "clk"}, {"--vcd-step", "5ns"}}, {}, "together"},
    {"NotAVcdOption", {{"--vcd-colour", "red"}}, {}, "unknown option"},
};

class VcdOptions : public testing::TestWithParam<OptionsCase> {};

TEST_P(VcdOptions, GiveTheseChoices)
{
    const OptionsCase& t = GetParam();
    const VcdOptionsRead got = parseVcdOptions(t.options);
    if (t.error.empty()) {
        EXPECT_TRUE(got.ok()) << got.error;
        EXPECT_EQ(got.choices, t.choices);
    } else {
        EXPECT_NE(got.error.find(t.error), std::string::npos) << got.error;
    }
    for (const auto& [name, value] : t.options)
        EXPECT_EQ(isVcdOption(name), name != "--vcd-colour") << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, VcdOptions, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OptionsCase>& info) {
                             return std::string(info.param.label);
                         });

}  // namespace
