// The document commands of the main window: New, Open, Save, Save As, Exit, the
// close request and the chart named on the command line.
//
// Rules these commands keep beyond the bare steps:
//   - Nothing unsaved is discarded behind the user's back: when the save question
//     is answered Yes and the save does not happen (the Save As dialog is
//     cancelled), the New, Open or Exit that asked stops as if Cancel had been
//     chosen; when the save fails, the error ends the command.
//   - The document's file name belongs to the document: Open and the command-line
//     load set it when the file was read, Save As sets it to the file it wrote,
//     New clears it. Save writes exactly that file. It is always absolute, so that
//     neither a later change of folder nor work restored after a crash in another
//     folder can make it name another file.
//   - Loading is all or nothing: a file that cannot be read changes nothing.
//   - Saving goes through a temporary file renamed over the target, so a failed
//     save leaves the previous file as it was.

#include "ui/uMain.h"

#include "document/Document.h"
#include "render/NameColumnFit.h"
#include "formats/ChartFileIO.h"
#include "storage/FileIO.h"
#include "formats/WaveJson.h"
#include "storage/PathExtension.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <stdexcept>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The Open dialog's WaveJSON entry, and the extension that names such a file.
constexpr int kWaveJsonEntry = 3;

bool isWaveJsonPath(const QString& path)
{
    return path.endsWith(u".json"_s, Qt::CaseInsensitive);
}

// The absolute form of a path as given, the folders' links resolved but the file's
// own name kept: a chart opened through a link is saved through it. ".." is never
// taken away by the letter, which would be wrong after a link.
QString absoluteChartPath(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = QFileInfo(file.path()).canonicalFilePath();
    if (folder.isEmpty() || file.fileName().isEmpty())
        return file.absoluteFilePath();
    return QDir(folder).filePath(file.fileName());
}

[[noreturn]] void failSave(const QString& path, const QString& reason)
{
    throw std::runtime_error(
        u"%1 に保存できません: %2"_s.arg(QDir::toNativeSeparators(path), reason).toStdString());
}

}  // namespace

void TfrmMain::actNewExecute()
{
    commitNameEditor();
    if (askToSave() != Prompts::Answer::Cancel) {
        resetDocument();
        dgdMain->repaintGrid();
    }
    takeSnapshot();
}

void TfrmMain::actOpenExecute()
{
    commitNameEditor();
    if (askToSave() != Prompts::Answer::Cancel && prompts().openFile(OpenDialog1))
        openDocumentFile(OpenDialog1.fileName, OpenDialog1.filterIndex);
    takeSnapshot();
}

void TfrmMain::openNamedFile(const QString& path)
{
    commitNameEditor();
    if (askToSave() != Prompts::Answer::Cancel)
        openDocumentFile(path, openEntryOf(path));
    takeSnapshot();
}

bool TfrmMain::openDocumentFile(const QString& path, int entry)
{
    const bool opened = entry == kWaveJsonEntry || isWaveJsonPath(path) ? importWaveJsonFile(path)
                                                                         : loadChartFile(path);
    if (opened)
        rememberRecentFile(absoluteChartPath(path));
    return opened;
}

int TfrmMain::openEntryOf(const QString& path) const
{
    const QString name = QFileInfo(path).fileName();
    const QStringList parts = OpenDialog1.filter.split(u'|');
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        for (const QString& pattern : parts[i].split(u';', Qt::SkipEmptyParts)) {
            const auto wildcard = QRegularExpression::fromWildcard(pattern.trimmed(), Qt::CaseInsensitive);
            if (wildcard.match(name).hasMatch())
                return int(i / 2 + 1);
        }
    }
    return 0;
}

void TfrmMain::actSaveExecute()
{
    commitNameEditor();
    saveDocument();
}

void TfrmMain::mnuSaveAsClick()
{
    commitNameEditor();
    saveDocumentAs();
}

