// The grid layout commands through the command table with scripted prompts, and the
// header drags that share their modified flag.

#include "document/Document.h"
#include "render/ChartOutput.h"
#include "render/QtFont.h"
#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "GridPoints.h"
#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAction>
#include <QTest>

#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CommandId)

class LayoutCommandsTest : public QObject, WindowFixture {
    Q_OBJECT

private:

    QPoint lineRightOf(int col) const { return QPoint(grid->cellRect(col, 0).right, 10); }
    void drag(QPoint from, QPoint via, QPoint to)
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(grid->viewport(), via);
        QTest::mouseMove(grid->viewport(), to);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // Out of range: the warning, then the prompt again with the entry kept. Only what
    // the chart file stores marks the chart modified.
    void numbersOutOfRangeAreAskedAgain_data()
    {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<QString>("question");      // caption|prompt|first text
        QTest::addColumn<QStringList>("entries");   // the last one is accepted
        QTest::addColumn<QList<int>>("shown");      // rows, columns, heights of rows 0 and 1, widths of columns 0 and 1
        QTest::addColumn<bool>("modifies");
        QTest::newRow("signals") << CommandId::mnuColCount << u"端子数の入力|端子数を入力してください（1～99）|"_s
                                 << QStringList{u"0"_s, u"100"_s, u"99"_s} << QList<int>{100, 30, 25, 25, 80, 15} << true;
        QTest::newRow("steps") << CommandId::mnuRowCount << u"列数の入力|列数を入力してください（1～99）|"_s
                               << QStringList{u"100"_s, u" 1 "_s} << QList<int>{5, 2, 25, 25, 80, 15} << true;
        QTest::newRow("height") << CommandId::mnuHeight << u"行の高さ設定|行の高さを入力してください|25"_s
                                << QStringList{u"0"_s, u"1001"_s, u"４０"_s} << QList<int>{5, 30, 25, 40, 80, 15} << false;
        QTest::newRow("width") << CommandId::mnuWidth << u"列の横幅設定|列の横幅を入力してください|15"_s
                               << QStringList{u"-3"_s, u"1000"_s} << QList<int>{5, 30, 25, 25, 80, 1000} << true;
    }
    void numbersOutOfRangeAreAskedAgain()
    {
        QFETCH(CommandId, command);
        QFETCH(QString, question);
        QFETCH(QStringList, entries);
        QFETCH(QList<int>, shown);
        QFETCH(bool, modifies);
        prompts->inputAnswers.assign(entries.begin(), entries.end());
        run(command);
        QStringList asked{u"input|"_s + question};
        for (qsizetype i = 0; i + 1 < entries.size(); ++i)
            asked << u"input|"_s + question.section(u'|', 0, 1) + u'|' + entries[i];
        QCOMPARE(prompts->asked(u"input"_s), asked);
        const int bound = command == CommandId::mnuColCount || command == CommandId::mnuRowCount ? 99 : 1000;
        QCOMPARE(prompts->asked(u"warning"_s),
                 QStringList(entries.size() - 1, u"warning|警告|1～%1までの数を入力してください"_s.arg(bound)));
        QCOMPARE((QList<int>{grid->rowCount(), grid->colCount(), grid->rowHeight(0), grid->rowHeight(1),
                             grid->colWidth(0), grid->colWidth(1)}), shown);
        QCOMPARE(modifiedFlag, modifies);
    }

    void textThatIsNoNumberEndsTheCommandWithNothingChanged()
    {
        prompts->inputAnswers = {u"1.5"_s, std::nullopt};
        run(CommandId::mnuWidth);
        run(CommandId::mnuWidth);
        QCOMPARE(prompts->asked(u"error"_s), QStringList{u"error|ソルベナエディタ|'1.5' は整数ではありません."_s});
        QVERIFY(grid->layout() == GridLayout());
        QVERIFY(!modifiedFlag);
    }

