#pragma once
// The files the program keeps, as each system keeps them: reading a regular file, writing
// one all or nothing, a lock that ends with its process, and the per-user folders. Only
// these differ between POSIX systems and Windows; everything above them is the same code.
//
// Paths are native: on POSIX the name's bytes, exactly as given; on Windows UTF-8, which
// is turned into the UTF-16 the system's wide functions take, so that any name the system
// can hold (Japanese ones included, whatever the code page) reaches it unchanged.

#include "storage/ByteSink.h"
#include "storage/FileIdentity.h"
#include "text/Reason.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace solvena {

// What reading a whole file gave: the bytes, or the reason it could not be read.
struct FileBytes {
    std::string bytes;
    Reason error;           // none on success
    FileIdentity identity;  // of the file as it was read (on success)

    bool ok() const { return error.empty(); }
};

// A regular file open for reading, closed when this goes.
class InputFile {
public:
    // Opens the regular file at `path` (links followed). Folders, devices, FIFOs, pipes
    // and sockets are refused without being read, and a FIFO is never waited on; `error`
    // then says why.
    static std::unique_ptr<InputFile> open(const std::string& path, Reason& error);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Up to `capacity` bytes; 0 at the end, or on a failure, which `error` then holds.
    size_t read(char* buffer, size_t capacity, Reason& error);
    // The size and the modification time the file has now; none on a failure, which
    // `error` then holds.
    std::optional<FileIdentity> identity(Reason& error) const;

private:
    explicit InputFile(intptr_t handle) : handle_(handle) {}

    intptr_t handle_;  // a descriptor on POSIX, a HANDLE on Windows
};

// Reads the regular file at `path` whole when it holds at most `maxBytes` bytes; the
// identity is taken from the very handle read, after the last byte.
FileBytes readRegularFile(const std::string& path, int64_t maxBytes);

// The same into `bytes`, a std::string or a QByteArray, so that a caller who keeps the
// bytes in the toolkit's array never holds a large file twice. No reason means success.
template <typename Bytes>
Reason readRegularFile(const std::string& path, int64_t maxBytes, Bytes& bytes, FileIdentity& identity);

// The identity of the regular file at `path` (links followed); none when there is no
// such file or it is not a regular file.
std::optional<FileIdentity> regularFileIdentity(const std::string& path);

// How a write treats a name that ends in something other than a regular file.
enum class SpecialTargets {
    Refuse,        // never replaced, never written: the write is refused
    WriteThrough,  // a FIFO, a pipe or a character device is written into, as cp does
};

// Writes what `produce` makes to `path` through a temporary file in the same folder,
// which takes the target's place only once every byte has reached the disk: on any
// failure, an exception from `produce` included, the old file is as it was and no
// temporary file is left (the exception goes on to the caller). Links are followed to
// the file at their end, which is replaced, keeping what the system keeps of a file
// (POSIX: its permissions and, where allowed, its owner; Windows: its attributes and
// security). A file marked read-only is refused as such, even for a user the system would
// let replace it, and anything but a regular file is never replaced (`special` says what
// becomes of FIFOs, pipes and character devices). No reason means success; `written`
// then receives the identity of the file in place.
Reason writeRegularFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
                        FileIdentity* written = nullptr, SpecialTargets special = SpecialTargets::Refuse);

// Whether this process may write the regular file at `path`, or make files in the folder
// at `path`. POSIX: as the system's access check says. Windows: the file is opened for
// writing (and left as it is), or a file is made in the folder and removed, since only
// that shows what an access list allows (a folder under "Program Files" takes no files
// from a user, whatever its attributes say).
bool mayWrite(const std::string& path);

// An exclusive lock on a file, taken without waiting and held while this lives; the system
// lets go of it when its process ends, however it ends. The file is made when missing.
// A link standing at the name is neither followed nor locked.
class FileLock {
public:
    explicit FileLock(std::string path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Whether the lock was free and is now this object's.
    bool isHeld() const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    intptr_t handle_;  // a descriptor on POSIX, a HANDLE on Windows
};

// A variable of the environment the folders below are found from: its value, or "" when
// it is not set.
using EnvironmentLookup = std::function<std::string(std::string_view name)>;

// The environment of this process.
std::string processEnvironment(std::string_view name);

// The folder of the user's own preferences file (native path, not yet made). POSIX:
// $XDG_CONFIG_HOME when it is absolute, else $HOME/.config, then "solvena". Windows:
// %APPDATA% when it is absolute, else the system's roaming application data folder,
// then "solvena".
std::string userPreferencesFolder(const EnvironmentLookup& environment);

// The folder of the recovery copies (native path, not yet made). POSIX: $XDG_STATE_HOME
// when it is absolute, else $HOME/.local/state, then "solvena". Windows: %LOCALAPPDATA%
// when it is absolute, else the system's local application data folder, then "solvena":
// copies of unsaved work stay on this machine.
std::string userRecoveryFolder(const EnvironmentLookup& environment);

template <typename Bytes>
Reason readRegularFile(const std::string& path, int64_t maxBytes, Bytes& bytes, FileIdentity& identity)
{
    Reason error;
    const std::unique_ptr<InputFile> file = InputFile::open(path, error);
    if (!file)
        return error;
    const std::optional<FileIdentity> opened = file->identity(error);
    if (!opened)
        return error;
    if (opened->size > maxBytes)
        return ReasonKind::FileTooLarge;

    // The size may change while reading; read to the end, but never past the cap. One
    // byte more than the size, so that the end shows without growing the buffer.
    const size_t cap = static_cast<size_t>(maxBytes);
    size_t size = static_cast<size_t>(opened->size) + 1;
    bytes.reserve(static_cast<decltype(bytes.size())>(size));  // no more than that, as a file rarely grows
    bytes.resize(static_cast<decltype(bytes.size())>(size));
    size_t filled = 0;
    for (;;) {
        if (filled == size) {
            if (size > cap)
                return ReasonKind::FileTooLarge;
            size = std::min(size * 2, cap + 1);
            bytes.resize(static_cast<decltype(bytes.size())>(size));
        }
        const size_t n = file->read(bytes.data() + filled, size - filled, error);
        if (!error.empty())
            return error;
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > cap)
        return ReasonKind::FileTooLarge;
    bytes.resize(static_cast<decltype(bytes.size())>(filled));
    // Taken after reading, so that a change while reading shows as a change later.
    const std::optional<FileIdentity> read = file->identity(error);
    if (!read)
        return error;
    identity = *read;
    return {};
}

}  // namespace solvena
