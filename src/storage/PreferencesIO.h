#pragma once
// Reading and replacing the preferences files. They are only ever read whole and the
// user's is replaced whole: a FIFO, a folder or a huge file at its path reads as no
// file and is never waited on, and a file that is there but cannot be read is left as
// it is. What a change does not touch (other sections, keys, comments) is kept byte for
// byte, another running copy's writes included.

#include "text/Reason.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace solvena {

// The bytes of a preferences file; none where there is none, where `path` is empty or
// where it cannot be read.
std::optional<std::string> readPreferencesFile(const QString& path);

// Replaces the file at `path` with `change` applied to its present bytes (empty where
// there is none). Where there is no file and the change gives nothing, none is made.
// The folder is made on first use; a link is written where its chain ends, and every
// link on the way stays a link. The reason when it could not be read or written.
Reason updatePreferencesFile(const QString& path, const std::function<std::string(std::string)>& change);

}  // namespace solvena
