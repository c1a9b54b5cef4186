#pragma once
// Reading and writing whole files by path, for every file the program keeps: charts,
// exported pictures and the preferences. Reading takes regular files only, so a FIFO
// or a device named by mistake is refused instead of blocking or streaming forever;
// writing replaces the file only once every byte has reached it.

#include "storage/ByteSink.h"
#include "storage/FileIdentity.h"
#include "text/Reason.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace solvena {

// What reading a file gave: the bytes, or the reason it could not be read.
struct FileReadResult {
    QByteArray bytes;
    Reason error;    // none on success: the system's reason, or ours
    FileIdentity identity;  // of the file as it was read (on success)

    bool ok() const { return error.empty(); }
};

// Paths are taken as the bytes nativePathBytes gives for them (see NativePath.h).

// Reads a regular file of at most `maxBytes` bytes. Folders, FIFOs, devices and
// sockets are refused without being read (a FIFO is never waited on).
FileReadResult readFileBytes(const QString& path, qint64 maxBytes);

// The identity of the regular file at `path` (links followed); nullopt when there is
// none or it is not a regular file.
std::optional<FileIdentity> fileIdentity(const QString& path);

// Writes `bytes` to `path` through a temporary file in the same folder that is renamed
// over the target only after every write and the flush succeeded. On failure the old
// file is as it was, no temporary file is left, and the reason is returned; no reason
// means success. A file whose owner-write permission is off is not replaced,
// even for a user (root) whom the system would let do it. Links are followed to the
// file at their end, which is replaced (keeping its permissions and, where allowed, its
// owner); a chain of links that loops or ends at nothing is refused, and so is anything
// but a regular file (a FIFO, a device, a folder, a socket), which is never replaced. On success `written`, when
// given, receives the identity of the file now in place.
Reason writeFileAtomically(const QString& path, QByteArrayView bytes, FileIdentity* written = nullptr);

// The same for a file made piece by piece: `produce` hands its bytes to the sink as it
// makes them, so a large file is never held in memory whole. An exception thrown by
// `produce` leaves no temporary file and the old file as it was, and goes on to the
// caller.
Reason writeFileAtomically(const QString& path, const std::function<void(ByteSink&)>& produce,
                           FileIdentity* written = nullptr);

// For an output named on a command line: as writeFileAtomically, except that a FIFO or
// a character device at the end of the path (a pipe, a terminal, /dev/null, /dev/stdout)
// is written into as it is, as cp does; a file reached through a process's descriptor
// (/dev/stdout redirected to a file) gets the bytes appended, as the descriptor would.
// Writing into them cannot be all or nothing. Folders, sockets and block devices are
// refused.
Reason writeOutputFile(const QString& path, const std::function<void(ByteSink&)>& produce);

}  // namespace solvena
