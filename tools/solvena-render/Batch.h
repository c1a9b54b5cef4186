#pragma once
// Many charts in one run of solvena-render: which file each chart goes to, what is
// refused before anything is drawn, and the progress line of a terminal.

#include "text/Reason.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

// One chart and the file it is written to.
struct BatchJob {
    std::string chart;
    std::string output;
};

// The jobs of a run, or why the run is refused as a whole.
struct BatchPlan {
    std::vector<BatchJob> jobs;
    Reason refusal;

    bool ok() const { return refusal.empty(); }
};

// Each chart to `outDir`/<its name without the extension>.<format>. Refused when two
// charts would go to one file (the second would silently replace the first), or when
// a file to be written is one of the charts.
BatchPlan planBatch(const std::string& outDir, const std::vector<std::string>& charts, std::string_view format);

// The paths on a list read from `fd`, one a line, up to its end; empty lines are
// skipped, every other byte is kept. The system's reason when it cannot be read.
Reason readPathList(int fd, std::vector<std::string>& paths);

// Why nothing can be written into `dir`: it is missing, not a folder, or not writable
// (the system's reason); none when it can be.
Reason outputFolderUnusable(const std::string& dir);

// "12/100 name" on one line of standard error, rewritten in place, while standard
// error is a terminal; nothing at all otherwise.
class Progress {
public:
    explicit Progress(size_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void show(size_t done, std::string_view name);
    // Takes the line away, so that a message can be written in its place.
    void clear();

private:
    size_t total_;
    bool shown_ = false;
    bool terminal_;
};

}  // namespace solvena
