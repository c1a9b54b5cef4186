// The export side of WaveJSON; the import is in WaveJsonImport.cpp.
#include "formats/WaveJson.h"

#include "text/Cp932.h"
#include "text/Utf8.h"

#include <cstdio>

namespace solvena {

namespace {

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
        throw ReasonError(Reason(ReasonKind::WaveExportNameNotCp932, {row}));
    if (name.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string::npos)
        throw ReasonError(Reason(ReasonKind::WaveExportNameLineBreakOrNul, {row}));
    return name;
}

char waveCharOf(int32_t level)
{
    if (level == kLevelLow) return '0';
    if (level == kLevelHigh) return '1';
    return 'x';
}

}  // namespace

WaveJsonExport writeWaveJson(const TCell& chart, const GridLayout& layout)
{
    const int colCount = layout.colCount();
    const int rowCount = layout.rowCount();
    const std::vector<int32_t>& colWidths = layout.colWidths;
    if (colCount < 1 || colCount > kMaxCols)
        throw ReasonError(Reason(ReasonKind::ChartColumnCountRange, {1, kMaxCols}));
    if (rowCount < 1 || rowCount > kMaxRows)
        throw ReasonError(Reason(ReasonKind::ChartRowCountRange, {1, kMaxRows}));

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
    std::vector<ReasonArg> leftOut;
    if (delays) leftOut.emplace_back(Reason(ReasonKind::WaveExportDelays));
    if (arrows) leftOut.emplace_back(Reason(ReasonKind::WaveExportArrows));
    if (labels) leftOut.emplace_back(Reason(ReasonKind::WaveExportNumberLabels));
    if (timingLines) leftOut.emplace_back(Reason(ReasonKind::WaveExportTimingLines));
    if (widths) leftOut.emplace_back(Reason(ReasonKind::WaveExportColumnWidths));
    result.attributesLeftOut = !leftOut.empty();
    if (result.attributesLeftOut)
        result.notice = Reason(ReasonKind::WaveExportLeftOut, {Reason(ReasonKind::List, std::move(leftOut))});
    return result;
}

}  // namespace solvena
