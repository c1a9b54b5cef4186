// TfrmMain: the edit history, the level commands and signal-name editing.
#include "ui/uMain.h"

#include "document/Document.h"
#include "document/EditHistory.h"
#include "editing/LevelCommands.h"
#include "text/Cp932.h"
#include "ui/ChartGrid.h"
#include "ui/SignalNameValidator.h"

#include <QAction>
#include <QLayout>
#include <QLineEdit>
#include <QStatusBar>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

EditHistory programHistory()
{
    return EditHistory{historySlots, undoCount, redoCount};
}

QString nameText(int row)
{
    if (row < 0 || row >= kMaxRows)
        return {};
    return QString::fromStdU16String(cp932ToUtf16(document.signalName[row]));
}

}  // namespace

void TfrmMain::connectGrid()
{
    connect(dgdMain, &ChartGrid::selectCell, this, &TfrmMain::dgdMainSelectCell);
    connect(dgdMain, &ChartGrid::editorOpened, this, &TfrmMain::dgdMainEditorOpened);
    connect(dgdMain, &ChartGrid::setEditText, this, &TfrmMain::dgdMainSetEditText);
    connect(dgdMain, &ChartGrid::editCancelled, this, &TfrmMain::dgdMainEditCancelled);
    connect(dgdMain, &ChartGrid::keyPressed, this, &TfrmMain::dgdMainKeyPress);
    connect(dgdMain, &ChartGrid::doubleClicked, this, &TfrmMain::dgdMainDblClick);

    // Enter and F2 open the editor on the name as it stands, so closing it
    // untouched keeps the name.
    dgdMain->setEditTextProvider([](int, int row) { return nameText(row); });
    dgdMain->editor()->setValidator(new SignalNameValidator(
        [this](const QString& reason) { showRefusalLater(reason); }, dgdMain->editor()));
}

void TfrmMain::editChart(const std::function<void(TCell&, const CellSelection&)>& change,
                         SnapshotBefore before)
{
    // Keeps whatever was not yet recorded (a name typed since) apart from the change.
    if (before == SnapshotBefore::Yes)
        takeSnapshot();
    change(document, dgdMain->selection());
    actRepaintExecute();
    setModified(true);
    takeSnapshot();
}

void TfrmMain::setModified(bool modified)
{
    modifiedFlag = modified;
}

void TfrmMain::updateHistoryCommands()
{
    command(CommandId::actUndo)->setEnabled(canUndo(programHistory()));
    command(CommandId::actRedo)->setEnabled(canRedo(programHistory()));
}

void TfrmMain::takeSnapshot()
{
    recordSnapshot(document, programHistory());
    updateHistoryCommands();
}

void TfrmMain::stepHistory(bool (*available)(const EditHistory&), void (*step)(TCell&, EditHistory))
{
    if (!available(programHistory()))
        return;
    // A name still being typed belongs to the state being left.
    dgdMain->closeEditor();
    step(document, programHistory());
    updateHistoryCommands();
    // The chart now differs from what was last saved.
    setModified(true);
    actRepaintExecute();
}

void TfrmMain::actUndoExecute()
{
    stepHistory(canUndo, undoCommand);
}

void TfrmMain::actRedoExecute()
{
    stepHistory(canRedo, redoCommand);
}

void TfrmMain::actSet0Execute()
{
    editChart([](TCell& chart, const CellSelection& s) { setLevel(chart, s, kLevelLow); });
}

void TfrmMain::actSet1Execute()
{
    editChart([](TCell& chart, const CellSelection& s) { setLevel(chart, s, kLevelHigh); });
}

void TfrmMain::actSetFuteiExecute()
{
    editChart([](TCell& chart, const CellSelection& s) { setLevel(chart, s, kLevelUndefined); });
}

void TfrmMain::actInvertExecute()
{
    editChart(invertLevels);
}

void TfrmMain::actSelectAllExecute()
{
    dgdMain->setSelection(CellSelection{1, 1, dgdMain->colCount() - 1, dgdMain->rowCount() - 1});
}

void TfrmMain::dgdMainKeyPress(QChar key)
{
    // While a name is being typed its digits are text, not level commands. The grid
    // opens the editor before reporting the key that opened it, so this covers the
    // first character too.
    if (dgdMain->isEditorOpen())
        return;
    switch (key.unicode()) {
    case u'0': actSet0Execute(); break;
    case u'1': actSet1Execute(); break;
    case u'2': actSetFuteiExecute(); break;
    default: break;
    }
}

void TfrmMain::dgdMainDblClick()
{
    actInvertExecute();
}

void TfrmMain::dgdMainSelectCell(int col, int)
{
    dgdMain->setEditingEnabled(col == 0);
}

void TfrmMain::dgdMainEditorOpened(int, int row)
{
    if (row < 0 || row >= kMaxRows)
        return;
    // Esc puts back exactly this: the name's bytes, damaged ones included, and the flag.
    nameBeforeEdit_ = document.signalName[row];
    modifiedBeforeEdit_ = modifiedFlag;
}

void TfrmMain::dgdMainSetEditText(int, int row, const QString& text)
{
    if (row < 0 || row >= kMaxRows || text == nameText(row))
        return;
    const std::optional<std::string> bytes = utf16ToCp932(text.toStdU16String());
    if (!bytes || nameRefusal(text)) {
        // Only text that bypassed the validator gets here, such as the character
        // that opened the editor. Keep what can be stored and say why the rest went.
        if (const std::optional<QString> reason = nameRefusal(text))
            showRefusalLater(*reason);
        const QString kept = storableNamePart(text);
        QLineEdit* editor = dgdMain->editor();
        if (dgdMain->isEditorOpen() && editor->text() == text)
            editor->setText(kept);  // reports the kept text back here
        else
            dgdMainSetEditText(0, row, kept);
        return;
    }
    if (*bytes == document.signalName[row])
        return;
    document.signalName[row] = *bytes;
    // The name is part of what a save writes, so the save question must protect it.
    setModified(true);
}

void TfrmMain::dgdMainEditCancelled(int, int row)
{
    if (row < 0 || row >= kMaxRows)
        return;
    document.signalName[row] = nameBeforeEdit_;
    setModified(modifiedBeforeEdit_);
}

void TfrmMain::showRefusalLater(const QString& reason)
{
    // Refusals are noticed in the middle of the editor's own key handling; the
    // window's layout changes wait until that is over.
    QMetaObject::invokeMethod(this, [this, reason] { showTransientMessage(reason); },
                              Qt::QueuedConnection);
}

}  // namespace solvena
