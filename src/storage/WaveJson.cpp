#include "storage/WaveJson.h"

#include "storage/ChartFile.h"
#include "storage/Json5.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <unordered_set>

namespace {

constexpr int kMaxSignals = kMaxRows - 1;
constexpr int kMaxSteps = kMaxCols - 1;
constexpr int kMaxPeriod = kMaxSteps;

// Thrown inside the import only; importWaveJson turns it into a result.
struct ImportFailure {
    std::string message;
};

// Text from the file made fit for a one-line message: control characters shown as
// U+XXXX and long text cut, so a hostile name cannot break or flood the message.
std::string printable(std::string_view utf8)
{
    constexpr int kMaxChars = 32;
    std::string out;
    size_t pos = 0;
    for (int count = 0; pos < utf8.size(); ++count) {
        if (count == kMaxChars) return out + "…";
        char32_t c = decodeUtf8(utf8, pos);
        if (c == kInvalidCodePoint) {
            c = 0xFFFD;
            ++pos;
        }
        if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

// Names gathered for one warning line, each once, in the order first met.
class NameList {
public:
    // A set beside the list keeps a file of many thousand keys from taking quadratic time.
    void add(std::string_view name)
    {
        if (seen_.emplace(name).second) names_.emplace_back(name);
    }
    bool empty() const { return names_.empty(); }

    std::string joined() const
    {
        constexpr size_t kShown = 10;
        std::string out;
        for (size_t i = 0; i < names_.size() && i < kShown; ++i) {
            if (i > 0) out += ", ";
            out += printable(names_[i]);
        }
        if (names_.size() > kShown) out += " ほか" + std::to_string(names_.size() - kShown) + "件";
        return out;
    }

private:
    std::unordered_set<std::string> seen_;
    std::vector<std::string> names_;
};

struct Signal {
    int ordinal = 0;        // 1-based place among all signals, for messages
    std::string name;       // UTF-8, as written
    std::string_view wave;  // into the parsed tree
    int period = 1;
};

std::string byPlace(int ordinal) { return std::to_string(ordinal) + "番目の信号"; }

std::string describe(const Signal& signal)
{
    return signal.name.empty() ? byPlace(signal.ordinal) : "信号「" + printable(signal.name) + "」";
}

bool isClock(char ch) { return ch == 'p' || ch == 'P' || ch == 'n' || ch == 'N'; }
bool isRepeat(char ch) { return ch == '.' || ch == '|'; }

// The level a non-clock wave character stands for; -1 for a character outside the
// classes.
int32_t levelOf(char ch)
{
    switch (ch) {
    case '1': case 'h': case 'H':
        return kLevelHigh;
    case '0': case 'l': case 'L':
        return kLevelLow;
    case 'x': case 'z': case '=': case 'u': case 'd':
        return kLevelUndefined;
    default:
        return ch >= '2' && ch <= '9' ? kLevelUndefined : -1;
    }
}

std::string numberText(double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
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
            throw ImportFailure{"signal 配列に信号でもグループでもない要素があります（" +
                                std::to_string(entries.size() + 1) + "番目の信号の位置）"};
        }
    }
    return entries;
}

Signal readSignal(const Json5Value& entry, int ordinal, NameList& ignored)
{
    Signal signal;
    signal.ordinal = ordinal;
    for (const Json5Member& member : entry.members)
        if (member.key != "name" && member.key != "wave" && member.key != "period") ignored.add(member.key);

    if (const Json5Value* name = entry.find("name")) {
        if (name->kind != Json5Value::Kind::String)
            throw ImportFailure{byPlace(ordinal) + "の name が文字列ではありません"};
        signal.name = name->string;
    }
    if (const Json5Value* wave = entry.find("wave")) {
        if (wave->kind != Json5Value::Kind::String)
            throw ImportFailure{describe(signal) + "の wave が文字列ではありません"};
        signal.wave = wave->string;
    }
    if (const Json5Value* period = entry.find("period")) {
        if (period->kind != Json5Value::Kind::Number)
            throw ImportFailure{describe(signal) + "の period が数値ではありません"};
        const double p = period->number;
        if (!(p >= 1 && p <= kMaxPeriod) || p != std::floor(p))
            throw ImportFailure{describe(signal) + "の period（" + numberText(p) +
                                "）は1～99の整数でなければなりません"};
        signal.period = static_cast<int>(p);
    }
    for (size_t i = 0; i < signal.wave.size(); ++i) {
        const char ch = signal.wave[i];
        if (isClock(ch) || isRepeat(ch) || levelOf(ch) >= 0) continue;
        // Every character before this one is ASCII, so i + 1 is its place in characters.
        size_t end = i;
        if (decodeUtf8(signal.wave, end) == kInvalidCodePoint) end = i + 1;
        throw ImportFailure{describe(signal) + "の wave に使えない文字「" +
                            printable(signal.wave.substr(i, end - i)) + "」があります（" +
                            std::to_string(i + 1) + "文字目）"};
    }
    return signal;
}

std::string encodeName(const Signal& signal)
{
    if (signal.name.find('\r') != std::string::npos)
        throw ImportFailure{describe(signal) + "の名前に改行（CR）があります。CR を含む名前は保存できません"};
    std::optional<std::string> bytes = utf16ToCp932(utf8ToUtf16(signal.name));
    if (!bytes)
        throw ImportFailure{describe(signal) + "の名前に CP932（Shift_JIS）で表せない文字があります"};
    return std::move(*bytes);
}

// Writes one WaveJSON step of `width` columns from `column` on, cut at `lastColumn`.
void writeStep(TCell& chart, int row, int column, int width, char ch, int lastColumn)
{
    const int end = std::min(column + width - 1, lastColumn);
    if (!isClock(ch)) {
        for (int c = column; c <= end; ++c) chart.level[c][row] = levelOf(ch);
        return;
    }
    const int32_t first = ch == 'p' || ch == 'P' ? kLevelHigh : kLevelLow;
    for (int c = column; c <= end; ++c) chart.level[c][row] = c < column + width / 2 ? first : invertLevel(first);
    // An arrow only where its edge is: level[0] is low in a fresh record, so a P at
    // the first column rises from it, while an N there has no cell to carry its arrow.
    if (ch == 'P' && chart.level[column - 1][row] == kLevelLow)
        chart.cellFlags[column][row] |= kFlagRisingArrow;
    if (ch == 'N' && column >= 2 && chart.level[column - 1][row] == kLevelHigh)
        chart.cellFlags[column - 1][row] |= kFlagFallingArrow;
}

void writeSignal(TCell& chart, int row, const Signal& signal, int columnsPerUnit, int steps)
{
    const int width = signal.period * columnsPerUnit;
    char previous = 0;
    size_t i = 0;
    for (int column = 1; column <= steps; column += width) {
        char ch;
        if (i < signal.wave.size()) {
            ch = signal.wave[i++];
            if (isRepeat(ch)) ch = previous ? previous : 'x';
        } else {
            ch = previous ? previous : '0';  // padding; a signal without steps stays low
        }
        writeStep(chart, row, column, width, ch, steps);
        previous = ch;
    }
}

WaveJsonImportResult importOrThrow(std::string_view text)
{
    const Json5Result parsed = parseJson5(text);
    if (!parsed.ok) throw ImportFailure{"WaveJSON として読めません（" + parsed.errorMessage() + "）"};
    const Json5Value& root = parsed.value;
    if (root.kind != Json5Value::Kind::Object)
        throw ImportFailure{"WaveJSON の最上位は { signal: [...] } の形のオブジェクトでなければなりません"};
    const Json5Value* signalArray = root.find("signal");
    if (!signalArray || signalArray->kind != Json5Value::Kind::Array)
        throw ImportFailure{"WaveJSON に signal 配列がありません"};

    NameList ignored;
    NameList captions;
    for (const Json5Member& member : root.members)
        if (member.key != "signal") ignored.add(member.key);
    const std::vector<const Json5Value*> entries = flattenSignals(*signalArray, captions);
    if (entries.size() > static_cast<size_t>(kMaxSignals))
        throw ImportFailure{"信号が" + std::to_string(entries.size()) + "本あります。取り込めるのは99本までです"};

    std::vector<Signal> signals;
    bool anyClock = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        signals.push_back(readSignal(*entries[i], static_cast<int>(i + 1), ignored));
        anyClock = anyClock || std::any_of(signals.back().wave.begin(), signals.back().wave.end(), isClock);
    }
    const int columnsPerUnit = anyClock ? 2 : 1;
    size_t steps = 0;
    for (const Signal& signal : signals)
        steps = std::max(steps, signal.wave.size() * static_cast<size_t>(signal.period * columnsPerUnit));
    if (steps > static_cast<size_t>(kMaxSteps)) {
        std::string message = "ステップが" + std::to_string(steps) + "あります。取り込めるのは99ステップまでです";
        if (anyClock) message += "（クロック p, n, P, N があるため、1ステップを2列にしています）";
        throw ImportFailure{message};
    }

