#include "formats/VcdChart.h"

#include "formats/VcdTime.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace solvena {

namespace {

// Thrown inside the sampling only; sampleVcdChart turns it into a result.
struct SampleFailure {
    int64_t line;
    Reason reason;
};

// The variables by the names a selector may end with.
class VarIndex {
public:
    explicit VarIndex(const VcdHeader& header) : header_(header)
    {
        for (size_t i = 0; i < header.vars.size(); ++i) {
            const VcdVar& var = header.vars[i];
            byName_[var.displayName()].push_back(static_cast<int32_t>(i));
            if (!var.index.empty() && var.displayName() != var.name + var.index)
                byName_[var.name + var.index].push_back(static_cast<int32_t>(i));
        }
    }

    // The variables the selector names: its whole path, or the end of a path after a ".".
    // A variable whose whole path it is comes alone.
    std::vector<int32_t> find(std::string_view selector) const
    {
        std::vector<int32_t> found;
        for (size_t from = 0;;) {
            const auto it = byName_.find(std::string(selector.substr(from)));
            if (it != byName_.end())
                for (const int32_t v : it->second) {
                    const VcdVar& var = header_.vars[static_cast<size_t>(v)];
                    const std::string scope = header_.scopePath(var);
                    const std::string_view head = selector.substr(0, from == 0 ? 0 : from - 1);
                    const bool whole = head == scope || (head.empty() && scope.empty());
                    if (whole) return {v};
                    // The selector's head must be the end of the scope path.
                    if (head.empty() || (scope.size() > head.size() && scope.ends_with(head) &&
                                         scope[scope.size() - head.size() - 1] == '.'))
                        if (std::find(found.begin(), found.end(), v) == found.end()) found.push_back(v);
                }
            const size_t dot = selector.find('.', from);
            if (dot == std::string_view::npos) break;
            from = dot + 1;
        }
        return found;
    }

private:
    const VcdHeader& header_;
    std::unordered_map<std::string, std::vector<int32_t>> byName_;
};

// The first few of the variables, and whether there are more.
Reason ambiguity(const VcdHeader& header, std::string_view name, const std::vector<int32_t>& vars)
{
    std::vector<ReasonArg> list;
    for (size_t i = 0; i < vars.size() && i < 3; ++i)
        list.emplace_back(vcdShown(header.path(header.vars[static_cast<size_t>(vars[i])])));
    return Reason(ReasonKind::VcdAmbiguous, {vcdShown(name), Reason(ReasonKind::List, std::move(list)),
                                             vars.size() > 3 ? Reason(ReasonKind::VcdAndOthers) : Reason()});
}

// The rows one selector stands for; throws the reason when there are none.
std::vector<VcdRow> rowsOf(const VcdHeader& header, const VarIndex& index, const std::string& selector)
{
    const auto single = [&](std::string_view name) {
        const std::vector<int32_t> found = index.find(name);
        // Declarations of one identifier code are one signal seen from several scopes
        // (a port and the net it connects): any of them will do, the first is nearest the top.
        const auto sameSignal = [&](int32_t v) {
            const VcdVar& a = header.vars[static_cast<size_t>(v)];
            const VcdVar& b = header.vars[static_cast<size_t>(found.front())];
            return a.slot == b.slot && a.width == b.width && a.msb == b.msb && a.lsb == b.lsb;
        };
        if (found.size() > 1 && !std::all_of(found.begin(), found.end(), sameSignal))
            throw ambiguity(header, name, found);
        return found.empty() ? -1 : found.front();
    };
    if (const int32_t v = single(selector); v >= 0) return {VcdRow{v, -1}};

    const size_t open = selector.rfind('[');
    if (open != std::string::npos && open > 0 && selector.back() == ']') {
        const std::string_view base = std::string_view(selector).substr(0, open);
        const std::string_view inner = std::string_view(selector).substr(open + 1, selector.size() - open - 2);
        const int32_t v = single(base);
        if (v >= 0) {
            const VcdVar& var = header.vars[static_cast<size_t>(v)];
            if (!var.isVector())
                throw Reason(ReasonKind::VcdNotVector, {vcdShown(base)});
            if (inner == "*") {
                std::vector<VcdRow> rows;
                for (int32_t bit = var.width - 1; bit >= 0; --bit) rows.push_back({v, bit});
                return rows;
            }
            int64_t bitIndex = 0;
            const auto [stop, error] = std::from_chars(inner.data(), inner.data() + inner.size(), bitIndex);
            const int32_t bit = error == std::errc() && stop == inner.data() + inner.size() && !inner.empty()
                                    ? var.bitFromRight(bitIndex)
                                    : -1;
            if (bit < 0)
                throw Reason(ReasonKind::VcdNoSuchBit, {vcdShown(base), vcdShown(inner), var.msb, var.lsb});
            return {VcdRow{v, bit}};
        }
    }
    throw Reason(ReasonKind::VcdNoSuchSignal, {vcdShown(selector)});
}

}  // namespace

