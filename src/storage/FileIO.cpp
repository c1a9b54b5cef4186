#include "storage/FileIO.h"

#include "storage/NativePath.h"
#include "storage/TemporaryFile.h"
#include "storage/WriteTarget.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string_view>
#include <utility>

#ifdef _WIN32
#include <QSaveFile>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace solvena {

namespace {

constexpr ReasonKind kTooLarge = ReasonKind::FileTooLarge;
constexpr ReasonKind kReadOnly = ReasonKind::FileReadOnly;

#ifndef _WIN32

FileIdentity identityOf(const struct stat& status)
{
    return {qint64(status.st_size), qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
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

#else

FileIdentity identityOf(const QFileInfo& info)
{
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * 1'000'000};
}

class SaveFileSink final : public ByteSink {
public:
    explicit SaveFileSink(QSaveFile& file) : file_(file) {}
    void write(std::string_view bytes) override
    {
        if (ok_)
            ok_ = file_.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    }
    bool ok() const { return ok_; }

private:
    QSaveFile& file_;
    bool ok_ = true;
};

#endif

FileReadResult readFailure(Reason reason)
{
    return {{}, std::move(reason), {}};
}

#ifdef _WIN32
Reason systemText(const QString& text)
{
    return Reason(ReasonKind::SystemText, {text.toStdString()});
}
#endif

}  // namespace

FileReadResult readFileBytes(const QString& path, qint64 maxBytes)
{
#ifdef _WIN32
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return readFailure(ReasonKind::NotRegularFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return readFailure(systemText(file.errorString()));
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return readFailure(systemText(file.errorString()));
    if (bytes.size() > maxBytes)
        return readFailure(kTooLarge);
    return {bytes, {}, identityOf(QFileInfo(path))};
#else
    const QByteArray native = nativePathBytes(path);
    // Non-blocking, so that opening a FIFO does not wait for a writer: it is looked at
    // and refused, never read.
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return readFailure(systemReason(errno));
    Descriptor file(fd);

    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return readFailure(systemReason(errno));
    if (!S_ISREG(status.st_mode))
        return readFailure(notRegularReason(status.st_mode));
    if (status.st_size > maxBytes)
        return readFailure(kTooLarge);

    // The size may change while reading; read to the end, but never past the cap.
    QByteArray bytes(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes)
                return readFailure(kTooLarge);
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return readFailure(systemReason(errno));
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxBytes)
        return readFailure(kTooLarge);
    bytes.truncate(filled);
    // Taken after reading, so that a change while reading shows as a change later.
    if (::fstat(fd, &status) != 0)
        return readFailure(systemReason(errno));
    return {bytes, {}, identityOf(status)};
#endif
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
#ifdef _WIN32
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return identityOf(info);
#else
    struct stat status {};
    if (::stat(nativePathBytes(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return identityOf(status);
#endif
}

namespace {

#ifndef _WIN32

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
        fd = ::open(target.path.constData(), O_WRONLY | append | O_NOCTTY | O_CLOEXEC);
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
           (::access(target.path.constData(), W_OK) != 0 && (errno == EACCES || errno == EROFS));
}

Reason writeFile(const QString& path, const std::function<void(ByteSink&)>& produce, FileIdentity* written,
                 SpecialTargets special)
{
    const WriteTarget target = resolveWriteTarget(nativePathBytes(path), special);
    if (!target.ok())
        return target.error;
    if (target.kind == WriteTarget::Kind::Stream)
        return writeThrough(target, produce);
    if (target.kind == WriteTarget::Kind::Replace && isReadOnly(target))
        return kReadOnly;

    // A short name, so that a target of up to the longest name the folder allows can be
    // written beside it.
    const qsizetype slash = target.path.lastIndexOf('/');
    TemporaryFile temporary(target.path.left(slash + 1) + ".solvena-XXXXXX");
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
    if (::rename(temporary.path().constData(), target.path.constData()) != 0)
        return systemReason(errno);
    temporary.keep();
    if (written)
        *written = identityOf(done);
    return {};
}

#else

Reason writeFile(const QString& path, const std::function<void(ByteSink&)>& produce, FileIdentity* written,
                 SpecialTargets)
{
    const QFileInfo target(path);
    if (target.exists() && target.isFile() &&
        (!target.isWritable() || !target.permissions().testFlag(QFileDevice::WriteOwner)))
        return kReadOnly;
    if (target.exists() && !target.isFile())
        return ReasonKind::NotRegularFile;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return systemText(file.errorString());
    SaveFileSink sink(file);
    try {
        produce(sink);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    // The buffered bytes reach the file only in flush(); commit() would not notice
    // that failing.
    if (!sink.ok() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return systemText(reason);
    }
    if (!file.commit())
        return systemText(file.errorString());
    if (written)
        *written = identityOf(QFileInfo(path));
    return {};
}

#endif

}  // namespace

Reason writeFileAtomically(const QString& path, QByteArrayView bytes, FileIdentity* written)
{
    return writeFileAtomically(
        path,
        [bytes](ByteSink& sink) { sink.write(std::string_view(bytes.data(), static_cast<size_t>(bytes.size()))); },
        written);
}

Reason writeFileAtomically(const QString& path, const std::function<void(ByteSink&)>& produce,
                           FileIdentity* written)
{
    return writeFile(path, produce, written, SpecialTargets::Refuse);
}

Reason writeOutputFile(const QString& path, const std::function<void(ByteSink&)>& produce)
{
    return writeFile(path, produce, nullptr, SpecialTargets::WriteThrough);
}

}  // namespace solvena
