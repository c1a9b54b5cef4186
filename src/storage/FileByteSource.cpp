#include "storage/FileByteSource.h"

#include "storage/NativePath.h"
#include "storage/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace solvena {

namespace {

Reason systemReason(int error)
{
    return Reason(ReasonKind::System, {error});
}

}  // namespace

std::unique_ptr<FileByteSource> FileByteSource::open(const QString& path, Reason& error)
{
    const QByteArray native = nativePathBytes(path);
#ifdef _WIN32
    const int fd = ::_open(native.constData(), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        error = systemReason(errno);
        return nullptr;
    }
    std::unique_ptr<FileByteSource> source(new FileByteSource(fd, true));
    struct _stat64 status {};
    if (::_fstat64(fd, &status) != 0) {
        error = systemReason(errno);
        return nullptr;
    }
    if ((status.st_mode & _S_IFMT) != _S_IFREG) {
        error = ReasonKind::NotRegularFile;
        return nullptr;
    }
    return source;
#else
    // Non-blocking, so that opening a FIFO does not wait for a writer: it is looked at
    // and refused, never read.
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = systemReason(errno);
        return nullptr;
    }
    std::unique_ptr<FileByteSource> source(new FileByteSource(fd, true));
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
    return source;
#endif
}

std::unique_ptr<FileByteSource> FileByteSource::fromDescriptor(int fd)
{
    return std::unique_ptr<FileByteSource>(new FileByteSource(fd, false));
}

FileByteSource::~FileByteSource()
{
    if (owned_) {
#ifdef _WIN32
        ::_close(fd_);
#else
        ::close(fd_);
#endif
    }
}

size_t FileByteSource::read(char* buffer, size_t capacity)
{
    if (!failure_.empty()) return 0;
    for (;;) {
#ifdef _WIN32
        const int n = ::_read(fd_, buffer, static_cast<unsigned>(std::min<size_t>(capacity, 1u << 30)));
#else
        const ssize_t n = ::read(fd_, buffer, capacity);
#endif
        if (n >= 0) return static_cast<size_t>(n);
        if (errno == EINTR) continue;
        failure_ = systemReason(errno);
        return 0;
    }
}

}  // namespace solvena
