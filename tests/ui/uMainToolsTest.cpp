// The clipboard, pulse and cell-attribute commands in the window: their keys, the
// single-cell warning, and the four modeless dialogs driven as a user drives them.

#include "document/Document.h"
#include "ui/ChartGrid.h"
#include "ui/dialogs/IntSpinField.h"
#include "ui/dialogs/RadioGroup.h"
#include "ui/dialogs/uMakeClock.h"
#include "ui/dialogs/uSetDelay.h"
#include "ui/dialogs/uSetEdge.h"
#include "ui/dialogs/uShowNumber.h"
#include "ui/uMain.h"

#include "GridPoints.h"
#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::function<void(TfrmMain&)>)

namespace {

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void typeText(const QString& text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// The levels of row `row`, columns `from` to `to`.
QList<int> levels(int row, int from, int to)
{
    QList<int> list;
    for (int c = from; c <= to; ++c)
        list << document.level[c][row];
    return list;
}

}  // namespace

class MainToolsTest : public QObject, WindowFixture {
    Q_OBJECT

private:

    // Opens a dialog through its command and waits until it has the keyboard.
    void open(CommandId id, QWidget* dialog)
    {
        window->command(id)->trigger();
        QVERIFY(dialog->isVisible());
        waitActive(dialog);
    }
    // A dialog counts as active with its parent, so wait for the keyboard itself.
    static void waitActive(QWidget* w)
    {
        QTRY_COMPARE(QApplication::activeWindow(), w);
    }
    void backToGrid()
    {
        window->activateWindow();
        waitActive(window.get());
        grid->setFocus();
    }

private slots:
    void init()
    {
        openWindow(History::Started);
        backToGrid();
    }
    void cleanup() { closeWindow(); }

    void theDialogsExistHiddenFromTheStartInTheirOrder()
    {
        QStringList dialogs;
        for (ToolDialog* d : window->findChildren<ToolDialog*>(Qt::FindDirectChildrenOnly)) {
            dialogs << d->objectName() + u'|' + d->windowTitle();
            QVERIFY(!d->isVisible());
        }
        QCOMPARE(dialogs, (QStringList{u"frmSetEdge|エッジ動作の矢印"_s, u"frmMakePulse|パルス波形作成"_s,
                                       u"frmShowNumber|数値を表示"_s, u"frmSetDelay|遅延設定"_s}));
        TfrmMakePulse* pulse = window->makePulseDialog();
        QCOMPARE(pulse->edt0PerN->text(), u"1"_s);
        QCOMPARE(pulse->rdgBegin->itemIndex(), 0);
        QCOMPARE(window->setEdgeDialog()->rdoEdge->itemIndex(), 0);
        QCOMPARE(window->showNumberDialog()->rdoShowNumber->itemIndex(), -1);
        QCOMPARE(window->setDelayDialog()->edtDelay->text(), u"0"_s);
    }

