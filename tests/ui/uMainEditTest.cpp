#include "document/Document.h"
#include "text/Cp932.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "GridPoints.h"
#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <cstdlib>
#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Qt::Key)

namespace {

Qt::Key keyFor(QChar ch)
{
    const char16_t u = ch.toUpper().unicode();
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z'))
        return static_cast<Qt::Key>(u);
    return Qt::Key_unknown;
}

// Types text as the keyboard would, one character per key, each to whichever
// widget has the focus at that moment (the first key may open the editor).
void typeText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        const QString ch = text.mid(i, length);
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), keyFor(ch.at(0)), ch,
                            Qt::NoModifier);
        i += length - 1;
    }
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

std::string cp932(const QString& text)
{
    return utf16ToCp932(text.toStdU16String()).value();
}

}  // namespace

class MainEditTest : public QObject, WindowFixture {
    Q_OBJECT

private:

    // QTest::mouseDClick sends no press: the first click comes first, as from a mouse.
    void doubleClickCell(int col, int row)
    {
        const QPoint at = centreOf(col, row);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    QToolButton* toolButton(const char* bar, CommandId id) const
    {
        return qobject_cast<QToolButton*>(window->toolBar(bar)->widgetForAction(window->command(id)));
    }
    QLineEdit* editor() const { return grid->editor(); }
    // What the message's timer does.
    void dismissMessage() const
    {
        if (auto* bar = window->findChild<QStatusBar*>(u"messageBar"_s))
            bar->clearMessage();
    }
    // The grid reports only moves of the current cell, and it starts on (0, 1):
    // come to a name cell from the step beside it.
    void clickNameCell(int row)
    {
        clickCell(1, row);
        clickCell(0, row);
        QVERIFY(grid->editingEnabled());
    }

private slots:
    void init()
    {
        openWindow(History::Started);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        grid->setFocus();
        QApplication::clipboard()->clear();
    }
    void cleanup() { closeWindow(); }

    void levelKeysWriteTheDraggedSelection_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("level");
        QTest::newRow("1") << Qt::Key_1 << 1;
        QTest::newRow("2") << Qt::Key_2 << 2;
        QTest::newRow("0") << Qt::Key_0 << 0;
        QTest::newRow("Delete") << Qt::Key_Delete << 0;
    }
    void levelKeysWriteTheDraggedSelection()
    {
        QFETCH(Qt::Key, key);
        QFETCH(int, level);
        const int before = level == 0 ? 1 : 0;
        for (int c = 0; c < 6; ++c)
            for (int r = 1; r < 5; ++r)
                document.level[c][r] = before;

        dragOver(1, 1, 3, 2);
        QCOMPARE(grid->selection(), (CellSelection{1, 1, 3, 2}));
        pressKey(key);

        for (int c = 0; c < 6; ++c) {
            for (int r = 1; r < 5; ++r) {
                const bool inside = c >= 1 && c <= 3 && r <= 2;
                QCOMPARE(document.level[c][r], inside ? level : before);
            }
        }
        QVERIFY(modifiedFlag);
        QCOMPARE(undoCount, 1);
        QVERIFY(window->command(CommandId::actUndo)->isEnabled());
        QVERIFY(historySlots[5] == document);
    }

    void everyLevelCommandTakesOneSnapshotAndSelectAllNone()
    {
        clickCell(2, 2);
        const CommandId commands[] = {CommandId::actSet1, CommandId::actSet1, CommandId::actSetFutei,
                                      CommandId::actInvert, CommandId::actSet0};
        const int expected[] = {1, 1, 2, 2, 0};
        for (int i = 0; i < 5; ++i) {
            modifiedFlag = false;
            window->command(commands[i])->trigger();
            QCOMPARE(document.level[2][2], expected[i]);
            QVERIFY(modifiedFlag);
            QCOMPARE(undoCount, i + 1);
        }
        modifiedFlag = false;
        window->command(CommandId::actSelectAll)->trigger();
        QCOMPARE(undoCount, 5);
        QVERIFY(!modifiedFlag);
    }

