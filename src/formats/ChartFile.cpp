#include "formats/ChartFile.h"

#include "text/Reason.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace solvena {

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kNUL = '\0';

// Thrown inside the reader only; readChart turns it into a result.
struct ReadFailure {
    size_t position;
    Reason reason;
};

// Walks the bytes with the reading rules of the format.
class ChartReader {
public:
    explicit ChartReader(std::string_view bytes) : bytes_(bytes) {}

    size_t position() const { return pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    bool lineEnded() const { return atEnd() || bytes_[pos_] == kCR || bytes_[pos_] == kLF; }

    // Callers are always at a line break or at the end here.
    void nextLine()
    {
        if (atEnd()) return;
        if (bytes_[pos_++] == kCR && !atEnd() && bytes_[pos_] == kLF) ++pos_;
    }

    std::string_view restOfLine()
    {
        const size_t start = pos_;
        while (!lineEnded()) ++pos_;
        return bytes_.substr(start, pos_ - start);
    }

    // True once a number was missing because the bytes had ended.
    bool ranOut() const { return ranOut_; }

    int32_t number()
    {
        while (!atEnd() && isSeparator(bytes_[pos_])) ++pos_;
        if (atEnd()) {
            ranOut_ = true;
            return 0;
        }
        const size_t start = pos_;
        while (!atEnd() && !isSeparator(bytes_[pos_])) ++pos_;
        return parse(bytes_.substr(start, pos_ - start), start);
    }

    // Where the next token would begin; failures that are not about a token's
    // spelling point there.
    size_t nextTokenPosition() const
    {
        size_t p = pos_;
        while (p < bytes_.size() && isSeparator(bytes_[p])) ++p;
        return p;
    }

private:
    static bool isSeparator(char ch) { return static_cast<unsigned char>(ch) <= 0x20; }

    static int32_t parse(std::string_view token, size_t at)
    {
        const char* first = token.data();
        const char* last = token.data() + token.size();
        if (*first == '+') ++first;  // from_chars takes "-" but not "+"
        // A second sign ("+-1") must not slip through.
        if (first != token.data() && first != last && *first == '-')
            throw ReadFailure{at, ReasonKind::ChartNotInteger};
        int32_t value = 0;
        const auto [end, ec] = std::from_chars(first, last, value);
        if (ec == std::errc::result_out_of_range)
            throw ReadFailure{at, ReasonKind::ChartBeyond32Bits};
        if (ec != std::errc() || end != last)
            throw ReadFailure{at, ReasonKind::ChartNotInteger};
        return value;
    }

    std::string_view bytes_;
    size_t pos_ = 0;
    bool ranOut_ = false;
};

// The first place where the bytes are not as the writer makes them.
struct Inconsistency {
    size_t position = 0;
    Reason reason;

    bool found() const { return !reason.empty(); }
    void note(size_t at, Reason why)
    {
        if (!found()) {
            position = at;
            reason = std::move(why);
        }
    }
};

constexpr ReasonKind kEndsInsideALine = ReasonKind::ChartEndsInsideLine;

// 1-based line of a byte position; CR LF, a lone CR and a lone LF each end a line.
int lineOf(std::string_view bytes, size_t position)
{
    position = std::min(position, bytes.size());
    int line = 1;
    for (size_t i = 0; i < position; ++i) {
        if (bytes[i] == kLF) ++line;
        else if (bytes[i] == kCR && (i + 1 >= bytes.size() || bytes[i + 1] != kLF)) ++line;
    }
    return line;
}

}  // namespace

std::string writeChart(const TCell& chart, const GridLayout& layout)
{
    const std::vector<int32_t>& colWidths = layout.colWidths;
    const int32_t rowCount = layout.rowCount();
    const auto colCount = static_cast<int32_t>(colWidths.size());
    if (colCount < 1 || colCount > kMaxCols)
        throw ReasonError(Reason(ReasonKind::ChartColumnCountRange, {1, kMaxCols}));
    if (rowCount < 1 || rowCount > kMaxRows)
        throw ReasonError(Reason(ReasonKind::ChartRowCountRange, {1, kMaxRows}));
    for (const int32_t width : colWidths)
        if (width < 0 || width > kMaxColumnWidth)
            throw ReasonError(Reason(ReasonKind::ChartColumnWidthRange, {0, kMaxColumnWidth}));
    for (int32_t r = 1; r < rowCount; ++r) {
        const std::string& name = chart.signalName[r];
        if (name.find_first_of("\r\n") != std::string::npos)
            throw ReasonError(Reason(ReasonKind::ChartNameLineBreak, {r}));
        if (name.find(kNUL) != std::string::npos)
            throw ReasonError(Reason(ReasonKind::ChartNameNul, {r}));
    }

    // Every number fits 11 characters and a blank; filling a buffer of that bound
    // through a cursor is several times faster than appending piece by piece.
    constexpr size_t kNumberRoom = 12;
    size_t bound = static_cast<size_t>(colCount) * 2 * kNumberRoom + 2;
    for (int32_t r = 1; r < rowCount; ++r)
        bound += chart.signalName[r].size() + 4 + static_cast<size_t>(colCount) * 3 * kNumberRoom;
    std::string out(bound, '\0');
    char* cursor = out.data();
    const auto put = [&cursor](int32_t value) {
        cursor = std::to_chars(cursor, cursor + kNumberRoom, value).ptr;
    };
    const auto lineBreak = [&cursor] {
        *cursor++ = kCR;
        *cursor++ = kLF;
    };
    for (int32_t c = 0; c < colCount; ++c) {
        if (c > 0) *cursor++ = ' ';
        put(colWidths[static_cast<size_t>(c)]);
        *cursor++ = ' ';
        put(chart.timingLine[c]);
    }
    lineBreak();
    for (int32_t r = 1; r < rowCount; ++r) {
        const std::string& name = chart.signalName[r];
        cursor = std::copy(name.begin(), name.end(), cursor);
        lineBreak();
        for (int32_t c = 1; c < colCount; ++c) {
            if (c > 1) *cursor++ = ' ';
            put(chart.level[c][r]);
            *cursor++ = ' ';
            put(chart.delay[c][r]);
            *cursor++ = ' ';
            put(chart.cellFlags[c][r]);
        }
        if (r < rowCount - 1) lineBreak();
    }
    out.resize(static_cast<size_t>(cursor - out.data()));
    return out;
}

