#include "Batch.h"

#include <cerrno>
#include <map>
#include <optional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include "storage/FilePaths.h"
#include "storage/NativePath.h"

#include <QFileInfo>
#endif

namespace solvena {

namespace {

// The chart's file name without its folders and its extension: "sub/a.json" gives
// "a". A name that is all extension (".sbn") keeps it.
std::string stemOf(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (const auto slash = path.find_last_of('/'); slash != std::string::npos)
        path.erase(0, slash + 1);
    if (const auto dot = path.find_last_of('.'); dot != std::string::npos && dot > 0)
        path.erase(dot);
    return path;
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return lower;
}

#ifndef _WIN32
// A file by its numbers, whichever of its names (links, hard links) leads to it.
struct FileKey {
    dev_t device;
    ino_t inode;
    auto operator<=>(const FileKey&) const = default;
};

std::optional<FileKey> fileKeyOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileKey{status.st_dev, status.st_ino};
}
#else
// Windows's stat gives every file the number 0: the file's canonical name stands in.
using FileKey = QString;

std::optional<FileKey> fileKeyOf(const std::string& path)
{
    const QString name = pathFromNativeBytes(path);
    if (!QFileInfo::exists(name))
        return std::nullopt;
    return fileKey(name);
}
#endif

}  // namespace

BatchPlan planBatch(const std::string& outDir, const std::vector<std::string>& charts, std::string_view format)
{
    BatchPlan plan;
    const std::string folder = outDir.ends_with('/') ? outDir : outDir + '/';
    const std::string extension = '.' + lowerCase(format);
    std::map<std::string, const std::string*> chartOf;  // by output
    std::map<FileKey, const std::string*> charted;       // the charts that exist, by file
    for (const std::string& chart : charts) {
        if (const std::optional<FileKey> key = fileKeyOf(chart))
            charted.emplace(*key, &chart);
    }
    for (const std::string& chart : charts) {
        BatchJob job{chart, folder + stemOf(chart) + extension};
        const auto [at, added] = chartOf.emplace(job.output, &chart);
        if (!added) {
            plan.refusal = Reason(ReasonKind::UsageSameOutput, {*at->second, chart, job.output});
            return plan;
        }
        // Writing a chart over itself (a.sbn to the folder it is in, as .sbn) would
        // lose what the conversion leaves out of it.
        if (const std::optional<FileKey> key = fileKeyOf(job.output)) {
            if (const auto same = charted.find(*key); same != charted.end()) {
                plan.refusal = Reason(ReasonKind::UsageOutputIsChart, {job.output, *same->second});
                return plan;
            }
        }
        plan.jobs.push_back(std::move(job));
    }
    return plan;
}

Reason readPathList(int fd, std::vector<std::string>& paths)
{
    std::string line;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Reason(ReasonKind::System, {errno});
        }
        if (n == 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\n') {
                line.push_back(buffer[i]);
            } else if (!line.empty()) {
                paths.push_back(std::move(line));
                line.clear();
            }
        }
    }
    if (!line.empty())
        paths.push_back(std::move(line));
    return {};
}

Reason outputFolderUnusable(const std::string& dir)
{
    struct stat status {};
    if (::stat(dir.c_str(), &status) != 0)
        return Reason(ReasonKind::System, {errno});
    if (!S_ISDIR(status.st_mode))
        return Reason(ReasonKind::System, {ENOTDIR});
    // Every output is a temporary file made in the folder, then renamed there.
    if (::access(dir.c_str(), W_OK | X_OK) != 0)
        return Reason(ReasonKind::System, {errno});
    return {};
}

Progress::Progress(size_t total) : total_(total), terminal_(::isatty(STDERR_FILENO) == 1) {}

Progress::~Progress()
{
    clear();
}

void Progress::show(size_t done, std::string_view name)
{
    if (!terminal_)
        return;
    // Carriage return, the line, then erase what a longer line before left.
    std::string line = "\rsolvena-render: " + std::to_string(done) + '/' + std::to_string(total_) + ' ';
    line.append(name);
    line += "\x1b[K";
    shown_ = ::write(STDERR_FILENO, line.data(), line.size()) > 0;
}

void Progress::clear()
{
    if (!shown_)
        return;
    constexpr std::string_view erase = "\r\x1b[K";
    // A terminal that takes nothing more leaves nothing to do about it.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, erase.data(), erase.size());
    shown_ = false;
}

}  // namespace solvena