    void doubleClickInvertsTheCell()
    {
        document.level[4][3] = 2;
        doubleClickCell(2, 1);
        QCOMPARE(grid->selection(), (CellSelection{2, 1, 2, 1}));
        QCOMPARE(document.level[2][1], 1);
        doubleClickCell(2, 1);
        QCOMPARE(document.level[2][1], 0);
        doubleClickCell(4, 3);
        QCOMPARE(document.level[4][3], 2);
        QCOMPARE(undoCount, 3);
        QCOMPARE(document.level[3][1], 0);
    }

    void selectAllCoversEverySignalCell()
    {
        pressKey(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(grid->selection(), (CellSelection{1, 1, 29, 4}));
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, 2); });
        window->changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 2); });
        clickCell(0, 1);
        pressKey(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(grid->selection(), (CellSelection{1, 1, 1, 1}));
        QCOMPARE(undoCount, 0);
        QVERIFY(!modifiedFlag);
    }

    void selectAllLeavesNameEditingOn()
    {
        clickCell(0, 2);
        QVERIFY(grid->editingEnabled());
        pressKey(Qt::Key_A, Qt::ControlModifier);
        QVERIFY(grid->editingEnabled());
        typeText(u"Q"_s);
        QVERIFY(grid->isEditorOpen());
        pressKey(Qt::Key_Return);
        QCOMPARE(document.signalName[4], "Q");
        QVERIFY(document.signalName[2].empty());
        QCOMPARE(document.level[29][4], 0);
        clickCell(3, 2);
        QVERIFY(!grid->editingEnabled());
    }

    void undoAndRedoThroughCtrlZAndTheToolBar()
    {
        QToolButton* undoButton = toolButton("tbarEdit", CommandId::actUndo);
        QToolButton* redoButton = toolButton("tbarEdit", CommandId::actRedo);
        QVERIFY(undoButton && redoButton);
        QVERIFY(!undoButton->isEnabled());
        QVERIFY(!redoButton->isEnabled());

        clickCell(1, 1);
        typeText(u"1"_s);
        clickCell(2, 1);
        typeText(u"1"_s);
        QVERIFY(undoButton->isEnabled());
        QVERIFY(!redoButton->isEnabled());

        modifiedFlag = false;
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document.level[2][1], 0);
        QCOMPARE(document.level[1][1], 1);
        QVERIFY(modifiedFlag);
        QVERIFY(redoButton->isEnabled());

        modifiedFlag = false;
        QTest::mouseClick(redoButton, Qt::LeftButton);
        QCOMPARE(document.level[2][1], 1);
        QVERIFY(modifiedFlag);
        QVERIFY(!redoButton->isEnabled());

        QTest::mouseClick(undoButton, Qt::LeftButton);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document.level[1][1], 0);
        QVERIFY(!undoButton->isEnabled());
        QVERIFY(!window->command(CommandId::actUndo)->isEnabled());
        pressKey(Qt::Key_Z, Qt::ControlModifier);   // disabled: nothing happens
        QCOMPARE(redoCount, 2);
    }

    void firstUndoAfterStartRestoresTheStartUpChart()
    {
        document.level[5][1] = 1;
        document.signalName[1] = "CLK";
        window->finishStartup();
        QVERIFY(!window->command(CommandId::actUndo)->isEnabled());
        clickCell(1, 2);
        typeText(u"1"_s);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document.level[1][2], 0);
        QCOMPARE(document.level[5][1], 1);
        QCOMPARE(document.signalName[1], "CLK");
    }

    void undoKeepsTheGridsCounts()
    {
        clickCell(1, 1);
        typeText(u"1"_s);
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, 12); });
        window->changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 3); });
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document.level[1][1], 0);
        QCOMPARE(grid->colCount(), 12);
        QCOMPARE(grid->rowCount(), 3);
    }

    void namingASignalTypesTextNotLevels()
    {
        clickNameCell(1);
        typeText(u"D0 1"_s);
        QVERIFY(grid->isEditorOpen());
        QCOMPARE(editor()->text(), u"D0 1"_s);
        pressKey(Qt::Key_Return);
        QVERIFY(!grid->isEditorOpen());
        QCOMPARE(document.signalName[1], "D0 1");
        QCOMPARE(document.level[0][1], 0);
        QCOMPARE(undoCount, 0);
        QVERIFY(modifiedFlag);

        clickCell(0, 2);
        typeText(u"クロック①"_s);
        clickCell(5, 3);   // a click elsewhere closes the editor too
        QCOMPARE(document.signalName[2], cp932(u"クロック①"_s));
    }

    void enterOrF2OpensTheEditorOnTheCurrentName_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("F2") << Qt::Key_F2;
    }
    void enterOrF2OpensTheEditorOnTheCurrentName()
    {
        QFETCH(Qt::Key, key);
        document.signalName[3] = cp932(u"データ"_s);
        clickCell(0, 3);
        pressKey(key);
        QVERIFY(grid->isEditorOpen());
        QCOMPARE(editor()->text(), u"データ"_s);
        pressKey(Qt::Key_Return);
        QVERIFY(!grid->isEditorOpen());
        QCOMPARE(document.signalName[3], cp932(u"データ"_s));
        QVERIFY(!modifiedFlag);
    }

    void aTypedCharacterReplacesTheName()
    {
        document.signalName[1] = "CLK";
        clickNameCell(1);
        typeText(u"R"_s);
        QCOMPARE(editor()->text(), u"R"_s);
        QCOMPARE(document.signalName[1], "R");
        pressKey(Qt::Key_Escape);
        QVERIFY(!grid->isEditorOpen());
        QCOMPARE(document.signalName[1], "CLK");
        // As if nothing had been typed: an untouched chart asks no save question.
        QVERIFY(!modifiedFlag);
        modifiedFlag = true;
        typeText(u"S"_s);
        pressKey(Qt::Key_Escape);
        QVERIFY(modifiedFlag);
    }

    void theOpenEditorOwnsTheTextKeys()
    {
        document.signalName[1] = "ABC";
        document.level[0][1] = 1;
        clickNameCell(1);
        const CellSelection selection = grid->selection();
        pressKey(Qt::Key_F2);
        QVERIFY(editor()->hasFocus());

        pressKey(Qt::Key_End);
        pressKey(Qt::Key_Backspace);
        QCOMPARE(editor()->text(), u"AB"_s);
        pressKey(Qt::Key_Home);
        pressKey(Qt::Key_Delete);
        QCOMPARE(editor()->text(), u"B"_s);
        typeText(u"012"_s);
        QCOMPARE(editor()->text(), u"012B"_s);
        pressKey(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(editor()->selectedText(), u"012B"_s);
        pressKey(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), u"012B"_s);
        pressKey(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(editor()->text(), QString());
        pressKey(Qt::Key_V, Qt::ControlModifier);
        pressKey(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor()->text(), u"012B012B"_s);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor()->text(), u"012B"_s);

        QVERIFY(grid->isEditorOpen());
        QCOMPARE(document.level[0][1], 1);
        QCOMPARE(undoCount, 0);
        QCOMPARE(grid->selection(), selection);
        pressKey(Qt::Key_Return);
        QCOMPARE(document.signalName[1], "012B");
    }

    void otherShortcutsWorkWhileTheEditorIsOpen()
    {
        QSignalSpy repaints(window->command(CommandId::actRepaint), &QAction::triggered);
        clickNameCell(1);
        typeText(u"CK"_s);
        pressKey(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(repaints.count(), 1);
        QVERIFY(grid->isEditorOpen());
        QCOMPARE(editor()->text(), u"CK"_s);
    }

    void charactersCp932CannotHoldAreRefused()
    {
        clickNameCell(1);
        typeText(u"AB"_s);
        typeText(u"한"_s);
        typeText(u"😀"_s);
        QCOMPARE(editor()->text(), u"AB"_s);
        QTRY_VERIFY(shownMessage().contains(u"CP932"_s));
        typeText(u"～①"_s);
        pressKey(Qt::Key_Return);
        QCOMPARE(document.signalName[1], cp932(u"AB～①"_s));

        // The character that opens the editor is refused as well.
        dismissMessage();
        QTRY_VERIFY(shownMessage().isEmpty());
        clickCell(0, 2);
        typeText(u"한"_s);
        QVERIFY(grid->isEditorOpen());
        QCOMPARE(editor()->text(), QString());
        QTRY_VERIFY(!shownMessage().isEmpty());
        typeText(u"X"_s);
        pressKey(Qt::Key_Return);
        QCOMPARE(document.signalName[2], "X");
        for (const std::string& name : document.signalName)
            QVERIFY(name.find('?') == std::string::npos);
    }

    void aNameWithDamagedBytesSurvivesAnUntouchedEdit()
    {
        const std::string damaged = std::string("A\x81", 2);
        document.signalName[2] = damaged;
        clickNameCell(2);
        pressKey(Qt::Key_F2);
        QCOMPARE(editor()->text(), u"A\uFFFD"_s);
        pressKey(Qt::Key_Return);
        QCOMPARE(document.signalName[2], damaged);

        // Typing stores what CP932 can hold; the damaged part cannot be kept.
        pressKey(Qt::Key_F2);
        pressKey(Qt::Key_End);
        typeText(u"B"_s);
        pressKey(Qt::Key_Return);
        QCOMPARE(document.signalName[2], "AB");
    }

    void escPutsBackDamagedBytesWithoutAMessage()
    {
        const std::string damaged = std::string("A\x81", 2);
        document.signalName[2] = damaged;
        clickNameCell(2);
        pressKey(Qt::Key_F2);
        pressKey(Qt::Key_End);
        typeText(u"Z"_s);
        pressKey(Qt::Key_Escape);
        QCOMPARE(document.signalName[2], damaged);
        QTest::qWait(20);
        QCOMPARE(shownMessage(), QString());
    }

    void pastedLineBreaksAreDroppedAndControlCharactersRefused()
    {
        const struct {
            QString pasted;
            const char* name;   // as stored; "CLK" where the paste was refused
            bool refused;
        } cases[] = {
            {u"AB\r\n"_s, "CLKAB", false},
            {u"AB\n\n"_s, "CLKAB", false},
            {u"AB\r\nCD"_s, "CLK", true},
            {u"A\tB"_s, "CLK", true},
            {u"\x7F"_s, "CLK", true},
        };
        for (const auto& c : cases) {
            document.signalName[1] = "CLK";
            clickNameCell(1);
            pressKey(Qt::Key_F2);
            pressKey(Qt::Key_End);
            QApplication::clipboard()->setText(c.pasted);
            pressKey(Qt::Key_V, Qt::ControlModifier);
            pressKey(Qt::Key_Return);
            QCOMPARE(document.signalName[1], std::string(c.name));
            if (c.refused)
                QTRY_VERIFY(shownMessage().contains(u"制御文字"_s));
            dismissMessage();
        }
    }

    void theRefusalMessageLeavesNoStatusBarBehind()
    {
        const QSize gridSize = grid->size();
        clickNameCell(1);
        typeText(u"한"_s);
        QTRY_VERIFY(!shownMessage().isEmpty());
        dismissMessage();
        QTRY_COMPARE(window->findChildren<QStatusBar*>().size(), 0);
        QCOMPARE(grid->size(), gridSize);
        // Hovering a command afterwards shows no hint anywhere.
        QStatusTipEvent tip(u"開く"_s);
        QApplication::sendEvent(window.get(), &tip);
        QCOMPARE(window->findChildren<QStatusBar*>().size(), 0);
        QCOMPARE(grid->size(), gridSize);
    }

    void anUndoTakesBackANameTypedSinceTheLastRecordedChange()
    {
        clickCell(1, 1);
        typeText(u"1"_s);
        clickCell(0, 1);
        typeText(u"CLK"_s);
        pressKey(Qt::Key_Return);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(document.signalName[1].empty());
        QCOMPARE(document.level[1][1], 0);

        // Undo from the tool bar while the name is still being typed: the editor
        // closes first, so the undone chart is not overwritten by it afterwards.
        pressKey(Qt::Key_Right);
        typeText(u"1"_s);
        clickCell(0, 2);
        typeText(u"XY"_s);
        QTest::mouseClick(toolButton("tbarEdit", CommandId::actUndo), Qt::LeftButton);
        QVERIFY(!grid->isEditorOpen());
        QVERIFY(document.signalName[2].empty());
        clickCell(3, 3);
        QVERIFY(document.signalName[2].empty());
    }
};

SOLVENA_WIDGET_TEST_MAIN(MainEditTest)

#include "uMainEditTest.moc"