VcdSelection selectVcdSignals(const VcdHeader& header, const VcdChoices& choices)
{
    VcdSelection selection;
    try {
        const VarIndex index(header);
        if (choices.signalNames.empty()) {
            std::unordered_set<int32_t> slots;
            int32_t scalars = 0;
            for (size_t v = 0; v < header.vars.size(); ++v) {
                const VcdVar& var = header.vars[v];
                if (!var.isScalar() || !slots.insert(var.slot).second) continue;
                ++scalars;
                if (selection.rows.size() < static_cast<size_t>(kMaxVcdRows))
                    selection.rows.push_back({static_cast<int32_t>(v), -1});
            }
            if (scalars == 0) throw Reason(ReasonKind::VcdNoScalars);
            if (scalars > kMaxVcdRows)
                selection.notes.emplace_back(ReasonKind::VcdFirstScalarsTaken, std::vector<ReasonArg>{scalars, kMaxVcdRows});
        } else {
            for (const std::string& selector : choices.signalNames) {
                const std::vector<VcdRow> rows = rowsOf(header, index, selector);
                selection.rows.insert(selection.rows.end(), rows.begin(), rows.end());
                // Refused early, so a hostile list cannot make a huge table first.
                if (selection.rows.size() > static_cast<size_t>(kMaxVcdRows)) break;
            }
            if (selection.rows.size() > static_cast<size_t>(kMaxVcdRows))
                throw Reason(ReasonKind::VcdTooManyRows, {selection.rows.size(), kMaxVcdRows});
        }
        if (!choices.clock.empty()) {
            const std::vector<VcdRow> clock = rowsOf(header, index, choices.clock);
            const VcdVar& var = header.vars[static_cast<size_t>(clock.front().var)];
            if (clock.size() != 1 || (clock.front().bit < 0 && !var.isScalar()))
                throw Reason(ReasonKind::VcdClockNotOneBit, {vcdShown(choices.clock)});
            selection.clock = clock.front();
        }
    } catch (const Reason& message) {
        selection.rows.clear();
        selection.clock.reset();
        selection.error = message;
    }
    return selection;
}

std::string suggestedVcdClock(const VcdHeader& header)
{
    for (const VcdVar& var : header.vars) {
        if (!var.isScalar()) continue;
        std::string name;
        for (const char c : var.name) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const std::string_view suffix : {"_i", "_in"})
            if (name.size() > suffix.size() && name.ends_with(suffix)) name.resize(name.size() - suffix.size());
        if (name.ends_with("clk") || name.ends_with("clock")) return header.path(var);
    }
    return {};
}