    void everyChangingCommandMarksTheChartAndRecordsIt_data()
    {
        QTest::addColumn<std::function<void(TfrmMain&)>>("run");
        QTest::addColumn<int>("snapshots");
        auto key = [](Qt::Key k, Qt::KeyboardModifiers m) {
            return std::function<void(TfrmMain&)>([k, m](TfrmMain&) { pressKey(k, m); });
        };
        auto ok = [](CommandId id, QDialog* (*dialog)(TfrmMain&)) {
            return std::function<void(TfrmMain&)>([id, dialog](TfrmMain& w) {
                w.command(id)->trigger();
                QTest::mouseClick(dialog(w)->findChild<QPushButton*>(u"btnOK"_s), Qt::LeftButton);
                QVERIFY(!dialog(w)->isVisible());
            });
        };
        QTest::newRow("Copy, Ctrl+C") << key(Qt::Key_C, Qt::ControlModifier) << 0;
        QTest::newRow("Cut, Ctrl+X") << key(Qt::Key_X, Qt::ControlModifier) << 1;
        QTest::newRow("Paste, Ctrl+V") << key(Qt::Key_V, Qt::ControlModifier) << 1;
        QTest::newRow("Delete, Ctrl+Delete") << key(Qt::Key_Delete, Qt::ControlModifier) << 1;
        QTest::newRow("Timing line")
            << std::function<void(TfrmMain&)>([](TfrmMain& w) { w.command(CommandId::actTimingLine)->trigger(); })
            << 1;
        QTest::newRow("Delay")
            << ok(CommandId::actSetDelay, [](TfrmMain& w) -> QDialog* { return w.setDelayDialog(); }) << 1;
        QTest::newRow("Edge arrows")
            << ok(CommandId::actShowEdge, [](TfrmMain& w) -> QDialog* { return w.setEdgeDialog(); }) << 1;
        QTest::newRow("Number labels, none chosen")
            << ok(CommandId::actShowNumber, [](TfrmMain& w) -> QDialog* { return w.showNumberDialog(); }) << 1;
        QTest::newRow("Pulse")
            << ok(CommandId::actMakePulse, [](TfrmMain& w) -> QDialog* { return w.makePulseDialog(); }) << 2;
    }
    void everyChangingCommandMarksTheChartAndRecordsIt()
    {
        QFETCH(std::function<void(TfrmMain&)>, run);
        QFETCH(int, snapshots);
        dragOver(2, 1, 3, 2);
        run(*window);
        QCOMPARE(undoCount, snapshots);
        QCOMPARE(modifiedFlag, snapshots > 0);
        QVERIFY(historySlots[5] == document || snapshots == 0);
        QVERIFY(prompts->log.isEmpty());
    }

    void anUnsavedCutMakesExitAsk()
    {
        dragOver(1, 1, 2, 2);
        pressKey(Qt::Key_X, Qt::ControlModifier);
        prompts->confirmAnswers.push_back(Prompts::Answer::Cancel);
        window->close();
        QCOMPARE(prompts->asked(u"confirm"_s), QStringList{u"confirm|確認|現在の状態を保存しますか？"_s});
        QVERIFY(window->isVisible());
    }

    void aSingleCellIsRefusedWhereARangeIsNeeded_data()
    {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<bool>("refused");
        QTest::newRow("Pulse") << CommandId::actMakePulse << true;
        QTest::newRow("Edge arrows") << CommandId::actShowEdge << true;
        QTest::newRow("Number labels") << CommandId::actShowNumber << true;
        QTest::newRow("Delay") << CommandId::actSetDelay << false;
        QTest::newRow("Timing line") << CommandId::actTimingLine << false;
    }
    void aSingleCellIsRefusedWhereARangeIsNeeded()
    {
        QFETCH(CommandId, command);
        QFETCH(bool, refused);
        clickCell(3, 2);
        window->command(command)->trigger();
        QCOMPARE(prompts->asked(u"warning"_s),
                 refused ? QStringList{u"warning|警告|2マス以上の範囲を選択してください"_s} : QStringList{});
        bool anyShown = false;
        for (ToolDialog* d : window->findChildren<ToolDialog*>())
            anyShown |= d->isVisible();
        QCOMPARE(anyShown, command == CommandId::actSetDelay);
        QCOMPARE(undoCount, command == CommandId::actTimingLine ? 1 : 0);
    }

    void okFillsTheSelectionCurrentThenAndRecordsTwice()
    {
        document.level[1][1] = 2;
        document.level[4][3] = 2;
        dragOver(1, 1, 4, 1);
        TfrmMakePulse* pulse = window->makePulseDialog();
        open(CommandId::actMakePulse, pulse);
        typeText(u"2"_s);
        pressKey(Qt::Key_Tab);
        typeText(u"1"_s);

        // The main window stays usable: the selection moves while the dialog is open.
        backToGrid();
        dragOver(2, 3, 6, 3);
        pulse->activateWindow();
        waitActive(pulse);
        QTest::mouseClick(pulse->btnOK, Qt::LeftButton);

        QVERIFY(!pulse->isVisible());
        QCOMPARE(levels(3, 1, 7), (QList<int>{0, 0, 0, 1, 0, 0, 0}));
        QCOMPARE(document.level[1][1], 2);
        QCOMPARE(undoCount, 2);
        QVERIFY(modifiedFlag);
        backToGrid();
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(levels(3, 1, 7), (QList<int>{0, 0, 0, 2, 0, 0, 0}));

        // The dialog opens again as it was left.
        open(CommandId::actMakePulse, pulse);
        QCOMPARE(pulse->edt0PerN->text(), u"2"_s);
        QCOMPARE(pulse->edt1perN->text(), u"1"_s);
    }

