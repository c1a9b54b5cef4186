#pragma once
// What tells one version of a file from another without reading it again: a file whose
// size or modification time differs from the one remembered has been changed since.
// The window remembers it for the chart's file as last read or written, so that work
// kept against a crash is never written over a file that has changed since.

#include <cstdint>

namespace solvena {

struct FileIdentity {
    int64_t size = 0;
    int64_t modifiedNs = 0;   // nanoseconds since the epoch

    bool operator==(const FileIdentity&) const = default;
};

}  // namespace solvena
