#include "storage/RecoveryStore.h"

#include "storage/FileIO.h"
#include "storage/NativePath.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

const QString kRecoverySuffix = u".recovery"_s;
const QString kLockSuffix = u".lock"_s;
const QString kDamagedSuffix = u".damaged"_s;

QString lockPathOf(const QString& recoveryPath)
{
    return recoveryPath.left(recoveryPath.size() - kRecoverySuffix.size()) + kLockSuffix;
}

}  // namespace

QString recoveryFolder(const QProcessEnvironment& environment)
{
    QString state = environment.value(u"XDG_STATE_HOME"_s);
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) {
        QString home = environment.value(u"HOME"_s);
        if (home.isEmpty())
            home = QDir::homePath();
        state = home + u"/.local/state"_s;
    }
    return QDir::cleanPath(state + u"/solvena"_s);
}

FileLock::FileLock(const QString& path) : path_(path)
{
#ifndef _WIN32
    // A link planted under the lock's name must not make the program create or lock
    // the file it points to.
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
#endif
}

FileLock::~FileLock()
{
#ifndef _WIN32
    if (fd_ >= 0)
        ::close(fd_);  // lets go of the lock
#endif
}

bool FileLock::isHeld() const
{
    return fd_ >= 0;
}

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder))
{
    // Never the same name as another editor's, running or gone.
    id_ = u"%1-%2-%3"_s.arg(QCoreApplication::applicationPid())
              .arg(QDateTime::currentMSecsSinceEpoch())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

RecoveryStore::~RecoveryStore()
{
    if (lock_) {
        // A clean end: the lock goes with the store. A file still here is work the user
        // chose not to save only if discard() ran; otherwise it stays for next time.
        if (!written_)
            QFile::remove(lock_->path());
    }
}

QString RecoveryStore::filePath() const
{
    return folder_ + u'/' + id_ + kRecoverySuffix;
}

Reason RecoveryStore::write(QByteArrayView bytes)
{
    if (!lock_) {
        if (!QDir().mkpath(folder_))
            return Reason(ReasonKind::CannotMakeFolder, {nativePathBytes(folder_).toStdString()});
        lock_ = std::make_unique<FileLock>(lockPathOf(filePath()));
        if (!lock_->isHeld()) {
            lock_.reset();
            return Reason(ReasonKind::CannotLock, {nativePathBytes(lockPathOf(filePath())).toStdString()});
        }
    }
    Reason error = writeFileAtomically(filePath(), bytes);
    if (!error.empty())
        return error;
    written_ = true;
    dropAdopted();
    return {};
}

Reason RecoveryStore::keep(const TCell& chart, const GridLayout& layout, const ChartOrigin& origin)
{
    std::string bytes;
    try {
        bytes = writeRecovery(chart, layout, origin);
    } catch (const ReasonError&) {
        return {};
    }
    const QByteArray copy(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (written_ && copy == kept_)
        return {};
    if (Reason error = write(copy); !error.empty())
        return error;
    kept_ = copy;
    return {};
}

RecoveryLoadResult RecoveryStore::read(const OrphanedRecovery& orphan)
{
    // A recovery file is a chart file and two short lines.
    constexpr qint64 kMaxRecoveryFileBytes = 17 * 1024 * 1024;
    const FileReadResult file = readFileBytes(orphan.path, kMaxRecoveryFileBytes);
    if (!file.ok()) {
        RecoveryLoadResult failed;
        failed.error = file.error;
        return failed;
    }
    return readRecovery(std::string_view(file.bytes.constData(), static_cast<size_t>(file.bytes.size())));
}

void RecoveryStore::discard()
{
    if (written_)
        QFile::remove(filePath());
    written_ = false;
    kept_.clear();
    dropAdopted();
}

void RecoveryStore::adopt(OrphanedRecovery orphan)
{
    adopted_.push_back(std::move(orphan));
}

void RecoveryStore::dropAdopted()
{
    for (OrphanedRecovery& orphan : adopted_)
        remove(orphan);
    adopted_.clear();
}

std::vector<OrphanedRecovery> RecoveryStore::takeOrphans() const
{
    std::vector<OrphanedRecovery> orphans;
    const QFileInfoList files = QDir(folder_).entryInfoList(QStringList{u"*"_s + kRecoverySuffix},
                                                            QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : files) {
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(filePath()).absoluteFilePath())
            continue;
        auto lock = std::make_unique<FileLock>(lockPathOf(path));
        // Held by a running editor, or taken by another one starting right now.
        if (!lock->isHeld() || !QFileInfo::exists(path))
            continue;
        orphans.push_back(OrphanedRecovery{path, std::move(lock)});
    }
    return orphans;
}

void RecoveryStore::remove(OrphanedRecovery& orphan)
{
    QFile::remove(orphan.path);
    if (orphan.lock) {
        QFile::remove(orphan.lock->path());
        orphan.lock.reset();
    }
}

QString RecoveryStore::setAside(OrphanedRecovery& orphan)
{
    const QString aside = orphan.path.left(orphan.path.size() - kRecoverySuffix.size()) + kDamagedSuffix;
    QFile::remove(aside);
    QFile::rename(orphan.path, aside);
    remove(orphan);
    return aside;
}

bool RecoveryStore::originUnchanged(const ChartOrigin& origin)
{
    const QString path = QString::fromStdString(origin.path);
    return !path.isEmpty() && QDir::isAbsolutePath(path) && origin.identity && fileIdentity(path) == origin.identity;
}

}  // namespace solvena
