#include "storage/WriteTarget.h"

#ifndef _WIN32

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
#endif

namespace solvena {

#ifndef _WIN32

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr size_t kMaxLinks = 40;

std::string shown(const QByteArray& path)
{
    return path.toStdString();
}

WriteTarget refused(Reason reason)
{
    WriteTarget target;
    target.error = std::move(reason);
    return target;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The text of a link; empty when it cannot be read.
QByteArray linkText(const QByteArray& link)
{
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = ::readlink(link.constData(), buffer.data(), size_t(buffer.size()));
    if (n <= 0 || n >= buffer.size())
        return {};
    buffer.truncate(n);
    return buffer;
}

// The names from `path` through each link to the first name that is not a link (or
// does not exist), at most kMaxLinks + 1 of them.
std::vector<QByteArray> linkChain(const QByteArray& path)
{
    std::vector<QByteArray> chain{path};
    while (chain.size() <= kMaxLinks) {
        struct stat status {};
        if (::lstat(chain.back().constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            break;
        QByteArray next = linkText(chain.back());
        if (next.isEmpty())
            break;
        if (!next.startsWith('/'))
            next = folderOf(chain.back()) + '/' + next;
        chain.push_back(std::move(next));
    }
    return chain;
}

// Whether a link of the chain stands among a process's descriptors.
bool passesThroughDescriptors(const std::vector<QByteArray>& chain)
{
#ifdef __linux__
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        struct statfs fs {};
        if (::statfs(folderOf(chain[i]).constData(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC)
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

WriteTarget resolveWriteTarget(const QByteArray& path, SpecialTargets special)
{
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        const int error = errno;
        if (error == ELOOP)
            return refused(Reason(ReasonKind::LinkLoop, {shown(path)}));
        struct stat link {};
        if (error == ENOENT && ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            const std::vector<QByteArray> chain = linkChain(path);
            if (chain.size() > kMaxLinks)
                return refused(Reason(ReasonKind::LinkLoop, {shown(path)}));
            return refused(Reason(ReasonKind::LinkDangling, {shown(chain[chain.size() - 2]), shown(chain.back())}));
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

    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.constData(), nullptr), &std::free);
    struct stat end {};
    if (!resolved || ::lstat(resolved.get(), &end) != 0)
        return refused(Reason(ReasonKind::System, {errno}));
    // The name found must still be the file looked at (not one that took its place, nor
    // the stale name of a file already removed).
    if (end.st_dev != status.st_dev || end.st_ino != status.st_ino)
        return refused(Reason(ReasonKind::TargetUnknown, {shown(path)}));
    target.kind = WriteTarget::Kind::Replace;
    target.path = resolved.get();
    return target;
}

#endif

}  // namespace solvena