void TfrmMain::actExitExecute()
{
    commitNameEditor();
    if (askToSave() != Prompts::Answer::Cancel)
        endApplication();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The window closes only through Exit, after the save question.
    if (!ending_)
        dispatch(&TfrmMain::actExitExecute);
    if (ending_) {
        keepWindowPlacement();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfrmMain::loadStartupFile(const QString& path)
{
    return openDocumentFile(path, 0);
}

void TfrmMain::commitNameEditor()
{
    // A name still being typed belongs to the chart the command is about to save or
    // replace, not to the one that follows.
    if (dgdMain->isEditorOpen())
        dgdMain->closeEditor();
}

Prompts::Answer TfrmMain::askToSave()
{
    if (!modifiedFlag)
        return Prompts::Answer::No;
    const Prompts::Answer answer = prompts().confirm(u"確認"_s, u"現在の状態を保存しますか？"_s);
    if (answer == Prompts::Answer::Yes && !saveDocument())
        return Prompts::Answer::Cancel;
    return answer;
}

bool TfrmMain::saveDocument()
{
    if (documentFileName_.isEmpty())
        return saveDocumentAs();
    documentIdentity_ = writeChartFile(documentFileName_);
    return true;
}

bool TfrmMain::saveDocumentAs()
{
    if (!prompts().saveFile(SaveDialog1))
        return false;
    const std::string extension = SaveDialog1.filterIndex == 1 ? ".sbn" : ".txt";
    const QString path = absoluteChartPath(QString::fromStdString(
        replaceExtension(SaveDialog1.fileName.toStdString(), extension)));
    const FileIdentity written = writeChartFile(path);
    setDocumentFile(path, written);
    return true;
}

FileIdentity TfrmMain::writeChartFile(const QString& path)
{
    FileIdentity written;
    const Reason error = ::writeChartFile(path, document, dgdMain->layout(), &written);
    if (!error.empty())
        failSave(path, reasonText(error));
    modifiedFlag = false;
    discardRecoveryFile();
    rememberRecentFile(path);
    return written;
}

bool TfrmMain::loadChartFile(const QString& path)
{
    const QString absolute = absoluteChartPath(path);
    const ChartFileRead read = readChartFile(absolute);
    if (!read.ok()) {
        prompts().message(applicationTitle(),
                          u"エラーです\n%1: %2"_s.arg(QDir::toNativeSeparators(path), reasonText(read.error)));
        return false;
    }
    document = *read.chart.chart;
    dgdMain->setLayout(read.chart.layout(dgdMain->layout()));
    setDocumentFile(absolute, read.identity);
    modifiedFlag = false;
    discardRecoveryFile();
    dgdMain->repaintGrid();
    if (!read.warning.empty()) {
        // A damaged file opens whole but unmodified, so the user must hear of it
        // before a save rewrites it. Queued, so that the box stands over the chart
        // it is about, also at start before the window is shown.
        const QString text = u"%1\n%2\nファイルにあるステップはすべて開きました。保存する前に図を確かめてください。"_s.arg(
            QDir::toNativeSeparators(path), reasonText(read.warning));
        QMetaObject::invokeMethod(this, [this, text] { prompts().warning(text); }, Qt::QueuedConnection);
    }
    return true;
}

bool TfrmMain::importWaveJsonFile(const QString& path)
{
    const FileReadResult file = readFileBytes(path, kMaxChartFileBytes);
    const LoadedChart read =
        file.ok() ? importWaveJson(std::string_view(file.bytes.constData(), size_t(file.bytes.size())))
                  : LoadedChart{};
    if (!read.ok) {
        const QString reason = reasonText(file.ok() ? read.errorReason : file.error);
        prompts().message(applicationTitle(),
                          u"エラーです\n%1: %2"_s.arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    document = *read.chart;
    GridLayout layout = dgdMain->layout();
    applyChartExtent(layout, read.colCount, read.rowCount, read.colWidths);
    fitNameColumn(layout, document);
    dgdMain->setLayout(layout);
    setDocumentFile(QString());
    modifiedFlag = true;
    dgdMain->repaintGrid();
    if (!read.notes.empty()) {
        QStringList lines;
        for (const Reason& warning : read.notes)
            lines << reasonText(warning);
        showTransientMessage(lines.join(u"　"_s));
    }
    return true;
}

void TfrmMain::endApplication()
{
    ending_ = true;
    // Whatever the save question decided is final now.
    discardRecoveryFile();
    // Inside the close request this close() is the one already under way; the
    // request then accepts. Outside it, it closes the window now.
    close();
    QCoreApplication::quit();
}
