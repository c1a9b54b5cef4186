// The command line's --vcd-* options, read into the choices a VCD chart is made from.
#include "formats/VcdChoices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace solvena;

namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

struct OptionsCase {
    const char* label;
    Options options;
    VcdChoices choices;
    Reason error = {};  // none when the options are fine
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
    {"EmptyName", {{"--vcd-signals", "a,,b"}}, {}, Reason(ReasonKind::UsageVcdEmptySignal, {"a,,b"})},
    {"TrailingComma", {{"--vcd-signals", "a,"}}, {}, Reason(ReasonKind::UsageVcdEmptySignal, {"a,"})},
    {"EmptyClock", {{"--vcd-clock", ""}}, {}, Reason(ReasonKind::UsageVcdNeedsClock, {"--vcd-clock"})},
    {"StepWithoutUnit", {{"--vcd-step", "10"}}, {},
     Reason(ReasonKind::UsageVcdBadTime, {"--vcd-step", "10", Reason(ReasonKind::TimeNoUnit)})},
    {"StartNotATime", {{"--vcd-start", "soon"}}, {},
     Reason(ReasonKind::UsageVcdBadTime, {"--vcd-start", "soon", Reason(ReasonKind::TimeNotANumber)})},
    {"StepOfZero", {{"--vcd-step", "0ns"}}, {}, Reason(ReasonKind::UsageVcdZeroStep, {"--vcd-step"})},
    {"StepsZero", {{"--vcd-steps", "0"}}, {}, Reason(ReasonKind::UsageNumberRange, {"--vcd-steps", 1, 99, "0"})},
    {"StepsTooMany", {{"--vcd-steps", "100"}}, {}, Reason(ReasonKind::UsageNumberRange, {"--vcd-steps", 1, 99, "100"})},
    {"StepsNotANumber", {{"--vcd-steps", "9x"}}, {}, Reason(ReasonKind::UsageNumberRange, {"--vcd-steps", 1, 99, "9x"})},
    {"ClockAndStep", {{"--vcd-clock", "clk"}, {"--vcd-step", "5ns"}}, {}, ReasonKind::UsageVcdClockAndStep},
    {"NotAVcdOption", {{"--vcd-colour", "red"}}, {}, Reason(ReasonKind::UsageUnknownOption, {"--vcd-colour"})},
};

class VcdOptions : public testing::TestWithParam<OptionsCase> {};

TEST_P(VcdOptions, GiveTheseChoices)
{
    const OptionsCase& t = GetParam();
    const VcdOptionsRead got = parseVcdOptions(t.options);
    EXPECT_EQ(got.error, t.error);
    if (t.error.empty()) {
        EXPECT_EQ(got.choices, t.choices);
    }
    for (const auto& [name, value] : t.options)
        EXPECT_EQ(isVcdOption(name), name != "--vcd-colour") << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, VcdOptions, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OptionsCase>& info) {
                             return std::string(info.param.label);
                         });

}  // namespace
