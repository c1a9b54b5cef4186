// The import side of WaveJSON: a text read into a fresh chart record.
#include "formats/WaveJson.h"

#include "formats/Json5.h"
#include "formats/WaveLane.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>
#include <unordered_set>

namespace solvena {

namespace {

constexpr int kMaxSignals = kMaxRows - 1;
constexpr int kMaxSteps = kMaxCols - 1;
constexpr double kMaxPeriod = kMaxSteps;  // a longer step could not fit the chart
constexpr double kMaxPhase = 1000;
constexpr int kMaxHscale = 100;           // where the reference renderer stops too

// Thrown inside the import only; readWaveJson turns it into a result.
struct ImportFailure {
    Reason message;
};

std::string printable(std::string_view utf8)
{
    return printableExcerpt(utf8, 32);
}

// Names gathered for the notice, each once, in the order first met.
class NameList {
public:
    // A set beside the list keeps a file of many thousand keys from taking quadratic time.
    void add(std::string_view name)
    {
        if (seen_.emplace(name).second) names_.emplace_back(name);
    }
    bool empty() const { return names_.empty(); }
    size_t size() const { return names_.size(); }

    // The first few names, and how many more there are.
    Reason joined() const
    {
        constexpr size_t kShown = 10;
        std::vector<ReasonArg> args;
        for (size_t i = 0; i < names_.size() && i < kShown; ++i) args.emplace_back(printable(names_[i]));
        args.emplace_back(names_.size() > kShown ? names_.size() - kShown : 0);
        return Reason(ReasonKind::Names, std::move(args));
    }

private:
    std::unordered_set<std::string> seen_;
    std::vector<std::string> names_;
};

// What the chart leaves out or shows otherwise, for the one line the user is shown.
struct Notice {
    size_t dataLabels = 0;
    size_t nodes = 0;
    size_t edges = 0;
    size_t gaps = 0;
    NameList captions;
    NameList keys;        // everything else the chart cannot hold, by key
    NameList characters;  // wave characters shown as undefined though they are not 'x'

