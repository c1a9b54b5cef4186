// TfrmMain: unsaved work kept against a crash. While the chart is modified, a copy of
// it (with the file it belongs to) goes to this editor's recovery file every few
// seconds; saving, New, Open and a clean end take it away. At start, the copies left
// by editors that did not end cleanly are offered back.
//
// A copy names its chart's file by its absolute path and the file's identity as last
// read or written. Taken back, the chart belongs to that file again only when the file
// is still as it was: one that has changed or gone since (or a copy that cannot tell)
// brings the chart back untitled, so that Save asks where to write rather than
// overwrite someone's newer work.

#include "ui/uMain.h"

#include "document/Document.h"
#include "storage/RecoveryStore.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include <QDir>

#include <stdexcept>
#include <string>
#include <string_view>

namespace solvena {

using namespace Qt::StringLiterals;

void TfrmMain::saveRecoveryFile()
{
    if (!recovery_)
        return;
    if (!modifiedFlag) {
        discardRecoveryFile();
        return;
    }
    const Reason error = recovery_->keep(document, gridLayout_,
                                         ChartOrigin{documentFileName_.toStdString(), documentIdentity_});
    if (!error.empty()) {
        // Said once and never in the user's way: the next interval tries again.
        if (!recoveryFailureShown_)
            showTransientMessage(
                u"復元用のコピーを書き込めません（書き込めるまで試し続けます）: %1"_s.arg(reasonText(error)));
        recoveryFailureShown_ = true;
        return;
    }
    recoveryFailureShown_ = false;
}

void TfrmMain::discardRecoveryFile()
{
    if (recovery_)
        recovery_->discard();
}

bool TfrmMain::offerRecovery()
{
    if (!recovery_)
        return false;
    for (OrphanedRecovery& orphan : recovery_->takeOrphans()) {
        if (!prompts().ask(u"確認"_s, u"前回保存されなかった変更があります。復元しますか？"_s)) {
            RecoveryStore::remove(orphan);
            continue;
        }
        const RecoveryLoadResult read = RecoveryStore::read(orphan);
        if (!read.ok) {
            const QString aside = RecoveryStore::setAside(orphan);
            prompts().message(applicationTitle(),
                              u"エラーです\n%1: %2"_s.arg(QDir::toNativeSeparators(aside), reasonText(read.error)));
            continue;
        }
        const QString origin = QString::fromStdString(read.origin.path);
        const bool unchanged = RecoveryStore::originUnchanged(read.origin);
        showLoadedChart(read.chart, ShownChart{unchanged ? origin : QString(),
                                               unchanged ? read.origin.identity : std::nullopt, true, false});
        // The old file goes only once the work is in this editor's own; until then
        // this editor holds it, and a crash leaves it to be offered again.
        recovery_->adopt(std::move(orphan));
        saveRecoveryFile();
        if (!origin.isEmpty() && !unchanged) {
            prompts().message(
                applicationTitle(),
                u"復元した図は %1 を編集したものですが、このファイルがその後変更されていないことを"
                u"確かめられないため、無題として開きました。保存するときは保存先を選んでください。"_s
                    .arg(QDir::toNativeSeparators(origin)));
        }
        // A copy is written whole or not at all, so one whose lines disagree was
        // damaged where it lay: all of it is back, but the user should look first.
        if (read.chart.warningLine > 0) {
            prompts().warning(u"復元した図の %1 行目: %2\n図は復元しましたが、保存する前に確かめてください。"_s
                                  .arg(read.chart.warningLine)
                                  .arg(reasonText(read.chart.warningReason)));
        }
        // One chart at a time: the others wait for the next start.
        return true;
    }
    return false;
}

}  // namespace solvena
