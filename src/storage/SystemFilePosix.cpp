// The files the program keeps, on POSIX systems.
#include "storage/SystemFile.h"

#include "storage/TemporaryFile.h"
#include "storage/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace solvena {

namespace {

FileIdentity identityOf(const struct stat& status)
{
    return {int64_t(status.st_size), int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

Reason systemReason(int error)
{
    return Reason(ReasonKind::System, {error});
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now and reports the result: a delayed write error may only show here.
    int close() { return ::close(std::exchange(fd_, -1)); }

private:
    int fd_;
};

// Writes everything it is given to a descriptor, or remembers the first error.
class DescriptorSink final : public ByteSink {
public:
    explicit DescriptorSink(int fd) : fd_(fd) {}
    void write(std::string_view bytes) override
    {
        const char* data = bytes.data();
        size_t left = bytes.size();
        while (left > 0 && error_ == 0) {
            const ssize_t n = ::write(fd_, data, left);
            if (n < 0) {
                if (errno != EINTR)
                    error_ = errno;
                continue;
            }
            data += n;
            left -= static_cast<size_t>(n);
            written_ += static_cast<uint64_t>(n);
        }
#ifdef __linux__
        // The file is flushed before it replaces the old one: a large one is sent on
        // to the disk while the rest is made, so that the flush waits for the last
        // piece alone. Only a start: the flush still checks every byte.
        if (error_ == 0 && written_ - started_ >= kWritebackBytes) {
            ::sync_file_range(fd_, static_cast<off64_t>(started_), static_cast<off64_t>(written_ - started_),
                              SYNC_FILE_RANGE_WRITE);
            started_ = written_;
        }
#endif
    }
    int error() const { return error_; }

private:
    static constexpr uint64_t kWritebackBytes = uint64_t{4} << 20;
    int fd_;
    int error_ = 0;
    uint64_t written_ = 0;
    uint64_t started_ = 0;
};

// Writes everything `produce` makes into a FIFO or a device that is already there.
Reason writeThrough(const WriteTarget& target, const std::function<void(ByteSink&)>& produce)
{
    // A regular file reached through a descriptor gets the bytes after what it holds,
    // as writing to the descriptor itself would: a shell's "{ ...; } > file" keeps the
    // output of the commands before.
    const int append = S_ISREG(target.status.st_mode) ? O_APPEND : 0;
    int fd;
    do {
        // Waits for a reader of a FIFO, as any program writing to it would.
        fd = ::open(target.path.c_str(), O_WRONLY | append | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return systemReason(errno);
    Descriptor file(fd);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return systemReason(errno);
    if (S_ISDIR(opened.st_mode) || S_ISSOCK(opened.st_mode) || S_ISBLK(opened.st_mode))
        return notRegularReason(opened.st_mode);
    DescriptorSink sink(fd);
    produce(sink);
    if (sink.error())
        return systemReason(sink.error());
    if (file.close() != 0)
        return systemReason(errno);
    return {};
}

// Whether the user means the file to stay as it is: its owner may not write it, or the
// system would not let this user write it.
bool isReadOnly(const WriteTarget& target)
{
    return !(target.status.st_mode & S_IWUSR) ||
           (::access(target.path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS));
}

// The user's home: $HOME of the environment given, else of this process, else the root.
std::string homeOf(const EnvironmentLookup& environment)
{
    std::string home = environment("HOME");
    if (home.empty())
        home = processEnvironment("HOME");
    return home.empty() ? std::string("/") : home;
}

// $`variable` when it is an absolute path, else `fallback` under the home.
std::string baseFolder(const EnvironmentLookup& environment, std::string_view variable, const char* fallback)
{
    const std::string base = environment(variable);
    if (!base.empty() && base.front() == '/')
        return base;
    return homeOf(environment) + fallback;
}

}  // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path, Reason& error)
{
    // Non-blocking, so that opening a FIFO does not wait for a writer: it is looked at
    // and refused, never read.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = systemReason(errno);
        return nullptr;
    }
    std::unique_ptr<InputFile> file(new InputFile(fd));
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        error = systemReason(errno);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        error = notRegularReason(status.st_mode);
        return nullptr;
    }
    // Reading goes on blocking as usual: a file on some network mounts would answer
    // a non-blocking read with EAGAIN.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = systemReason(errno);
        return nullptr;
    }
    return file;
}

InputFile::~InputFile()
{
    ::close(int(handle_));
}

size_t InputFile::read(char* buffer, size_t capacity, Reason& error)
{
    for (;;) {
        const ssize_t n = ::read(int(handle_), buffer, capacity);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno == EINTR)
            continue;
        error = systemReason(errno);
        return 0;
    }
}