    auto chart = std::make_unique<TCell>();
    for (size_t i = 0; i < signals.size(); ++i) {
        const int row = static_cast<int>(i + 1);
        chart->signalName[row] = encodeName(signals[i]);
        writeSignal(*chart, row, signals[i], columnsPerUnit, static_cast<int>(steps));
    }

    WaveJsonImportResult result;
    result.colCount = static_cast<int32_t>(steps) + 1;
    result.rowCount = static_cast<int32_t>(signals.size()) + 1;
    result.colWidths.assign(static_cast<size_t>(result.colCount), grid_defaults::kColWidth);
    result.colWidths[0] = grid_defaults::kNameColumnWidth;
    chart->colCount = result.colCount;
    chart->rowCount = result.rowCount;
    result.chart = std::move(chart);
    if (!ignored.empty())
        result.warnings.push_back("チャートに取り込めない次の項目は無視しました: " + ignored.joined());
    if (!captions.empty())
        result.warnings.push_back("グループの見出しは取り込めないため無視しました: " + captions.joined());
    result.ok = true;
    return result;
}

void appendJsonString(std::string& out, std::string_view utf8)
{
    out += '"';
    for (const char ch : utf8) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                char code[16];
                std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(ch));
                out += code;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

// A row's name as the text written, refused when the import would refuse it: the file
// would be written and then never read back.
std::u16string exportedName(const std::string& bytes, int row)
{
    std::u16string name = cp932ToUtf16(bytes);
    if (!utf16ToCp932(name))
        throw std::invalid_argument(std::to_string(row) +
                                    " 行目の信号名に CP932 として正しくないバイトがあるため、WaveJSON に書き出せません");
    if (name.find(u'\r') != std::u16string::npos)
        throw std::invalid_argument(std::to_string(row) +
                                    " 行目の信号名に改行（CR）があるため、WaveJSON に書き出せません");
    return name;
}