namespace {

int32_t levelOf(char c)
{
    if (c == '0') return kLevelLow;
    if (c == '1') return kLevelHigh;
    return kLevelUndefined;
}

// The character a value shorter than its variable is widened with.
char fillOf(const std::string& value) { return value[0] == '1' ? '0' : value[0]; }

// The chart's rows by name, each unique where the scope path makes it so; CP932.
std::vector<std::string> rowNames(const VcdHeader& header, const std::vector<VcdRow>& rows)
{
    std::vector<std::string> names;
    std::unordered_map<std::string, int> count;
    for (const VcdRow& row : rows) {
        const VcdVar& var = header.vars[static_cast<size_t>(row.var)];
        names.push_back(row.bit < 0 ? var.displayName() : var.name + "[" + std::to_string(var.bitIndex(row.bit)) + "]");
        ++count[names.back()];
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (count[names[i]] < 2) continue;
        const std::string scope = header.scopePath(header.vars[static_cast<size_t>(rows[i].var)]);
        if (!scope.empty()) names[i] = scope + "." + names[i];
    }
    for (std::string& name : names) {
        std::u16string text = utf8ToUtf16(name);
        std::optional<std::string> bytes;
        if (text.find(u'\uFFFD') == std::u16string::npos) bytes = utf16ToCp932(text);
        if (!bytes) throw SampleFailure{0, Reason(ReasonKind::VcdNameNotCp932, {vcdShown(name)})};
        name = std::move(*bytes);
    }
    return names;
}

// Whole femtoseconds to whole ticks of the dump's unit.
uint64_t toTicks(int64_t femtoseconds, const VcdHeader& header, ReasonKind what)
{
    if (femtoseconds % header.tickFemtoseconds != 0)
        throw SampleFailure{0, Reason(ReasonKind::VcdTimeNotTickMultiple,
                                      {Reason(what), timeText(femtoseconds), timeText(header.tickFemtoseconds)})};
    return static_cast<uint64_t>(femtoseconds / header.tickFemtoseconds);
}

std::string timeOfTicks(uint64_t ticks, const VcdHeader& header)
{
    if (ticks <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max() / header.tickFemtoseconds))
        return timeText(static_cast<int64_t>(ticks) * header.tickFemtoseconds);
    return std::to_string(ticks) + " × " + timeText(header.tickFemtoseconds);
}

class Sampler {
public:
    Sampler(VcdReader& reader, const VcdChoices& choices, const VcdSelection& selection)
        : reader_(reader),
          header_(reader.header()),
          rows_(selection.rows),
          clock_(selection.clock),
          steps_(choices.steps),
          levels_(rows_.size()),
          valueOf_(static_cast<size_t>(header_.slotCount), -1)
    {
        start_ = toTicks(choices.startFemtoseconds, header_, ReasonKind::VcdWordStart);
        if (!clock_ && choices.stepFemtoseconds > 0) {
            step_ = toTicks(choices.stepFemtoseconds, header_, ReasonKind::VcdWordStepTime);
            if (step_ == 0) throw SampleFailure{0, ReasonKind::VcdStepZero};
        }
        const auto watch = [this](int32_t var) {
            const int32_t slot = header_.vars[static_cast<size_t>(var)].slot;
            if (valueOf_[static_cast<size_t>(slot)] < 0) {
                valueOf_[static_cast<size_t>(slot)] = static_cast<int32_t>(values_.size());
                values_.emplace_back();
                reader_.watch(slot);
            }
        };
        for (const VcdRow& row : rows_) watch(row.var);
        if (clock_) watch(clock_->var);
    }

    // Reads the dump as far as the steps need; throws SampleFailure when it cannot.
    void run()
    {
        bool instantSeen = false;
        for (;;) {
            switch (reader_.next()) {
            case VcdReader::Event::Time: {
                const uint64_t t = reader_.time();
                if (instantSeen && t == now_) continue;  // the same instant named again
                closeInstant(t, true);
                instantSeen = true;
                now_ = t;
                if (taken() == steps_) return;
                break;
            }
            case VcdReader::Event::Change: apply(reader_.slot(), reader_.value()); break;
            case VcdReader::Event::DumpOff:
                for (std::string& value : values_) value.assign(1, 'x');
                break;
            case VcdReader::Event::End:
                endOfDump();
                return;
            case VcdReader::Event::Failed:
                throw SampleFailure{reader_.error().line, reader_.error().reason};
            }
        }
    }