std::optional<FileIdentity> InputFile::identity(Reason& error) const
{
    struct stat status {};
    if (::fstat(int(handle_), &status) != 0) {
        error = systemReason(errno);
        return std::nullopt;
    }
    return identityOf(status);
}

std::optional<FileIdentity> regularFileIdentity(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return identityOf(status);
}

Reason writeRegularFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
                        FileIdentity* written, SpecialTargets special)
{
    const WriteTarget target = resolveWriteTarget(path, special);
    if (!target.ok())
        return target.error;
    if (target.kind == WriteTarget::Kind::Stream)
        return writeThrough(target, produce);
    if (target.kind == WriteTarget::Kind::Replace && isReadOnly(target))
        return ReasonKind::FileReadOnly;

    // A short name, so that a target of up to the longest name the folder allows can be
    // written beside it.
    const size_t slash = target.path.rfind('/');
    TemporaryFile temporary(target.path.substr(0, slash == std::string::npos ? 0 : slash + 1) + ".solvena-XXXXXX");
    if (temporary.fd() < 0)
        return systemReason(temporary.error());
    const int fd = temporary.fd();

    // The new file gets the old one's permissions and, where the system lets us, its
    // owner; a new file gets what any new file would.
    mode_t mode;
    if (target.kind == WriteTarget::Kind::Replace) {
        mode = target.status.st_mode & 07777;
        if ((target.status.st_uid != ::geteuid() || target.status.st_gid != ::getegid()) &&
            ::fchown(fd, target.status.st_uid, target.status.st_gid) != 0) {
            // Not this user's to give away: the file becomes this user's, as any editor's would.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        return systemReason(errno);

    DescriptorSink sink(fd);
    produce(sink);
    if (sink.error())
        return systemReason(sink.error());
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        return systemReason(errno);
    struct stat done {};
    if (::fstat(fd, &done) != 0)
        return systemReason(errno);
    if (temporary.close() != 0)
        return systemReason(errno);
    if (::rename(temporary.path().c_str(), target.path.c_str()) != 0)
        return systemReason(errno);
    temporary.keep();
    if (written)
        *written = identityOf(done);
    return {};
}

bool mayWrite(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

FileLock::FileLock(std::string path) : path_(std::move(path)), handle_(-1)
{
    // A link planted under the lock's name must not make the program create or lock
    // the file it points to.
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        fd = -1;
    }
    handle_ = fd;
}

FileLock::~FileLock()
{
    if (handle_ >= 0)
        ::close(int(handle_));  // lets go of the lock
}

bool FileLock::isHeld() const
{
    return handle_ >= 0;
}

std::string processEnvironment(std::string_view name)
{
    const char* value = std::getenv(std::string(name).c_str());
    return value ? std::string(value) : std::string();
}

std::string userPreferencesFolder(const EnvironmentLookup& environment)
{
    return baseFolder(environment, "XDG_CONFIG_HOME", "/.config") + "/solvena";
}

std::string userRecoveryFolder(const EnvironmentLookup& environment)
{
    return baseFolder(environment, "XDG_STATE_HOME", "/.local/state") + "/solvena";
}

}  // namespace solvena
