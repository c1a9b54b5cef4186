#include "formats/VcdChoices.h"

#include "formats/VcdTime.h"

#include <charconv>

bool isVcdOption(std::string_view name)
{
    return name == "--vcd-signals" || name == "--vcd-clock" || name == "--vcd-step" || name == "--vcd-start" ||
           name == "--vcd-steps";
}

VcdOptionsRead parseVcdOptions(const std::vector<std::pair<std::string, std::string>>& options)
{
    VcdOptionsRead read;
    VcdChoices& choices = read.choices;
    const auto refuse = [&read](Reason why) {
        read.error = std::move(why);
        return read;
    };
    bool clockGiven = false;
    bool stepGiven = false;
    for (const auto& [name, value] : options) {
        if (name == "--vcd-signals") {
            size_t from = 0;
            for (;;) {
                const size_t comma = value.find(',', from);
                const std::string item = value.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
                if (item.empty()) return refuse(Reason(ReasonKind::UsageVcdEmptySignal, {value}));
                choices.signalNames.push_back(item);
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
        } else if (name == "--vcd-clock") {
            if (value.empty()) return refuse(Reason(ReasonKind::UsageVcdNeedsClock, {name}));
            choices.clock = value;
            clockGiven = true;
        } else if (name == "--vcd-step" || name == "--vcd-start") {
            const TimeText time = parseTimeText(value);
            if (!time.ok()) return refuse(Reason(ReasonKind::UsageVcdBadTime, {name, value, timeTextReason(time.error)}));
            if (name == "--vcd-start") {
                choices.startFemtoseconds = time.femtoseconds;
                continue;
            }
            if (time.femtoseconds == 0) return refuse(Reason(ReasonKind::UsageVcdZeroStep, {name}));
            choices.stepFemtoseconds = time.femtoseconds;
            stepGiven = true;
        } else if (name == "--vcd-steps") {
            int32_t steps = 0;
            const char* const end = value.data() + value.size();
            const auto [stop, error] = std::from_chars(value.data(), end, steps);
            if (value.empty() || error != std::errc() || stop != end || steps < 1 || steps > kMaxVcdSteps)
                return refuse(Reason(ReasonKind::UsageNumberRange, {name, 1, kMaxVcdSteps, value}));
            choices.steps = steps;
        } else {
            return refuse(Reason(ReasonKind::UsageUnknownOption, {name}));
        }
    }
    if (clockGiven && stepGiven) return refuse(ReasonKind::UsageVcdClockAndStep);
    return read;
}

std::string vcdOptionsUsage()
{
    return "Options for a value change dump (.vcd) as CHART:\n"
           "  --vcd-signals A,B  the signals, one row each (default: the first 99 one-bit\n"
           "                    signals); a path 'tb.dut.x' or its unique end 'x';\n"
           "                    'bus[*]' one row per bit of a vector, 'bus[2]' one bit\n"
           "  --vcd-clock NAME  start a step at every edge of the one-bit signal NAME\n"
           "  --vcd-step TIME   make every step TIME long instead (default: the time\n"
           "                    between the first two instants from the start on)\n"
           "  --vcd-start TIME  when the first step is (default 0)\n"
           "  --vcd-steps N     how many steps (1-99, default 99)\n"
           "  TIME is a number with a unit: 10ns, 2.5us (s ms us ns ps fs).\n";
}
