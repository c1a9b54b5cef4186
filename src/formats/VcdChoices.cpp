#include "formats/VcdChoices.h"

#include "formats/VcdTime.h"

#include <charconv>

namespace solvena {

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

}  // namespace solvena
