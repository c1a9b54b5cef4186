#pragma once
// The main window as the window tests hold it: made on the program's start state with
// scripted prompts, shown, and closed after each test function; with the ways a user
// reaches it (commands, clicks and drags on the grid's cells, the transient message).

#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "GridPoints.h"
#include "ProgramState.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace solvena {

class WindowFixture {
protected:
    std::unique_ptr<TfrmMain> window;
    ScriptedPrompts* prompts = nullptr;
    ChartGrid* grid = nullptr;
    std::unique_ptr<QTemporaryDir> dir;   // a folder for the test's files, when made

    // Makes the test's folder, removed again by closeWindow().
    void makeFolder()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
    QString path(const QString& name) const { return dir->filePath(name); }

    // Whether the chart the window opens with is the first state of the edit history,
    // as main() makes it, so that the first undo comes back to it.
    enum class History { NotStarted, Started };

    // Starts the program's state afresh and shows a new window.
    void openWindow(History history = History::NotStarted, WindowFiles files = {})
    {
        resetProgramState();
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        window = std::make_unique<TfrmMain>(std::move(scripted), std::move(files));
        if (history == History::Started)
            window->finishStartup();
        grid = window->grid();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Closes the window; fails the test when the window asked what the test had not
    // scripted.
    void closeWindow()
    {
        // The editor reports its text when it closes; let it do so while the window
        // is still whole rather than from inside its destruction.
        if (window)
            window->grid()->closeEditor();
        const QStringList unexpected = prompts ? prompts->unexpected : QStringList();
        window.reset();
        prompts = nullptr;
        grid = nullptr;
        dir.reset();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u' ')));
    }

    void run(CommandId id) { window->command(id)->trigger(); }

    QPoint centreOf(int col, int row) const { return cellCentre(*grid, col, row); }
    void clickCell(int col, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, centreOf(col, row));
    }
    void dragOver(int fromCol, int fromRow, int toCol, int toRow)
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centreOf(fromCol, fromRow));
        QTest::mouseMove(grid->viewport(), centreOf(toCol, toRow));
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centreOf(toCol, toRow));
    }

    // The window's transient message, "" while none shows (it has no status bar then).
    QString shownMessage() const
    {
        auto* bar = window->findChild<QStatusBar*>(QStringLiteral("messageBar"));
        return bar && bar->isVisible() ? bar->currentMessage() : QString();
    }
};

}  // namespace solvena
