#pragma once
// Where unsaved work waits while the editor runs: one recovery file per running editor
// in the per-user state folder, beside a lock file the editor holds for as long as it
// runs. The system lets go of a lock when its process ends, however it ends, so a
// recovery file whose lock nobody holds belongs to an editor that did not end cleanly.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "storage/RecoveryFile.h"
#include "storage/SystemFile.h"
#include "text/Reason.h"

#include <QByteArrayView>
#include <QProcessEnvironment>
#include <QString>

#include <memory>
#include <vector>

namespace solvena {

// The per-user folder of the recovery copies (userRecoveryFolder): on POSIX
// $XDG_STATE_HOME, else ~/.local/state, then solvena/; on Windows %LOCALAPPDATA%\solvena.
QString recoveryFolder(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The recovery file of an editor that is gone, locked by whoever found it so that two
// editors starting at once never offer the same file.
struct OrphanedRecovery {
    QString path;
    std::unique_ptr<FileLock> lock;
};

class RecoveryStore {
public:
    // Nothing is created until the first write.
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Replaces this editor's recovery file with `bytes`, all or nothing; the reason on
    // failure, none on success. Adopted files go once this one is complete.
    Reason write(QByteArrayView bytes);
    // Keeps `chart` as this editor's copy, with the file it belongs to, through write();
    // nothing is written when the copy holds that already, nor for a chart a chart file
    // cannot store (its save says why).
    Reason keep(const TCell& chart, const GridLayout& layout, const ChartOrigin& origin);
    // Removes this editor's recovery file and the adopted ones; nothing is left to recover.
    void discard();
    // Takes over the file of an editor that is gone, whose work this editor now shows:
    // it stays, locked by this editor, until write() has put that work into this
    // editor's own file or discard() lets it go. Should this editor be killed before,
    // the file is offered again at the next start.
    void adopt(OrphanedRecovery orphan);
    bool hasFile() const { return written_; }
    QString filePath() const;

    // The recovery files of editors no longer running, oldest first; each stays locked
    // by the returned object until it is resolved or dropped.
    std::vector<OrphanedRecovery> takeOrphans() const;
    // Done with an orphan: its file goes (it was restored, or the user declined it).
    static void remove(OrphanedRecovery& orphan);
    // The work an orphan holds, read back whole or not at all.
    static RecoveryLoadResult read(const OrphanedRecovery& orphan);
    // Whether the file a restored chart was edited from is still the one its work was
    // done on: an absolute path to a file of the same identity.
    static bool originUnchanged(const ChartOrigin& origin);
    // A damaged orphan is kept aside under another name, never offered again; returns
    // the new path.
    static QString setAside(OrphanedRecovery& orphan);

private:
    void dropAdopted();

    QString folder_;
    QString id_;
    std::unique_ptr<FileLock> lock_;
    bool written_ = false;
    QByteArray kept_;   // the copy last written by keep()
    std::vector<OrphanedRecovery> adopted_;
};

}  // namespace solvena
