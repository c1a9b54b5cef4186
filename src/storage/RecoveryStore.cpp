#include "storage/RecoveryStore.h"

#include "storage/FileIO.h"
#include "storage/NativePath.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

std::unique_ptr<FileLock> lockOf(const QString& recoveryPath)
{
    return std::make_unique<FileLock>(nativePathBytes(lockPathOf(recoveryPath)).toStdString());
}

// Removes a lock's file; done while it is held, so that no one takes the lock of a file
// about to go.
void removeLockFile(const FileLock& lock)
{
    QFile::remove(pathFromNativeBytes(lock.path()));
}

}  // namespace

QString recoveryFolder(const QProcessEnvironment& environment)
{
    const std::string folder = userRecoveryFolder([&environment](std::string_view name) {
        return nativePathBytes(environment.value(QString::fromUtf8(name.data(), qsizetype(name.size())))).toStdString();
    });
    return QDir::cleanPath(pathFromNativeBytes(folder));
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
            removeLockFile(*lock_);
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
        lock_ = lockOf(filePath());
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
        std::unique_ptr<FileLock> lock = lockOf(path);
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
        removeLockFile(*orphan.lock);
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
