#include "storage/ChartFile.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

// Thrown inside the reader only; LoadChart turns it into a result.
struct ReadFailure {
    size_t position;
    const char* reason;
};

// Walks the bytes with the reading rules of the format.
class ChartReader {
public:
    explicit ChartReader(std::string_view bytes) : bytes_(bytes) {}

    size_t position() const { return pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    bool lineEnded() const { return atEnd() || bytes_[pos_] == kCR; }

    // Callers are always at a CR or at the end here.
    void nextLine()
    {
        if (atEnd()) return;
        ++pos_;
        if (!atEnd() && bytes_[pos_] == kLF) ++pos_;
    }

    std::string_view restOfLine()
    {
        const size_t start = pos_;
        while (!lineEnded()) ++pos_;
        return bytes_.substr(start, pos_ - start);
    }

    int32_t number()
    {
        while (!atEnd() && isSeparator(bytes_[pos_])) ++pos_;
        if (atEnd()) return 0;
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
            throw ReadFailure{at, "整数でない値があります"};
        int32_t value = 0;
        const auto [end, ec] = std::from_chars(first, last, value);
        if (ec == std::errc::result_out_of_range)
            throw ReadFailure{at, "数値が32ビットの範囲を超えています"};
        if (ec != std::errc() || end != last)
            throw ReadFailure{at, "整数でない値があります"};
        return value;
    }

    std::string_view bytes_;
    size_t pos_ = 0;
};

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

std::string SaveChart(const TCell& chart, const GridLayout& layout)
{
    const std::vector<int32_t>& colWidths = layout.colWidths;
    const int32_t rowCount = layout.rowCount();
    const auto colCount = static_cast<int32_t>(colWidths.size());
    if (colCount < 1 || colCount > kMaxCols)
        throw std::invalid_argument("列数が1～100の範囲外です");
    if (rowCount < 1 || rowCount > kMaxRows)
        throw std::invalid_argument("行数が1～100の範囲外です");
    for (const int32_t width : colWidths)
        if (width < 0 || width > kMaxColumnWidth)
            throw std::invalid_argument("列幅が0～10000の範囲外です");
    for (int32_t r = 1; r < rowCount; ++r)
        if (chart.signalName[r].find(kCR) != std::string::npos)
            throw std::invalid_argument("信号名に改行文字を含めて保存することはできません");

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

ChartLoadResult LoadChart(std::string_view bytes)
{
    ChartLoadResult result;
    auto chart = std::make_unique<TCell>();
    ChartReader reader(bytes);
    std::vector<int32_t> widths;
    try {
        while (!reader.lineEnded()) {
            if (widths.size() == static_cast<size_t>(kMaxCols))
                throw ReadFailure{reader.nextTokenPosition(), "列が100を超えています"};
            const size_t at = reader.nextTokenPosition();
            const int32_t width = reader.number();
            if (width < 0 || width > kMaxColumnWidth)
                throw ReadFailure{at, "列幅が0～10000の範囲外です"};
            chart->timingLine[widths.size()] = reader.number();
            widths.push_back(width);
        }
        reader.nextLine();

        int32_t row = 1;
        int32_t colCount = std::max<int32_t>(1, static_cast<int32_t>(widths.size()));
        while (!reader.atEnd()) {
            if (row == kMaxRows)
                throw ReadFailure{reader.position(), "信号が99を超えています"};
            chart->signalName[row] = std::string(reader.restOfLine());
            reader.nextLine();
            int32_t step = 1;
            while (!reader.lineEnded()) {
                if (step == kMaxCols)
                    throw ReadFailure{reader.nextTokenPosition(), "ステップが99を超えています"};
                chart->level[step][row] = reader.number();
                chart->delay[step][row] = reader.number();
                chart->cellFlags[step][row] = static_cast<uint8_t>(reader.number() & 0xFF);
                ++step;
            }
            reader.nextLine();
            colCount = step;
            ++row;
        }

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
    } catch (const ReadFailure& failure) {
        result = ChartLoadResult{};
        result.errorLine = lineOf(bytes, failure.position);
        result.errorReason = failure.reason;
    }
    return result;
}