char waveCharOf(int32_t level)
{
    if (level == kLevelLow) return '0';
    if (level == kLevelHigh) return '1';
    return 'x';
}

}  // namespace

WaveJsonExport exportWaveJson(const TCell& chart, const GridLayout& layout)
{
    const int colCount = layout.colCount();
    const int rowCount = layout.rowCount();
    const std::vector<int32_t>& colWidths = layout.colWidths;
    if (colCount < 1 || colCount > kMaxCols) throw std::invalid_argument("列数が1～100の範囲外です");
    if (rowCount < 1 || rowCount > kMaxRows) throw std::invalid_argument("行数が1～100の範囲外です");

    bool delays = false, arrows = false, labels = false, timingLines = false, widths = false;
    std::string out = "{\n  \"signal\": [";
    for (int r = 1; r < rowCount; ++r) {
        out += r == 1 ? "\n    { \"name\": " : ",\n    { \"name\": ";
        appendJsonString(out, utf16ToUtf8(exportedName(chart.signalName[r], r)));
        out += ", \"wave\": \"";
        char previous = 0;
        for (int c = 1; c < colCount; ++c) {
            const char ch = waveCharOf(chart.level[c][r]);
            out += ch == previous ? '.' : ch;
            previous = ch;
            delays = delays || chart.delay[c][r] != 0;
            arrows = arrows || (chart.cellFlags[c][r] & (kFlagRisingArrow | kFlagFallingArrow));
            labels = labels || (chart.cellFlags[c][r] & kFlagShowNumber);
        }
        out += "\" }";
    }
    out += rowCount > 1 ? "\n  ]\n}\n" : "]\n}\n";

    for (int c = 1; c < colCount; ++c) timingLines = timingLines || chart.timingLine[c] == 1;
    for (size_t c = 0; c < colWidths.size() && c < static_cast<size_t>(colCount); ++c)
        widths = widths || colWidths[c] != (c == 0 ? grid_defaults::kNameColumnWidth : grid_defaults::kColWidth);

    WaveJsonExport result;
    result.text = std::move(out);
    std::vector<std::string_view> leftOut;
    if (delays) leftOut.push_back("遅延");
    if (arrows) leftOut.push_back("エッジの矢印");
    if (labels) leftOut.push_back("数値表示");
    if (timingLines) leftOut.push_back("タイミング線");
    if (widths) leftOut.push_back("列幅");
    result.attributesLeftOut = !leftOut.empty();
    if (result.attributesLeftOut) {
        result.notice = "WaveJSON で表せない";
        for (size_t i = 0; i < leftOut.size(); ++i) {
            if (i > 0) result.notice += "、";
            result.notice += leftOut[i];
        }
        result.notice += "は書き出していません";
    }
    return result;
}

WaveJsonImportResult importWaveJson(std::string_view text)
{
    try {
        return importOrThrow(text);
    } catch (const ImportFailure& failure) {
        WaveJsonImportResult result;
        result.errorMessage = failure.message;
        return result;
    }
}
