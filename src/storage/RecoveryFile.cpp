#include "storage/RecoveryFile.h"

#include <charconv>

namespace {

constexpr std::string_view kMagic = "SOLVENA-RECOVERY 1\r\n";
constexpr std::string_view kLineBreak = "\r\n";

void putField(std::string& out, std::string_view key, std::string_view value)
{
    out += key;
    out += ' ';
    out += std::to_string(value.size());
    out += kLineBreak;
    out += value;
    out += kLineBreak;
}

// Reads "key N CR LF", N bytes, CR LF from the front of `bytes`.
bool takeField(std::string_view& bytes, std::string_view key, std::string& value)
{
    if (bytes.substr(0, key.size() + 1) != std::string(key) + ' ')
        return false;
    bytes.remove_prefix(key.size() + 1);
    size_t size = 0;
    const auto [end, ec] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), size);
    if (ec != std::errc() || end == bytes.data())
        return false;
    bytes.remove_prefix(static_cast<size_t>(end - bytes.data()));
    if (bytes.substr(0, 2) != kLineBreak || bytes.size() < 2 + size + 2)
        return false;
    value.assign(bytes.substr(2, size));
    bytes.remove_prefix(2 + size);
    if (bytes.substr(0, 2) != kLineBreak)
        return false;
    bytes.remove_prefix(2);
    return true;
}

}  // namespace

std::string SaveRecovery(const TCell& chart, const GridLayout& layout, std::string_view documentPath,
                         std::string_view caption)
{
    std::string out(kMagic);
    putField(out, "path", documentPath);
    putField(out, "caption", caption);
    out += SaveChart(chart, layout);
    return out;
}

RecoveryLoadResult LoadRecovery(std::string_view bytes)
{
    RecoveryLoadResult result;
    if (bytes.substr(0, kMagic.size()) != kMagic) {
        result.error = "復元用のファイルではありません";
        return result;
    }
    bytes.remove_prefix(kMagic.size());
    if (!takeField(bytes, "path", result.documentPath) || !takeField(bytes, "caption", result.caption)) {
        result = {};
        result.error = "復元用のファイルの見出しが壊れています";
        return result;
    }
    result.chart = LoadChart(bytes);
    if (!result.chart.ok) {
        const int line = result.chart.errorLine;
        const std::string reason = result.chart.errorReason;
        result = {};
        result.error = "図の " + std::to_string(line) + " 行目: " + reason;
        return result;
    }
    result.ok = true;
    return result;
}