    // None when nothing was left out or read otherwise.
    Reason line() const
    {
        std::vector<ReasonArg> leftOut;
        const auto counted = [&](size_t count, ReasonKind kind) {
            if (count > 0) leftOut.emplace_back(Reason(kind, {count}));
        };
        counted(dataLabels, ReasonKind::WaveDataLabels);
        counted(nodes, ReasonKind::WaveNodes);
        counted(edges, ReasonKind::WaveEdges);
        counted(gaps, ReasonKind::WaveGaps);
        if (!captions.empty())
            leftOut.emplace_back(Reason(ReasonKind::WaveGroupCaptions, {captions.size(), captions.joined()}));
        if (!keys.empty()) leftOut.emplace_back(keys.joined());
        std::vector<ReasonArg> sentences;
        if (!leftOut.empty())
            sentences.emplace_back(Reason(ReasonKind::WaveLeftOut, {Reason(ReasonKind::List, std::move(leftOut))}));
        if (!characters.empty())
            sentences.emplace_back(Reason(ReasonKind::WaveReadAsUndefined, {characters.joined()}));
        if (sentences.empty()) return {};
        if (sentences.size() == 1) return *sentences.front().reason();
        return Reason(ReasonKind::Sentences, std::move(sentences));
    }
};

struct Signal {
    int ordinal = 0;         // 1-based place among all signals, for messages
    std::string name;        // UTF-8, as written
    std::u16string wave;     // empty when there is none
    double period = 1;
    double phase = 0;
};

Reason byPlace(int ordinal) { return Reason(ReasonKind::WaveSignalByPlace, {ordinal}); }

Reason describe(const Signal& signal)
{
    return signal.name.empty() ? byPlace(signal.ordinal) : Reason(ReasonKind::WaveSignalByName, {printable(signal.name)});
}

// The signal's failure: `kind` names the signal first, then `more`.
ImportFailure refusal(ReasonKind kind, const Reason& signal, std::vector<ReasonArg> more = {})
{
    more.insert(more.begin(), ReasonArg(signal));
    return ImportFailure{Reason(kind, std::move(more))};
}

std::string numberText(double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

enum class Given { No, Number, NotANumber };

// A number as the reference renderer's arithmetic takes it: a number, or a string
// holding one (JavaScript converts it where it computes). An empty string counts as
// not given, as the renderer's `value || default` reads it.
Given readNumber(const Json5Value* value, double& number)
{
    if (!value) return Given::No;
    if (value->kind == Json5Value::Kind::Number) {
        number = value->number;
        return Given::Number;
    }
    if (value->kind != Json5Value::Kind::String) return Given::NotANumber;
    std::string_view text = value->string;
    constexpr std::string_view kBlanks = " \t\n\r\f\v";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return Given::No;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() ? Given::Number : Given::NotANumber;
}

// config.hscale as the reference renderer rounds and bounds it; anything else in
// `config` is named in the notice.
int hscaleOf(const Json5Value& root, Notice& notice)
{
    const Json5Value* config = root.find("config");
    if (!config) return 1;
    if (config->kind != Json5Value::Kind::Object) {
        notice.keys.add("config");
        return 1;
    }
    for (const Json5Member& member : config->members)
        if (member.key != "hscale") notice.keys.add("config." + member.key);
    double value = 0;
    switch (readNumber(config->find("hscale"), value)) {
    case Given::No: return 1;
    case Given::NotANumber: notice.keys.add("config.hscale"); return 1;
    case Given::Number: break;
    }
    if (!(value > 0)) return 1;
    const double rounded = std::floor(value + 0.5);
    return rounded < 1 ? 1 : static_cast<int>(std::min<double>(rounded, kMaxHscale));
}

// The entries of the signal array in order, groups flattened; walks with its own
// stack rather than recursion.
std::vector<const Json5Value*> flattenSignals(const Json5Value& signalArray, NameList& captions)
{
    struct Level {
        const Json5Value* array;
        size_t next;
    };
    std::vector<const Json5Value*> entries;
    std::vector<Level> stack{{&signalArray, 0}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.array->items.size()) {
            stack.pop_back();
            continue;
        }
        const size_t index = top.next++;
        const Json5Value& item = top.array->items[index];
        const bool inGroup = stack.size() > 1;
        if (item.kind == Json5Value::Kind::Object) {
            entries.push_back(&item);
        } else if (item.kind == Json5Value::Kind::Array) {
            stack.push_back({&item, 0});
        } else if (item.kind == Json5Value::Kind::String && inGroup && index == 0) {
            captions.add(item.string);
        } else {
            throw ImportFailure{Reason(ReasonKind::WaveStrayItem, {entries.size() + 1})};
        }
    }
    return entries;
}

// The characters whose drawing the chart repeats exactly; every other one becomes
// undefined and is named.
bool isExactWaveCharacter(char32_t c)
{
    return c < 0x80 && std::string_view("01xhlHLpnPN.|<>").find(static_cast<char>(c)) != std::string_view::npos;
}

// One character of UTF-8 text from `pos` on; a malformed byte counts as one.
char32_t nextCharacter(std::string_view text, size_t& pos)
{
    const char32_t c = decodeUtf8(text, pos);
    if (c == kInvalidCodePoint) ++pos;
    return c;
}

void noteWave(std::string_view wave, Notice& notice)
{
    for (size_t pos = 0; pos < wave.size();) {
        const size_t start = pos;
        const char32_t c = nextCharacter(wave, pos);
        if (c == u'|') ++notice.gaps;
        if (!isExactWaveCharacter(c)) notice.characters.add(wave.substr(start, pos - start));
    }
}

// `data` labels, `node` names and any key the chart has no place for.
void noteSignalExtras(const Json5Value& entry, Notice& notice)
{
    for (const Json5Member& member : entry.members)
        if (member.key != "name" && member.key != "wave" && member.key != "period" && member.key != "phase" &&
            member.key != "data" && member.key != "node")
            notice.keys.add(member.key);
    if (const Json5Value* data = entry.find("data")) {
        if (data->kind == Json5Value::Kind::Array) {
            notice.dataLabels += data->items.size();
        } else if (data->kind == Json5Value::Kind::String) {
            // The renderer splits a string of labels at white space.
            bool inLabel = false;
            for (const char ch : data->string) {
                const bool blank = ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
                if (!blank && !inLabel) ++notice.dataLabels;
                inLabel = !blank;
            }
        } else {
            notice.keys.add("data");
        }
    }
    if (const Json5Value* node = entry.find("node")) {
        if (node->kind == Json5Value::Kind::String) {
            for (size_t pos = 0; pos < node->string.size();)
                if (nextCharacter(node->string, pos) != U'.') ++notice.nodes;
        } else {
            notice.keys.add("node");
        }
    }
}

Signal readSignal(const Json5Value& entry, int ordinal, Notice& notice)
{
    Signal signal;
    signal.ordinal = ordinal;
    noteSignalExtras(entry, notice);
    if (const Json5Value* name = entry.find("name")) {
        if (name->kind != Json5Value::Kind::String)
            throw refusal(ReasonKind::WaveNameNotString, byPlace(ordinal));
        signal.name = name->string;
    }
    if (const Json5Value* wave = entry.find("wave")) {
        if (wave->kind != Json5Value::Kind::String)
            throw refusal(ReasonKind::WaveWaveNotString, describe(signal));
        // The renderer takes the wave apart in UTF-16 code units.
        signal.wave = utf8ToUtf16(wave->string);
        noteWave(wave->string, notice);
    }
    switch (readNumber(entry.find("period"), signal.period)) {
    case Given::No: signal.period = 1; break;
    case Given::NotANumber: throw refusal(ReasonKind::WavePeriodNotNumber, describe(signal));
    case Given::Number:
        if (!(signal.period > 0 && signal.period <= kMaxPeriod))
            throw refusal(ReasonKind::WavePeriodRange, describe(signal),
                          {numberText(signal.period), static_cast<int>(kMaxPeriod)});
    }
    switch (readNumber(entry.find("phase"), signal.phase)) {
    case Given::No: signal.phase = 0; break;
    case Given::NotANumber: throw refusal(ReasonKind::WavePhaseNotNumber, describe(signal));
    case Given::Number:
        if (!(std::fabs(signal.phase) <= kMaxPhase))
            throw refusal(ReasonKind::WavePhaseRange, describe(signal),
                          {numberText(signal.phase), -static_cast<int>(kMaxPhase), static_cast<int>(kMaxPhase)});
    }
    return signal;
}

std::string encodeName(const Signal& signal)
{
    // The chart file ends a name at CR or LF and refuses NUL: such a name could not be saved.
    if (signal.name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        throw refusal(ReasonKind::WaveNameLineBreakOrNul, describe(signal));
    std::optional<std::string> bytes = utf16ToCp932(utf8ToUtf16(signal.name));
    if (!bytes)
        throw refusal(ReasonKind::WaveNameNotCp932, describe(signal));
    return std::move(*bytes);
}

// The signals' waves on one time line and the chart's columns over it.
struct Timing {
    std::vector<LaneLayout> lanes;
    std::vector<int64_t> shifts;  // ticks each wave moves left (its phase)
    int64_t stepTicks = 0;        // one step of the renderer's grid
    int64_t unit = 0;             // one column
    int columns = 0;
};

// The column is the longest time that divides a step and on which every level change
// of every signal falls: steps of plain levels stay one column each, a clock makes
// them two, and a period of 1.5 or a phase of 0.25 makes them finer still.
Timing timeSignals(const std::vector<Signal>& signals, int hscale)
{
    Timing timing;
    timing.stepTicks = 2 * hscale * kTicksPerBrick;
    const int64_t limit = kMaxSteps * timing.stepTicks;
    int64_t length = 0;
    for (const Signal& signal : signals) {
        const int64_t shift = signal.wave.empty() ? 0 : std::llround(2 * signal.phase * kTicksPerBrick);
        timing.lanes.push_back(layOutWave(signal.wave, signal.period, hscale, limit + std::max<int64_t>(shift, 0)));
        timing.shifts.push_back(shift);
        if (timing.lanes.back().ticks > 0) length = std::max(length, timing.lanes.back().ticks - shift);
    }
    // A chart beyond the limit is only counted, its shorter waves not continued to its end.
    const bool fits = length <= limit;
    int64_t unit = timing.stepTicks;
    for (size_t i = 0; i < signals.size(); ++i)
        for (const LaneRun& run : placeLane(timing.lanes[i], timing.shifts[i], length, fits))
            if (run.start > 0) unit = std::gcd(unit, run.start);
    const int64_t columns = (length + unit - 1) / unit;
    if (columns > kMaxSteps) {
        if (unit < timing.stepTicks)
            throw ImportFailure{
                Reason(ReasonKind::WaveTooManyStepsSplit, {columns, kMaxSteps, timing.stepTicks / unit})};
        throw ImportFailure{Reason(ReasonKind::WaveTooManySteps, {columns, kMaxSteps})};
    }
    timing.unit = unit;
    timing.columns = static_cast<int>(columns);
    return timing;
}

// Writes signal `index` of the timing into row `row`, one level per column.
void writeRow(TCell& chart, int row, const Timing& timing, size_t index)
{
    const std::vector<LaneRun> runs =
        placeLane(timing.lanes[index], timing.shifts[index], timing.columns * timing.unit, true);
    size_t k = 0;
    for (int c = 0; c < timing.columns && !runs.empty(); ++c) {
        const int64_t t = c * timing.unit;
        while (k + 1 < runs.size() && runs[k + 1].start <= t) ++k;
        chart.level[c + 1][row] = runs[k].level;
        if (runs[k].start != t) continue;
        // A falling arrow stands on the high cell left of its edge.
        if (runs[k].arrow == LaneArrow::Rising) chart.cellFlags[c + 1][row] |= kFlagRisingArrow;
        if (runs[k].arrow == LaneArrow::Falling && c > 0) chart.cellFlags[c][row] |= kFlagFallingArrow;
    }
}

LoadedChart readOrThrow(std::string_view text)
{
    const Json5Result parsed = parseJson5(text);
    if (!parsed.ok) throw ImportFailure{Reason(ReasonKind::WaveNotJson5, {parsed.errorMessage()})};
    const Json5Value& root = parsed.value;
    if (root.kind != Json5Value::Kind::Object)
        throw ImportFailure{ReasonKind::WaveTopNotObject};
    const Json5Value* signalArray = root.find("signal");
    if (!signalArray || signalArray->kind != Json5Value::Kind::Array) {
        if (root.find("assign"))
            throw ImportFailure{ReasonKind::WaveIsAssign};
        if (root.find("reg"))
            throw ImportFailure{ReasonKind::WaveIsReg};
        throw ImportFailure{ReasonKind::WaveNoSignalArray};
    }

    Notice notice;
    for (const Json5Member& member : root.members) {
        if (member.key == "signal" || member.key == "config") continue;
        if (member.key == "edge" && member.value.kind == Json5Value::Kind::Array)
            notice.edges = member.value.items.size();
        else
            notice.keys.add(member.key);
    }
    const int hscale = hscaleOf(root, notice);
    const std::vector<const Json5Value*> entries = flattenSignals(*signalArray, notice.captions);
    if (entries.size() > static_cast<size_t>(kMaxSignals))
        throw ImportFailure{Reason(ReasonKind::WaveTooManySignals, {entries.size(), kMaxSignals})};

    std::vector<Signal> signals;
    for (size_t i = 0; i < entries.size(); ++i)
        signals.push_back(readSignal(*entries[i], static_cast<int>(i + 1), notice));
    const Timing timing = timeSignals(signals, hscale);

    auto chart = std::make_unique<TCell>();
    for (size_t i = 0; i < signals.size(); ++i) {
        const int row = static_cast<int>(i + 1);
        chart->signalName[row] = encodeName(signals[i]);
        writeRow(*chart, row, timing, i);
    }

    LoadedChart result;
    result.colCount = timing.columns + 1;
    result.rowCount = static_cast<int32_t>(signals.size()) + 1;
    result.colWidths.assign(static_cast<size_t>(result.colCount),
                            std::min<int32_t>(grid_defaults::kColWidth * hscale, grid_defaults::kMaxCellSize));
    result.colWidths[0] = grid_defaults::kNameColumnWidth;
    chart->colCount = result.colCount;
    chart->rowCount = result.rowCount;
    result.chart = std::move(chart);
    if (Reason line = notice.line(); !line.empty()) result.notes.push_back(std::move(line));
    result.ok = true;
    return result;
}

}  // namespace

LoadedChart readWaveJson(std::string_view text)
{
    try {
        return readOrThrow(text);
    } catch (const ImportFailure& failure) {
        LoadedChart result;
        result.errorReason = failure.message;
        return result;
    }
}

}  // namespace solvena