    void countLoweredAndRaisedBringsBackNamesAndLevels()
    {
        document.signalName[4] = "LAST";
        document.level[29][4] = kLevelHigh;
        const TCell before = document;
        prompts->inputAnswers = {u"2"_s, u"10"_s, u"4"_s, u"29"_s};
        run(CommandId::mnuColCount);
        run(CommandId::mnuRowCount);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->colCount(), 11);
        run(CommandId::mnuColCount);
        run(CommandId::mnuRowCount);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->colCount(), 30);
        QVERIFY(document == before);
    }

    void columnWidthKeepsTheNameColumnsDraggedWidth()
    {
        drag(lineRightOf(0), lineRightOf(0) + QPoint(10, 0), lineRightOf(0) + QPoint(30, 0));
        QCOMPARE(grid->colWidth(0), 110);
        prompts->inputAnswers = {u"20"_s};
        run(CommandId::mnuWidth);
        std::vector<int32_t> widths(30, 20);
        widths[0] = 110;
        QCOMPARE(grid->layout().colWidths, widths);
    }

    // The chart file stores the widths: only a drag that changed one marks the chart.
    void headerDragsMarkModifiedOnlyWhenAWidthChanged_data()
    {
        QTest::addColumn<int>("width2");    // of column 2 before the drag
        QTest::addColumn<bool>("move");     // column 2 to 5, or its right line 12 px on and `back`
        QTest::addColumn<int>("back");
        QTest::addColumn<bool>("modified");
        QTest::newRow("wider") << 15 << false << 0 << true;
        QTest::newRow("wider and back") << 15 << false << 12 << false;
        QTest::newRow("moved among equal widths") << 15 << true << 0 << false;
        QTest::newRow("moved, own width") << 30 << true << 0 << true;
    }
    void headerDragsMarkModifiedOnlyWhenAWidthChanged()
    {
        QFETCH(int, width2);
        QFETCH(bool, move);
        QFETCH(int, back);
        QFETCH(bool, modified);
        window->changeGridLayout([&](GridLayout& layout) { setColWidth(layout, 2, width2); });
        if (move)
            drag(centreOf(2, 0), centreOf(4, 0), centreOf(5, 0));
        else
            drag(lineRightOf(2), lineRightOf(2) + QPoint(12, 0), lineRightOf(2) + QPoint(12 - back, 0));
        QCOMPARE(modifiedFlag, modified);
        // The window applied what the grid reported: the width moved or sized.
        QCOMPARE(grid->colWidth(move ? 5 : 2), move ? width2 : width2 + 12 - back);
    }

    // Each check mark flips and its grid option follows; the others stay.
    void viewOptionsFollowTheirCheckMarks()
    {
        const auto state = [this] {
            const GridLayout& l = grid->layout();
            return QList<bool>{window->command(CommandId::mnuVertLine)->isChecked(), l.vertLines,
                               window->command(CommandId::mnuHorzLine)->isChecked(), l.horzLines,
                               window->command(CommandId::mnuTerminalRight)->isChecked(), l.namesRightAligned};
        };
        QList<bool> expected{true, true, true, true, false, false};
        QCOMPARE(state(), expected);
        const CommandId commands[] = {CommandId::mnuVertLine, CommandId::mnuHorzLine, CommandId::mnuTerminalRight};
        for (int i = 0; i < 3; ++i) {
            run(commands[i]);
            expected[2 * i] = expected[2 * i + 1] = !expected[2 * i];
            QCOMPARE(state(), expected);
        }
        QVERIFY(!modifiedFlag);
    }

    void fontAppliesToNamesOnScreenAndInExports()
    {
        document.signalName[2] = "WMW";
        const CellRect cell = grid->cellRect(0, 2);
        const QRect box(cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top);
        const auto onScreen = [&] { return grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(box); };
        const auto exported = [&] {
            return chartImage(ChartPicture{document, grid->layout(), chartFont, true}, QSize(200, 100)).copy(box);
        };
        const QImage before = onScreen();
        QFont chosen(u"DejaVu Serif"_s);
        chosen.setPixelSize(20);
        prompts->fontAnswers = {chosen, std::nullopt};
        run(CommandId::mnuFont);
        QVERIFY(grid->layout().gridFont == toFontDesc(chosen));
        QVERIFY(onScreen() != before);
        QCOMPARE(exported(), onScreen());
        // The dialog opens on its own font, then on the last one chosen; Cancel keeps the grid's.
        run(CommandId::mnuFont);
        QCOMPARE(prompts->asked(u"font"_s), (QStringList{u"font|ＭＳ Ｐゴシック"_s, u"font|DejaVu Serif"_s}));
        QVERIFY(grid->layout().gridFont == toFontDesc(chosen));
        QVERIFY(!modifiedFlag);
    }
};

SOLVENA_WIDGET_TEST_MAIN(LayoutCommandsTest)

#include "uMainLayoutTest.moc"
