#include "storage/ProfileFile.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace solvena {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isCp932LeadByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Only ASCII letters fold: the trail byte of a CP932 double-byte character may look
// like a letter, yet "\x83\x41" and "\x83\x61" are different katakana.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && asciiLower(a[i]) != asciiLower(b[i]))
            return false;
        if (isCp932LeadByte(a[i]) && i + 1 < a.size()) {
            ++i;
            if (a[i] != b[i])
                return false;
        }
    }
    return true;
}

struct Line {
    size_t begin;
    size_t contentEnd;  // where the line break starts
    size_t end;         // after the line break
};

// Editors on other systems put a UTF-8 byte-order mark before the first line. It is
// no part of that line, so a header behind it still counts, and since every write
// copies the bytes before a line untouched, the mark stays as it was.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

size_t bodyStart(std::string_view ini)
{
    return ini.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

std::vector<Line> splitLines(std::string_view ini)
{
    std::vector<Line> lines;
    size_t pos = bodyStart(ini);
    while (pos < ini.size()) {
        const auto lf = ini.find('\n', pos);
        if (lf == std::string_view::npos) {
            lines.push_back({pos, ini.size(), ini.size()});
            break;
        }
        const size_t contentEnd = lf > pos && ini[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back({pos, contentEnd, lf + 1});
        pos = lf + 1;
    }
    return lines;
}

std::optional<std::string_view> sectionHeader(std::string_view content)
{
    const auto text = trimBlanks(content);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimBlanks(text.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view content)
{
    const auto text = trimBlanks(content);
    if (text.empty() || text.front() == ';')
        return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyLine{trimBlanks(text.substr(0, equals)), trimBlanks(text.substr(equals + 1))};
}

// The parsed view of one file: its lines, and where the wanted section and key are.
struct Lookup {
    std::vector<Line> lines;
    std::optional<size_t> header;    // line index of the section's header
    std::optional<size_t> key;       // line index of the key
    std::optional<size_t> lastKey;   // line index of the section's last key line
};

Lookup lookUp(std::string_view ini, std::string_view section, std::string_view key)
{
    Lookup found;
    found.lines = splitLines(ini);
    const auto content = [&](size_t i) {
        const Line& line = found.lines[i];
        return ini.substr(line.begin, line.contentEnd - line.begin);
    };
    size_t i = 0;
    for (; i < found.lines.size(); ++i) {
        const auto name = sectionHeader(content(i));
        if (name && sameName(*name, section))
            break;
    }
    if (i == found.lines.size())
        return found;
    found.header = i;
    for (++i; i < found.lines.size() && !sectionHeader(content(i)); ++i) {
        const auto entry = keyLine(content(i));
        if (!entry)
            continue;
        found.lastKey = i;
        if (!found.key && sameName(entry->name, key))
            found.key = i;
    }
    return found;
}

std::string_view lineBreakOf(std::string_view ini)
{
    const auto lf = ini.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || ini[lf - 1] != '\r'))
        return "\n";
    return "\r\n";
}

void checkName(std::string_view name, std::string_view what)
{
    if (name.empty() || trimBlanks(name).size() != name.size())
        throw std::invalid_argument(std::string(what) + " name is empty or has blanks around it");
    if (name.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument(std::string(what) + " name holds a line break");
}

}  // namespace

std::optional<std::string> readProfileString(std::string_view ini, std::string_view section,
                                             std::string_view key)
{
    const Lookup found = lookUp(ini, section, key);
    if (!found.key)
        return std::nullopt;
    const Line& line = found.lines[*found.key];
    auto value = keyLine(ini.substr(line.begin, line.contentEnd - line.begin))->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string writeProfileString(std::string_view ini, std::string_view section, std::string_view key,
                               std::string_view value)
{
    checkName(section, "section");
    checkName(key, "key");
    if (section.find(']') != std::string_view::npos)
        throw std::invalid_argument("section name holds \"]\"");
    if (key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[')
        throw std::invalid_argument("key name holds \"=\" or starts with \";\" or \"[\"");
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument("value holds a line break");

    const Lookup found = lookUp(ini, section, key);
    const std::string_view lineBreak = lineBreakOf(ini);
    std::string result;
    result.reserve(ini.size() + section.size() + key.size() + value.size() + 8);

    if (found.key) {
        const Line& line = found.lines[*found.key];
        const auto name = keyLine(ini.substr(line.begin, line.contentEnd - line.begin))->name;
        result.append(ini.substr(0, line.begin)).append(name).append("=").append(value);
        result.append(ini.substr(line.contentEnd));
        return result;
    }

    // New lines go in at byte `at`; a last line without its break gets one first.
    const auto insertAt = [&](size_t at, bool brokenBefore, std::string_view lines) {
        result.append(ini.substr(0, at));
        if (!brokenBefore)
            result.append(lineBreak);
        result.append(lines);
        result.append(ini.substr(at));
    };
    const std::string keyText = std::string(key) + "=" + std::string(value) + std::string(lineBreak);

    if (found.header) {
        const Line& after = found.lines[found.lastKey.value_or(*found.header)];
        insertAt(after.end, after.end != after.contentEnd, keyText);
        return result;
    }
    const bool endsBroken = ini.size() == bodyStart(ini) || ini.back() == '\n';
    insertAt(ini.size(), endsBroken,
                "[" + std::string(section) + "]" + std::string(lineBreak) + keyText);
    return result;
}

std::string removeProfileKey(std::string_view ini, std::string_view section, std::string_view key)
{
    std::string result(ini);
    for (Lookup found = lookUp(result, section, key); found.key; found = lookUp(result, section, key)) {
        const Line& line = found.lines[*found.key];
        result.erase(line.begin, line.end - line.begin);
    }
    return result;
}

std::optional<int> readProfileInt(std::string_view ini, std::string_view section, std::string_view key)
{
    const std::optional<std::string> text = readProfileString(ini, section, key);
    if (!text || text->empty())
        return std::nullopt;
    // from_chars takes no "+", which an integer may still carry.
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+' && text->size() > 1 && first[1] != '-')
        ++first;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

}  // namespace solvena
