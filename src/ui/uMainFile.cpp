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
#include "formats/ChartFormats.h"
#include "formats/VcdFile.h"
#include "render/NameColumnFit.h"
#include "storage/FilePaths.h"
#include "storage/PathExtension.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/dialogs/uVcdImport.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <stdexcept>
#include <string_view>
#include <vector>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

// The format a file is opened in: an import the user chose in the dialog, else the one
// its extension names, else the one the dialog's entry names, else the chart file.
const ChartFormat& formatToOpen(const QString& path, const ChartFormat* chosen)
{
    if (chosen && !chosen->document)
        return *chosen;
    if (const ChartFormat* named = chartFormatOfPath(path))
        return *named;
    return chosen ? *chosen : chartFormat(ChartFormatId::ChartFile);
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
        openDocumentFile(OpenDialog1.fileName, &openEntryFormat(OpenDialog1.filterIndex));
    takeSnapshot();
}

void TfrmMain::openNamedFile(const QString& path)
{
    commitNameEditor();
    if (askToSave() != Prompts::Answer::Cancel)
        openDocumentFile(path, nullptr);
    takeSnapshot();
}

bool TfrmMain::openDocumentFile(const QString& path, const ChartFormat* chosen)
{
    const ChartFormat& format = formatToOpen(path, chosen);
    const QString absolute = absoluteChartPath(path);
    const auto refuse = [&](const Reason& reason) {
        prompts().message(applicationTitle(),
                          u"エラーです\n%1: %2"_s.arg(QDir::toNativeSeparators(path), reasonText(reason)));
        return false;
    };
    ChartReadOptions options;
    if (format.id == ChartFormatId::Vcd) {
        // A dump is too large to take whole: the user picks the signals and the steps.
        const VcdHeaderRead header = readVcdHeaderFile(absolute);
        if (!header.ok())
            return refuse(header.error);
        options.vcd = prompts().chooseVcdChoices(absolute, *header.header, *vcdChoices_);
        if (!options.vcd)
            return false;
    }
    const ChartFileRead read = format.read(absolute, options);
    if (!read.ok())
        return refuse(read.error);
    if (format.document)
        showLoadedChart(read.chart, ShownChart{absolute, read.identity, false, false});
    else
        showLoadedChart(read.chart, ShownChart{{}, std::nullopt, true, true});
    if (!read.warning.empty()) {
        // A damaged file opens whole but unmodified, so the user must hear of it
        // before a save rewrites it. Queued, so that the box stands over the chart
        // it is about, also at start before the window is shown.
        const QString text = u"%1\n%2\nファイルにあるステップはすべて開きました。保存する前に図を確かめてください。"_s.arg(
            QDir::toNativeSeparators(path), reasonText(read.warning));
        QMetaObject::invokeMethod(this, [this, text] { prompts().warning(text); }, Qt::QueuedConnection);
    }
    rememberRecentFile(absolute);
    return true;
}

void TfrmMain::showLoadedChart(const LoadedChart& loaded, const ShownChart& how)
{
    document = *loaded.chart;
    changeGridLayout([&](GridLayout& layout) {
        layout = loaded.layout(layout);
        if (how.fitNames)
            fitNameColumn(layout, document);
    });
    setDocumentFile(how.file, how.identity);
    setModified(how.modified);
    discardRecoveryFile();
    dgdMain->repaintGrid();
    if (!loaded.notes.empty()) {
        QStringList lines;
        for (const Reason& note : loaded.notes)
            lines << reasonText(note);
        showTransientMessage(lines.join(u"　"_s));
    }
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
    return openDocumentFile(path, nullptr);
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
    documentIdentity_ = saveChartTo(documentFileName_);
    return true;
}

bool TfrmMain::saveDocumentAs()
{
    if (!prompts().saveFile(SaveDialog1))
        return false;
    const ChartFormat& format = saveEntryFormat(SaveDialog1.filterIndex);
    const QString path = absoluteChartPath(QString::fromStdString(
        replaceExtension(SaveDialog1.fileName.toStdString(), format.extension().toStdString())));
    const FileIdentity written = saveChartTo(path);
    setDocumentFile(path, written);
    return true;
}

FileIdentity TfrmMain::saveChartTo(const QString& path)
{
    FileIdentity written;
    const Reason error = writeChartAs(path, chartFormat(ChartFormatId::ChartFile), document,
                                      gridLayout_, nullptr, &written);
    if (!error.empty())
        failSave(path, reasonText(error));
    setModified(false);
    discardRecoveryFile();
    rememberRecentFile(path);
    return written;
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

}  // namespace solvena
