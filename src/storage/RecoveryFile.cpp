#include "storage/RecoveryFile.h"

#include <charconv>

namespace solvena {

namespace {

constexpr std::string_view kMagic = "SOLVENA-RECOVERY 2\r\n";
constexpr std::string_view kMagicVersion1 = "SOLVENA-RECOVERY 1\r\n";
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
    if (bytes.substr(0, key.size()) != key || bytes.substr(key.size(), 1) != " ")
        return false;
    bytes.remove_prefix(key.size() + 1);
    size_t size = 0;
    const auto [end, ec] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), size);
    if (ec != std::errc() || end == bytes.data())
        return false;
    bytes.remove_prefix(static_cast<size_t>(end - bytes.data()));
    // The two line breaks around the value are counted apart from the length read,
    // which may be anything up to the largest size_t.
    if (bytes.substr(0, 2) != kLineBreak || bytes.size() < 4 || size > bytes.size() - 4)
        return false;
    value.assign(bytes.substr(2, size));
    bytes.remove_prefix(2 + size);
    if (bytes.substr(0, 2) != kLineBreak)
        return false;
    bytes.remove_prefix(2);
    return true;
}

std::string identityText(const std::optional<FileIdentity>& identity)
{
    if (!identity)
        return {};
    return std::to_string(identity->size) + ' ' + std::to_string(identity->modifiedNs);
}

// "<size> <modified ns>", or nothing; false for anything else.
bool parseIdentity(std::string_view text, std::optional<FileIdentity>& identity)
{
    identity.reset();
    if (text.empty())
        return true;
    FileIdentity parsed;
    const char* const last = text.data() + text.size();
    const auto [sizeEnd, sizeError] = std::from_chars(text.data(), last, parsed.size);
    if (sizeError != std::errc() || sizeEnd == last || *sizeEnd != ' ' || parsed.size < 0)
        return false;
    const auto [end, error] = std::from_chars(sizeEnd + 1, last, parsed.modifiedNs);
    if (error != std::errc() || end != last)
        return false;
    identity = parsed;
    return true;
}

}  // namespace

std::string writeRecovery(const TCell& chart, const GridLayout& layout, const ChartOrigin& origin)
{
    std::string out(kMagic);
    putField(out, "path", origin.path);
    putField(out, "identity", identityText(origin.identity));
    out += writeChart(chart, layout);
    return out;
}

RecoveryLoadResult readRecovery(std::string_view bytes)
{
    RecoveryLoadResult result;
    const bool version1 = bytes.substr(0, kMagicVersion1.size()) == kMagicVersion1;
    if (!version1 && bytes.substr(0, kMagic.size()) != kMagic) {
        result.error = ReasonKind::RecoveryNotACopy;
        return result;
    }
    bytes.remove_prefix(kMagic.size());
    std::string second;
    const bool headerRead = takeField(bytes, "path", result.origin.path) &&
                            takeField(bytes, version1 ? "caption" : "identity", second) &&
                            (version1 || parseIdentity(second, result.origin.identity));
    if (!headerRead) {
        result = {};
        result.error = ReasonKind::RecoveryHeaderDamaged;
        return result;
    }
    result.chart = readChart(bytes);
    if (!result.chart.ok) {
        const int line = result.chart.errorLine;
        Reason reason = std::move(result.chart.errorReason);
        result = {};
        result.error = Reason(ReasonKind::RecoveryChartAt, {line, std::move(reason)});
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace solvena