    int32_t taken() const { return static_cast<int32_t>(times_.size()); }
    int32_t level(size_t row, int32_t step) const { return levels_[row][static_cast<size_t>(step)]; }
    const std::vector<Reason>& notes() const { return notes_; }

private:
    void apply(int32_t slot, const VcdValue& value)
    {
        std::string& held = values_[static_cast<size_t>(valueOf_[static_cast<size_t>(slot)])];
        switch (value.kind) {
        case VcdValue::Kind::Scalar:
        case VcdValue::Kind::Vector: held.assign(value.text); break;
        case VcdValue::Kind::Real: {
            double number = 0;
            std::from_chars(value.text.data(), value.text.data() + value.text.size(), number);
            held.assign(1, number == 0.0 ? '0' : number == 1.0 ? '1' : 'x');
            break;
        }
        case VcdValue::Kind::Text: held.assign(1, 'x'); break;
        }
    }

    const std::string& valueOf(int32_t var) const
    {
        const int32_t slot = header_.vars[static_cast<size_t>(var)].slot;
        return values_[static_cast<size_t>(valueOf_[static_cast<size_t>(slot)])];
    }

    int32_t levelOfRow(const VcdRow& row) const
    {
        const std::string& value = valueOf(row.var);
        if (value.empty()) return kLevelUndefined;
        const VcdVar& var = header_.vars[static_cast<size_t>(row.var)];
        if (var.isReal()) return levelOf(value[0]);
        if (row.bit >= 0) {
            const auto bit = static_cast<size_t>(row.bit);
            return levelOf(bit < value.size() ? value[value.size() - 1 - bit] : fillOf(value));
        }
        const char first = value.size() < static_cast<size_t>(var.width) ? fillOf(value) : value[0];
        if (first != '0' && first != '1') return kLevelUndefined;
        const bool same = value.find_first_not_of(first) == std::string::npos;
        return same ? levelOf(first) : kLevelUndefined;
    }

    void take(uint64_t time)
    {
        for (size_t r = 0; r < rows_.size(); ++r) levels_[r].push_back(levelOfRow(rows_[r]));
        times_.push_back(time);
    }

    // The instant `now_` is complete; `next` is the instant that follows, or at the end
    // of the dump (`nextIsInstant` false) the first time after it.
    void closeInstant(uint64_t next, bool nextIsInstant)
    {
        if (clock_) {
            const int32_t level = levelOfRow(*clock_);
            const bool edge = (clockLevel_ == kLevelLow && level == kLevelHigh) ||
                              (clockLevel_ == kLevelHigh && level == kLevelLow);
            if (edge && now_ >= start_ && taken() < steps_) take(now_);
            clockLevel_ = level;
            return;
        }
        // Without a step of its own, the step is the time between the first two
        // instants at or after the start.
        if (step_ == 0 && nextIsInstant && next >= start_) {
            if (!firstInstant_) firstInstant_ = next;
            else if (next > *firstInstant_) step_ = next - *firstInstant_;
        }
        while (taken() < steps_) {
            const auto k = static_cast<uint64_t>(taken());
            if (k > 0 && step_ == 0) break;
            // Saturates: a sample time beyond the counter lies beyond any dump.
            const uint64_t offset = k == 0 ? 0 : (k > (UINT64_MAX - start_) / step_ ? UINT64_MAX - start_ : k * step_);
            const uint64_t at = start_ + offset;
            if (at >= next) break;
            take(at);
        }
    }

