#include "storage/WriteTarget.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

namespace solvena {

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr size_t kMaxLinks = 40;

WriteTarget refused(Reason reason)
{
    WriteTarget target;
    target.error = std::move(reason);
    return target;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The text of a link; empty when it cannot be read.
std::string linkText(const std::string& link)
{
    std::string buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (n <= 0 || size_t(n) >= buffer.size())
        return {};
    buffer.resize(size_t(n));
    return buffer;
}

// The names from `path` through each link to the first name that is not a link (or
// does not exist), at most kMaxLinks + 1 of them.
std::vector<std::string> linkChain(const std::string& path)
{
    std::vector<std::string> chain{path};
    while (chain.size() <= kMaxLinks) {
        struct stat status {};
        if (::lstat(chain.back().c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            break;
        std::string next = linkText(chain.back());
        if (next.empty())
            break;
        if (!next.starts_with('/'))
            next = folderOf(chain.back()) + '/' + next;
        chain.push_back(std::move(next));
    }
    return chain;
}

// Whether a link of the chain stands among a process's descriptors.
bool passesThroughDescriptors(const std::vector<std::string>& chain)
{
#ifdef __linux__
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        struct statfs fs {};
        if (::statfs(folderOf(chain[i]).c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC)
            return true;
    }
#else
    (void)chain;
#endif
    return false;
}

}  // namespace

Reason notRegularReason(mode_t mode)
{
    const ReasonKind kind = S_ISDIR(mode)    ? ReasonKind::FileFolder
                            : S_ISFIFO(mode) ? ReasonKind::FileFifo
                            : S_ISSOCK(mode) ? ReasonKind::FileSocket
                                             : ReasonKind::FileDevice;
    return Reason(ReasonKind::NotRegularOfKind, {Reason(kind)});
}

WriteTarget resolveWriteTarget(const std::string& path, SpecialTargets special)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        if (error == ELOOP)
            return refused(Reason(ReasonKind::LinkLoop, {path}));
        struct stat link {};
        if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            const std::vector<std::string> chain = linkChain(path);
            if (chain.size() > kMaxLinks)
                return refused(Reason(ReasonKind::LinkLoop, {path}));
            return refused(Reason(ReasonKind::LinkDangling, {chain[chain.size() - 2], chain.back()}));
        }
        if (error != ENOENT)
            return refused(Reason(ReasonKind::System, {error}));
        // Nothing there yet; a missing folder shows when the temporary file is made.
        WriteTarget target;
        target.kind = WriteTarget::Kind::Create;
        target.path = path;
        return target;
    }

    const bool stream = S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode);
    if (!S_ISREG(status.st_mode) && !(stream && special == SpecialTargets::WriteThrough))
        return refused(notRegularReason(status.st_mode));
    WriteTarget target;
    target.status = status;
    if (!S_ISREG(status.st_mode) ||
        (special == SpecialTargets::WriteThrough && passesThroughDescriptors(linkChain(path)))) {
        target.kind = WriteTarget::Kind::Stream;
        target.path = path;
        return target;
    }

    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    struct stat end {};
    if (!resolved || ::lstat(resolved.get(), &end) != 0)
        return refused(Reason(ReasonKind::System, {errno}));
    // The name found must still be the file looked at (not one that took its place, nor
    // the stale name of a file already removed).
    if (end.st_dev != status.st_dev || end.st_ino != status.st_ino)
        return refused(Reason(ReasonKind::TargetUnknown, {path}));
    target.kind = WriteTarget::Kind::Replace;
    target.path = resolved.get();
    return target;
}

}  // namespace solvena
