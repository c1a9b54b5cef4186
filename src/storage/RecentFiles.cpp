#include "storage/RecentFiles.h"

#include "storage/ProfileFile.h"

#include <algorithm>
#include <optional>

namespace solvena {

namespace {

constexpr std::string_view kSection = "Recent";

std::string keyOf(size_t index)
{
    return "File" + std::to_string(index + 1);
}

// Values lose blanks at their edges and one pair of enclosing quotes when read, so a
// path that would lose either is written in quotes, which reading takes off again.
std::string quotedIfNeeded(const std::string& path)
{
    const bool blankEdge = path.front() == ' ' || path.front() == '\t' || path.back() == ' ' || path.back() == '\t';
    const bool quoted = path.size() >= 2 && (path.front() == '"' || path.front() == '\'') && path.back() == path.front();
    return blankEdge || quoted ? '"' + path + '"' : path;
}

}  // namespace

std::vector<std::string> readRecentFiles(std::string_view ini)
{
    std::vector<std::string> files;
    for (size_t i = 0; i < kMaxRecentFiles; ++i) {
        const std::optional<std::string> path = readProfileString(ini, kSection, keyOf(i));
        if (path && !path->empty() && std::find(files.begin(), files.end(), *path) == files.end())
            files.push_back(*path);
    }
    return files;
}

std::string writeRecentFiles(std::string_view ini, const std::vector<std::string>& files)
{
    // Written afresh, so that a hand-made repeat of a key cannot outlive the list.
    std::string bytes(ini);
    for (size_t i = 0; i < kMaxRecentFiles; ++i)
        bytes = removeProfileKey(bytes, kSection, keyOf(i));
    size_t written = 0;
    for (const std::string& path : files) {
        if (written == kMaxRecentFiles)
            break;
        if (!path.empty() && path.find_first_of("\r\n") == std::string::npos)
            bytes = writeProfileString(bytes, kSection, keyOf(written++), quotedIfNeeded(path));
    }
    return bytes;
}

std::vector<std::string> withRecentFile(std::vector<std::string> files, const std::string& path)
{
    std::erase(files, path);
    files.insert(files.begin(), path);
    if (files.size() > kMaxRecentFiles)
        files.resize(kMaxRecentFiles);
    return files;
}

}  // namespace solvena
