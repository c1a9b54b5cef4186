#include "storage/StandardStreams.h"

#ifndef _WIN32

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace solvena {

#ifndef _WIN32

namespace {

// As many links as the kernel follows before it gives up.
constexpr int kMaxLinks = 40;

bool isOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string realFolder(const std::string& folder)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

// Whether `folder` (resolved) is this process's descriptor folder, or one of its threads'.
bool isOwnDescriptorFolder(std::string_view folder)
{
    const std::string own = "/proc/" + std::to_string(::getpid());
    if (!folder.starts_with(own)) return false;
    folder.remove_prefix(own.size());
    if (folder == "/fd") return true;
    // "/task/<tid>/fd"
    if (!folder.starts_with("/task/") || !folder.ends_with("/fd")) return false;
    const std::string_view tid = folder.substr(6, folder.size() - 6 - 3);
    return !tid.empty() && tid.find_first_not_of("0123456789") == std::string_view::npos;
}

int descriptorNumber(std::string_view name)
{
    int fd = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), fd);
    return error == std::errc() && end == name.data() + name.size() && !name.empty() ? fd : -1;
}

std::string linkText(const std::string& link)
{
    std::string text(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.c_str(), text.data(), text.size());
    if (n <= 0 || size_t(n) >= text.size()) return {};
    text.resize(size_t(n));
    return text;
}

}  // namespace

StandardStreams guardStandardStreams()
{
    StandardStreams streams;
    for (int fd = 0; fd <= 2; ++fd) {
        if (isOpen(fd)) continue;
        streams.closed[size_t(fd)] = true;
        // open() takes the lowest free descriptor: this one, as the lower ones are open.
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
    return streams;
}

int ownDescriptorNamed(const std::string& path)
{
    std::string name = path;
    for (int step = 0; step <= kMaxLinks && !name.empty(); ++step) {
        const std::string folder = folderOf(name);
        const int fd = descriptorNumber(std::string_view(name).substr(name.rfind('/') + 1));
        if (fd >= 0 && name.find('/') != std::string::npos && isOwnDescriptorFolder(realFolder(folder)))
            return fd;
        struct stat status {};
        if (::lstat(name.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return -1;
        std::string next = linkText(name);
        if (!next.empty() && next.front() != '/') next = folder + '/' + next;
        name = std::move(next);
    }
    return -1;
}

#else

StandardStreams guardStandardStreams()
{
    return {};
}

int ownDescriptorNamed(const std::string&)
{
    return -1;
}

#endif

}  // namespace solvena