    void endOfDump()
    {
        // The dump ends with its last instant: a step there still counts.
        const uint64_t last = now_;
        closeInstant(last == UINT64_MAX ? last : last + 1, false);
        if (taken() == 0) {
            if (clock_) throw SampleFailure{0, Reason(ReasonKind::VcdNoClockEdge, {timeOfTicks(start_, header_)})};
            throw SampleFailure{
                0, Reason(ReasonKind::VcdStartAfterEnd, {timeOfTicks(start_, header_), timeOfTicks(last, header_)})};
        }
        if (taken() < steps_)
            notes_.emplace_back(ReasonKind::VcdCutShort,
                                std::vector<ReasonArg>{Reason(clock_ ? ReasonKind::VcdWordClockEdges : ReasonKind::VcdWordDump),
                                                       timeOfTicks(clock_ ? times_.back() : last, header_), taken()});
    }

    VcdReader& reader_;
    const VcdHeader& header_;
    const std::vector<VcdRow>& rows_;
    const std::optional<VcdRow> clock_;
    const int32_t steps_;
    uint64_t start_ = 0;
    uint64_t step_ = 0;
    std::optional<uint64_t> firstInstant_;
    uint64_t now_ = 0;
    int32_t clockLevel_ = kLevelUndefined;
    std::vector<std::vector<int32_t>> levels_;  // [row][step]
    std::vector<uint64_t> times_;               // of the steps taken
    std::vector<int32_t> valueOf_;              // slot -> index into values_, -1 unwatched
    std::vector<std::string> values_;
    std::vector<Reason> notes_;
};

}  // namespace

LoadedChart sampleVcdChart(VcdReader& reader, const VcdChoices& choices)
{
    LoadedChart result;
    try {
        if (choices.steps < 1 || choices.steps > kMaxVcdSteps)
            throw SampleFailure{0, Reason(ReasonKind::VcdStepsRange, {kMaxVcdSteps})};
        if (choices.startFemtoseconds < 0 || choices.stepFemtoseconds < 0)
            throw SampleFailure{0, ReasonKind::VcdNegativeTime};
        const VcdHeader& header = reader.header();
        const VcdSelection selection = selectVcdSignals(header, choices);
        if (!selection.ok()) throw SampleFailure{0, selection.error};
        const std::vector<std::string> names = rowNames(header, selection.rows);

        Sampler sampler(reader, choices, selection);
        sampler.run();

        auto chart = std::make_unique<TCell>();
        const int32_t steps = sampler.taken();
        const auto rows = static_cast<int32_t>(selection.rows.size());
        for (int32_t r = 0; r < rows; ++r) {
            chart->signalName[r + 1] = names[static_cast<size_t>(r)];
            for (int32_t k = 0; k < steps; ++k) chart->level[k + 1][r + 1] = sampler.level(static_cast<size_t>(r), k);
        }
        result.colCount = steps + 1;
        result.rowCount = rows + 1;
        chart->colCount = result.colCount;
        chart->rowCount = result.rowCount;
        result.colWidths.assign(static_cast<size_t>(result.colCount), grid_defaults::kColWidth);
        result.colWidths[0] = grid_defaults::kNameColumnWidth;
        result.chart = std::move(chart);
        result.notes = header.notes;
        result.notes.insert(result.notes.end(), selection.notes.begin(), selection.notes.end());
        result.notes.insert(result.notes.end(), sampler.notes().begin(), sampler.notes().end());
        result.ok = true;
    } catch (const SampleFailure& failure) {
        result = LoadedChart{};
        result.errorLine = static_cast<int>(std::min<int64_t>(failure.line, std::numeric_limits<int>::max()));
        result.errorReason = failure.reason;
    }
    return result;
}

LoadedChart readVcdChart(ByteSource& source, const VcdChoices& choices)
{
    VcdReader reader(source);
    if (!reader.readHeader()) {
        LoadedChart result;
        result.errorLine = static_cast<int>(std::min<int64_t>(reader.error().line, std::numeric_limits<int>::max()));
        result.errorReason = reader.error().reason;
        return result;
    }
    return sampleVcdChart(reader, choices);
}

}  // namespace solvena
