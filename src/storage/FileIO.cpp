#include "storage/FileIO.h"

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

using namespace Qt::StringLiterals;

namespace {

const QString kTooLarge = u"ファイルが大きすぎます"_s;
const QString kReadOnly = u"ファイルは読み取り専用です"_s;

bool refusesWriting(const QFileInfo& target)
{
    return target.exists() && target.isFile() &&
           (!target.isWritable() || !target.permissions().testFlag(QFileDevice::WriteOwner));
}

#ifndef _WIN32

FileIdentity identityOf(const struct stat& status)
{
    return {int64_t{status.st_size}, int64_t{status.st_mtim.tv_sec} * 1000000000 + status.st_mtim.tv_nsec};
}

QString systemReason(int error)
{
    return qt_error_string(error);
}

QString notRegularReason(mode_t mode)
{
    const QString kind = S_ISDIR(mode)    ? u"フォルダ"_s
                         : S_ISFIFO(mode) ? u"名前付きパイプ"_s
                         : S_ISSOCK(mode) ? u"ソケット"_s
                                          : u"デバイス"_s;
    return u"通常のファイルではありません（%1）"_s.arg(kind);
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

// Removes the file it names when it goes, unless released.
class TemporaryName {
public:
    explicit TemporaryName(const QByteArray& path) : path_(path) {}
    ~TemporaryName()
    {
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    void release() { path_.clear(); }

private:
    QByteArray path_;
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
        }
    }
    int error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
};

#else

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

}  // namespace

FileReadResult readFileBytes(const QString& path, qint64 maxBytes)
{
#ifdef _WIN32
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, u"通常のファイルではありません"_s};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (bytes.size() > maxBytes)
        return {{}, kTooLarge};
    return {bytes, {}};
#else
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking, so that opening a FIFO does not wait for a writer: it is looked at
    // and refused, never read.
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return {{}, systemReason(errno)};
    Descriptor file(fd);

    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return {{}, systemReason(errno)};
    if (!S_ISREG(status.st_mode))
        return {{}, notRegularReason(status.st_mode)};
    if (status.st_size > maxBytes)
        return {{}, kTooLarge};

    // The size may change while reading; read to the end, but never past the cap.
    QByteArray bytes(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes)
                return {{}, kTooLarge};
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {{}, systemReason(errno)};
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxBytes)
        return {{}, kTooLarge};
    bytes.truncate(filled);
    if (::fstat(fd, &status) != 0)
        return {{}, systemReason(errno)};
    return {bytes, {}, identityOf(status)};
#endif
}

QString writeFileAtomically(const QString& path, QByteArrayView bytes, FileIdentity* written)
{
    return writeFileAtomically(
        path,
        [bytes](ByteSink& sink) { sink.write(std::string_view(bytes.data(), static_cast<size_t>(bytes.size()))); },
        written);
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return identityOf(status);
}

QString writeFileAtomically(const QString& path, const std::function<void(ByteSink&)>& produce,
                            FileIdentity* written)
{
    const QFileInfo target(path);
    if (refusesWriting(target))
        return kReadOnly;
#ifdef _WIN32
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
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
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
#else
    // A link stays a link: the file it points to is the one replaced.
    const QString finalPath = target.isSymLink() && !target.symLinkTarget().isEmpty()
                                  ? target.symLinkTarget()
                                  : target.absoluteFilePath();
    const QFileInfo finalInfo(finalPath);
    QByteArray temporary =
        QFile::encodeName(finalInfo.absolutePath() + u"/."_s + finalInfo.fileName() + u".XXXXXX"_s);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return systemReason(errno);
    Descriptor file(fd);
    // Until it is renamed into place, the temporary file goes away with any failure.
    TemporaryName name(temporary);

    // The new file gets the old one's permissions, or those a new file would get.
    mode_t mode;
    struct stat old {};
    if (::stat(QFile::encodeName(finalPath).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
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
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return systemReason(errno);
    if (file.close() != 0)
        return systemReason(errno);
    if (::rename(temporary.constData(), QFile::encodeName(finalPath).constData()) != 0)
        return systemReason(errno);
    name.release();
    if (written)
        *written = identityOf(status);
    return {};
#endif
}
