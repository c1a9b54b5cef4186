#include "storage/FileByteSource.h"

#include "storage/NativePath.h"

#include <algorithm>
#include <cerrno>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace solvena {

std::unique_ptr<FileByteSource> FileByteSource::open(const QString& path, Reason& error)
{
    std::unique_ptr<InputFile> file = InputFile::open(nativePathBytes(path).toStdString(), error);
    if (!file)
        return nullptr;
    return std::unique_ptr<FileByteSource>(new FileByteSource(std::move(file), -1));
}

std::unique_ptr<FileByteSource> FileByteSource::fromDescriptor(int fd)
{
    return std::unique_ptr<FileByteSource>(new FileByteSource(nullptr, fd));
}

FileByteSource::~FileByteSource() = default;

size_t FileByteSource::read(char* buffer, size_t capacity)
{
    if (!failure_.empty()) return 0;
    if (file_)
        return file_->read(buffer, capacity, failure_);
    for (;;) {
#ifdef _WIN32
        const int n = ::_read(fd_, buffer, static_cast<unsigned>(std::min<size_t>(capacity, 1u << 30)));
#else
        const ssize_t n = ::read(fd_, buffer, capacity);
#endif
        if (n >= 0) return static_cast<size_t>(n);
        if (errno == EINTR) continue;
        failure_ = Reason(ReasonKind::System, {errno});
        return 0;
    }
}

}  // namespace solvena
