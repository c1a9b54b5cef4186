#pragma once
// Reading and writing whole files by path, for every file the program keeps: charts,
// exported pictures and the preferences. Reading takes regular files only, so a FIFO
// or a device named by mistake is refused instead of blocking or streaming forever;
// writing replaces the file only once every byte has reached it.

#include "storage/ByteSink.h"
#include "storage/FileIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// What reading a file gave: the bytes, or the reason it could not be read.
struct FileReadResult {
    QByteArray bytes;
    QString error;   // empty on success: the system's reason, or ours, for the user
    FileIdentity identity;   // of the file as it was read

    bool ok() const { return error.isEmpty(); }
};

// Reads a regular file of at most `maxBytes` bytes. Folders, FIFOs, devices and
// sockets are refused without being read (a FIFO is never waited on).
FileReadResult readFileBytes(const QString& path, qint64 maxBytes);

// Writes `bytes` to `path` through a temporary file in the same folder that is renamed
// over the target only after every write and the flush succeeded. On failure the old
// file is as it was, no temporary file is left, and the reason is returned; an empty
// result means success. A file whose owner-write permission is off is not replaced,
// even for a user (root) whom the system would let do it.
QString writeFileAtomically(const QString& path, QByteArrayView bytes, FileIdentity* written = nullptr);

// The same for a file made piece by piece: `produce` hands its bytes to the sink as it
// makes them, so a large file is never held in memory whole. An exception thrown by
// `produce` leaves no temporary file and the old file as it was, and goes on to the
// caller.
QString writeFileAtomically(const QString& path, const std::function<void(ByteSink&)>& produce,
                            FileIdentity* written = nullptr);

// The identity of the regular file at `path` (links followed); none when there is no
// such file.
std::optional<FileIdentity> fileIdentity(const QString& path);
