#pragma once

#include "storage/SystemFile.h"
#include "text/Reason.h"

#include <string>

#include <sys/stat.h>

namespace solvena {

// Where a write by path lands on a POSIX system: links are followed to their end, and
// what is found there decides whether the file is replaced, made, written into or
// refused. Used by the POSIX file functions only (SystemFilePosix.cpp).

struct WriteTarget {
    enum class Kind {
        Replace,  // an existing regular file, replaced through a temporary file
        Create,   // no file yet: made through a temporary file
        Stream,   // written into directly (a pipe, a terminal, /dev/null, a descriptor)
    };
    Kind kind = Kind::Create;
    std::string path;   // the file replaced (links resolved), made, or opened to write into
    struct stat status {};  // of the file replaced
    Reason error;       // why the write is refused; none when it may go on

    bool ok() const { return error.empty(); }
};

// The end of `path` (native bytes, relative to the working folder when relative). A
// chain of links is followed to its end, a relative target taken from the folder of
// its link; a chain that loops or ends at nothing is refused, naming the link. Names
// reached through a process's descriptors (/dev/stdout, /proc/self/fd/N) are written
// into when `special` allows it: replacing them would take the file away from the
// descriptor.
WriteTarget resolveWriteTarget(const std::string& path, SpecialTargets special);

// Why a file of this mode is not read or replaced.
Reason notRegularReason(mode_t mode);

}  // namespace solvena
