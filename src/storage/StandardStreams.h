#pragma once
// Standard input, output and error of a program started with one of them closed. The
// next file any part of the program opens (the toolkit's own included) would take the
// free descriptor, and whatever is written to standard output or error would land in
// that file: an output, a chart being saved. Each program guards them first thing.

#include <array>
#include <string>

namespace solvena {

// Which of descriptors 0, 1 and 2 were closed when the program started.
struct StandardStreams {
    std::array<bool, 3> closed{};
};

// Puts /dev/null on every one of descriptors 0, 1 and 2 that is closed, and says which
// were. Call before anything is opened.
StandardStreams guardStandardStreams();

// The descriptor of this process that `path` (bytes, links followed) names through the
// system's descriptor folders (/dev/stdout, /dev/fd/N, /proc/self/fd/N, ...); -1 when
// it names none.
int ownDescriptorNamed(const std::string& path);

}  // namespace solvena
