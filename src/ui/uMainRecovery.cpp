// TfrmMain: unsaved work kept against a crash. While the chart is modified, a copy of
// it (with its file name and caption) goes to this editor's recovery file every few
// seconds; saving, New, Open and a clean end take it away. At start, the copies left
// by editors that did not end cleanly are offered back.

#include "ui/uMain.h"

#include "document/Document.h"
#include "storage/FileIO.h"
#include "storage/RecoveryFile.h"
#include "storage/RecoveryStore.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include <QDir>
#include <QtDebug>

#include <stdexcept>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// A recovery file is a chart file and two short lines.
constexpr qint64 kMaxRecoveryFileBytes = 17 * 1024 * 1024;

}  // namespace

void TfrmMain::saveRecoveryFile()
{
    if (!recovery_)
        return;
    if (!modifiedFlag) {
        discardRecoveryFile();
        return;
    }
    std::string bytes;
    try {
        bytes = SaveRecovery(document, dgdMain->layout(), documentFileName_.toStdString(),
                             windowTitle().toStdString());
    } catch (const std::invalid_argument&) {
        return;  // not storable as a file; the save itself will say why
    }
    const QByteArray copy(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (copy == recoveryWritten_)
        return;
    const QString error = recovery_->write(copy);
    if (!error.isEmpty()) {
        // Never in the user's way while editing: the next interval tries again.
        qWarning().noquote() << "recovery file not written:" << error;
        return;
    }
    recoveryWritten_ = copy;
}

void TfrmMain::discardRecoveryFile()
{
    if (recovery_)
        recovery_->discard();
    recoveryWritten_.clear();
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
        const FileReadResult file = readFileBytes(orphan.path, kMaxRecoveryFileBytes);
        const RecoveryLoadResult read =
            file.ok() ? LoadRecovery(std::string_view(file.bytes.constData(), static_cast<size_t>(file.bytes.size())))
                      : RecoveryLoadResult{};
        if (!read.ok) {
            const QString aside = RecoveryStore::setAside(orphan);
            const QString reason = file.ok() ? QString::fromStdString(read.error) : file.error;
            prompts().message(applicationTitle(),
                              u"エラーです\n%1: %2"_s.arg(QDir::toNativeSeparators(aside), reason));
            continue;
        }
        document = *read.chart.chart;
        dgdMain->setLayout(read.chart.layout(dgdMain->layout()));
        documentFileName_ = QString::fromStdString(read.documentPath);
        setWindowTitle(QString::fromStdString(read.caption));
        modifiedFlag = true;
        dgdMain->repaintGrid();
        // The work lives in this editor's own file before the old one goes.
        saveRecoveryFile();
        RecoveryStore::remove(orphan);
        // One chart at a time: the others wait for the next start.
        return true;
    }
    return false;
}