    void anEmptiedLengthCountsAsOneAndShowsIt()
    {
        dragOver(1, 1, 6, 1);
        TfrmMakePulse* pulse = window->makePulseDialog();
        pulse->edt1perN->setValue(2);
        open(CommandId::actMakePulse, pulse);
        pressKey(Qt::Key_Backspace);
        QCOMPARE(pulse->edt0PerN->text(), QString());
        pressKey(Qt::Key_Return);   // OK, without leaving the field
        QTRY_VERIFY(!pulse->isVisible());
        QCOMPARE(pulse->edt0PerN->text(), u"1"_s);
        QCOMPARE(levels(1, 1, 6), (QList<int>{0, 1, 1, 0, 1, 1}));
    }

    void theSpinFieldTakesNumbersAndCorrectsThemOnLeaving_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");   // once the field is left
        QTest::newRow("in range") << u"37"_s << u"37"_s;
        QTest::newRow("letters refused") << u"a4b2"_s << u"42"_s;
        QTest::newRow("above the range") << u"60"_s << u"50"_s;
        QTest::newRow("below the range") << u"-7"_s << u"0"_s;
        QTest::newRow("plus sign") << u"+9"_s << u"9"_s;
        QTest::newRow("not an integer") << u"1.5"_s << u"0"_s;
        QTest::newRow("signs only") << u"+-"_s << u"0"_s;
    }
    void theSpinFieldTakesNumbersAndCorrectsThemOnLeaving()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        clickCell(2, 2);
        TfrmSetDelay* dialog = window->setDelayDialog();
        dialog->edtDelay->setValue(5);
        open(CommandId::actSetDelay, dialog);
        pressKey(Qt::Key_Tab);
        typeText(typed);
        pressKey(Qt::Key_Tab);
        QCOMPARE(dialog->edtDelay->text(), shown);
    }

    void theArrowKeysStepWithinTheRange()
    {
        clickCell(2, 2);
        IntSpinField* field = window->setDelayDialog()->edtDelay;
        field->setValue(49);
        open(CommandId::actSetDelay, window->setDelayDialog());
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Up);
        QCOMPARE(field->text(), u"50"_s);
        typeText(u"1"_s);   // the stepped number is selected: typing replaces it
        pressKey(Qt::Key_Down);
        pressKey(Qt::Key_Down);
        QCOMPARE(field->text(), u"0"_s);
    }

    void theDialogsHandOverWhatWasChosen()
    {
        const int32_t row[] = {0, 0, 1, 1, 0};
        for (int c = 0; c < 5; ++c)
            document.level[c][2] = row[c];
        document.cellFlags[2][2] = kFlagFallingArrow | kFlagShowNumber;
        dragOver(1, 2, 4, 2);

        open(CommandId::actSetDelay, window->setDelayDialog());
        pressKey(Qt::Key_Tab);
        typeText(u"12"_s);
        pressKey(Qt::Key_Return);
        QTRY_COMPARE(document.delay[2][2], 12);
        QCOMPARE(document.delay[4][2], 12);

        backToGrid();
        open(CommandId::actShowEdge, window->setEdgeDialog());
        pressKey(Qt::Key_Down);   // なし -> 立ち上がり
        QTest::mouseClick(window->setEdgeDialog()->btnOK, Qt::LeftButton);
        QCOMPARE(document.cellFlags[2][2], kFlagRisingArrow | kFlagShowNumber);

        backToGrid();
        open(CommandId::actShowNumber, window->showNumberDialog());
        pressKey(Qt::Key_Space);   // 表示しない
        QTest::mouseClick(window->showNumberDialog()->btnOK, Qt::LeftButton);
        QCOMPARE(document.cellFlags[2][2], kFlagRisingArrow);
    }
};

SOLVENA_WIDGET_TEST_MAIN(MainToolsTest)

#include "uMainToolsTest.moc"