LoadedChart readChart(std::string_view bytes)
{
    LoadedChart result;
    auto chart = std::make_unique<TCell>();
    ChartReader reader(bytes);
    std::vector<int32_t> widths;
    Inconsistency inconsistency;
    try {
        // Checked first so that debris never reaches the name lines, where the
        // rules would take it as part of a name.
        if (const size_t nul = bytes.find(kNUL); nul != std::string_view::npos)
            throw ReadFailure{nul, ReasonKind::ChartNulByte};
        if (bytes.empty())
            inconsistency.note(0, ReasonKind::ChartEmpty);
        while (!reader.lineEnded()) {
            if (widths.size() == static_cast<size_t>(kMaxCols))
                throw ReadFailure{reader.nextTokenPosition(), Reason(ReasonKind::ChartTooManyColumns, {kMaxCols})};
            const size_t at = reader.nextTokenPosition();
            const int32_t width = reader.number();
            if (width < 0 || width > kMaxColumnWidth)
                throw ReadFailure{at, Reason(ReasonKind::ChartColumnWidthRange, {0, kMaxColumnWidth})};
            chart->timingLine[widths.size()] = reader.number();
            widths.push_back(width);
        }
        if (reader.atEnd())
            inconsistency.note(reader.position(), kEndsInsideALine);
        reader.nextLine();

        const auto headerSteps = static_cast<int32_t>(std::max<size_t>(widths.size(), 1) - 1);
        int32_t row = 1;
        int32_t longestStep = -1;  // no data line yet
        while (!reader.atEnd()) {
            if (row == kMaxRows)
                throw ReadFailure{reader.position(), Reason(ReasonKind::ChartTooManySignals, {kMaxRows - 1})};
            const size_t nameStart = reader.position();
            chart->signalName[row] = std::string(reader.restOfLine());
            if (reader.atEnd())
                inconsistency.note(nameStart, kEndsInsideALine);
            reader.nextLine();
            const size_t lineStart = reader.position();
            size_t cutTriple = std::string_view::npos;
            int32_t step = 1;
            while (!reader.lineEnded()) {
                if (step == kMaxCols)
                    throw ReadFailure{reader.nextTokenPosition(), Reason(ReasonKind::ChartTooManySteps, {kMaxCols - 1})};
                const size_t tripleStart = reader.position();
                chart->level[step][row] = reader.number();
                chart->delay[step][row] = reader.number();
                chart->cellFlags[step][row] = static_cast<uint8_t>(reader.number() & 0xFF);
                if (reader.ranOut() && cutTriple == std::string_view::npos)
                    cutTriple = tripleStart;
                ++step;
            }
            const int32_t steps = step - 1;
            if (steps != headerSteps)
                inconsistency.note(lineStart, Reason(ReasonKind::ChartStepsDisagree, {steps, headerSteps}));
            if (cutTriple != std::string_view::npos)
                inconsistency.note(cutTriple, kEndsInsideALine);
            reader.nextLine();
            longestStep = std::max(longestStep, step);
            ++row;
        }
        const int32_t colCount =
            longestStep >= 1 ? longestStep : std::max<int32_t>(1, static_cast<int32_t>(widths.size()));

        result.colCount = colCount;
        result.rowCount = row;
        result.colWidths.resize(static_cast<size_t>(colCount));
        for (size_t c = 0; c < result.colWidths.size(); ++c) {
            if (c < widths.size())
                result.colWidths[c] = widths[c];
            else
                result.colWidths[c] = c == 0 ? grid_defaults::kNameColumnWidth : grid_defaults::kColWidth;
        }
        chart->colCount = colCount;
        chart->rowCount = row;
        result.chart = std::move(chart);
        result.ok = true;
        if (inconsistency.found()) {
            result.warningLine = lineOf(bytes, inconsistency.position);
            result.warningReason = std::move(inconsistency.reason);
        }
    } catch (const ReadFailure& failure) {
        result = LoadedChart{};
        result.errorLine = lineOf(bytes, failure.position);
        result.errorReason = failure.reason;
    }
    return result;
}

}  // namespace solvena
