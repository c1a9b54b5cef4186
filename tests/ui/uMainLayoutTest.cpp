// The grid layout commands driven through the window's command table with scripted
// answers to their prompts, and the header drags they share the modified flag with.

#include "document/Document.h"
#include "render/ChartOutput.h"
#include "render/QtFont.h"
#include "ui/ChartGrid.h"
#include "ui/CommandTable.h"
#include "ui/uMain.h"

#include "ScriptedPrompts.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CommandId)

namespace {

// The value a number command changes, as the grid shows it.
int measure(const ChartGrid& grid, CommandId command)
{
    switch (command) {
    case CommandId::mnuColCount: return grid.rowCount();
    case CommandId::mnuRowCount: return grid.colCount();
    case CommandId::mnuHeight: return grid.rowHeight(1);
    default: return grid.colWidth(1);
    }
}

}  // namespace

class LayoutCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrmMain> window;
    ScriptedPrompts* prompts = nullptr;
    ChartGrid* grid = nullptr;

    void run(CommandId id) { window->command(id)->trigger(); }

    QPoint centreOf(int col, int row) const
    {
        const CellRect r = grid->cellRect(col, row);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void drag(QPoint from, QPoint to)
    {
        QWidget* viewport = grid->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, (from + to) / 2);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    }
    // Drags the boundary right of column `col` in the header by `dx` pixels.
    void dragBoundary(int col, int dx)
    {
        const QPoint line(grid->cellRect(col, 0).right, 10);
        drag(line, line + QPoint(dx, 0));
    }

private slots:
    void init()
    {
        document = TCell{};
        modifiedFlag = false;
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        window = std::make_unique<TfrmMain>(std::move(scripted));
        grid = window->grid();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        QVERIFY2(prompts->unexpected.isEmpty(), qPrintable(prompts->unexpected.join(u' ')));
        window.reset();
    }

    // Out of range: the warning, then the prompt again with the entry kept.
    void numbersOutOfRangeAreAskedAgain_data()
    {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<QString>("question");      // caption|prompt
        QTest::addColumn<QString>("firstText");
        QTest::addColumn<QStringList>("entries");   // the last one is accepted
        QTest::addColumn<int>("bound");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("modifies");
        QTest::newRow("signals") << CommandId::mnuColCount << u"端子数の入力|端子数を入力してください（1～99）"_s
                                 << QString() << QStringList{u"0"_s, u"100"_s, u"99"_s} << 99 << 100 << true;
        QTest::newRow("steps") << CommandId::mnuRowCount << u"列数の入力|列数を入力してください（1～99）"_s
                               << QString() << QStringList{u"100"_s, u"0"_s, u" 1 "_s} << 99 << 2 << true;
        QTest::newRow("height, full-width digits") << CommandId::mnuHeight << u"行の高さ設定|行の高さを入力してください"_s
                                                   << u"25"_s << QStringList{u"0"_s, u"1001"_s, u"４０"_s} << 1000 << 40 << false;
        QTest::newRow("width") << CommandId::mnuWidth << u"列の横幅設定|列の横幅を入力してください"_s
                               << u"15"_s << QStringList{u"-3"_s, u"1000"_s} << 1000 << 1000 << true;
    }
    void numbersOutOfRangeAreAskedAgain()
    {
        QFETCH(CommandId, command);
        QFETCH(QString, question);
        QFETCH(QString, firstText);
        QFETCH(QStringList, entries);
        QFETCH(int, bound);
        QFETCH(int, shown);
        QFETCH(bool, modifies);
        for (const QString& entry : entries)
            prompts->inputAnswers.push_back(entry);
        run(command);

        QStringList expected{u"input|"_s + question + u'|' + firstText};
        for (qsizetype i = 0; i + 1 < entries.size(); ++i)
            expected << u"input|"_s + question + u'|' + entries[i];
        QCOMPARE(prompts->asked(u"input"_s), expected);
        QCOMPARE(prompts->asked(u"warning"_s),
                 QStringList(entries.size() - 1, u"warning|警告|1～%1までの数を入力してください"_s.arg(bound)));
        QCOMPARE(measure(*grid, command), shown);
        QCOMPARE(modifiedFlag, modifies);
    }

    void cancelOrTextThatIsNoNumberChangesNothing_data()
    {
        QTest::addColumn<CommandId>("command");
        for (const CommandId id : {CommandId::mnuColCount, CommandId::mnuRowCount, CommandId::mnuHeight,
                                   CommandId::mnuWidth})
            QTest::addRow("%s", commandInfo(id).name) << id;
    }
    void cancelOrTextThatIsNoNumberChangesNothing()
    {
        QFETCH(CommandId, command);
        const GridLayout before = grid->layout();
        prompts->inputAnswers = {std::nullopt, u"1.5"_s, u"0x10"_s, u"abc"_s};
        for (int i = 0; i < 4; ++i)
            run(command);
        QCOMPARE(prompts->asked(u"error"_s),
                 (QStringList{u"error|ソルベナエディタ|'1.5' は整数ではありません."_s,
                              u"error|ソルベナエディタ|'0x10' は整数ではありません."_s,
                              u"error|ソルベナエディタ|'abc' は整数ではありません."_s}));
        QVERIFY(prompts->asked(u"warning"_s).isEmpty());
        QVERIFY(grid->layout() == before);
        QVERIFY(!modifiedFlag);
    }

    void countLoweredAndRaisedBringsBackNamesAndLevels()
    {
        document.signalName[3] = "DATA";
        document.signalName[4] = "LAST";
        document.level[5][4] = kLevelHigh;
        document.level[29][1] = kLevelUndefined;
        document.delay[29][1] = 3;
        const TCell before = document;
        prompts->inputAnswers = {u"2"_s, u"10"_s};
        run(CommandId::mnuColCount);
        run(CommandId::mnuRowCount);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->colCount(), 11);
        prompts->inputAnswers = {u"4"_s, u"29"_s};
        run(CommandId::mnuColCount);
        run(CommandId::mnuRowCount);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->colCount(), 30);
        QVERIFY(document == before);
    }

    void rowHeightLeavesTheHeaderRowAt25()
    {
        prompts->inputAnswers = {u"40"_s};
        run(CommandId::mnuHeight);
        QCOMPARE(grid->rowHeight(0), 25);
        for (int r = 1; r < grid->rowCount(); ++r)
            QCOMPARE(grid->rowHeight(r), 40);
        QCOMPARE(grid->defaultRowHeight(), 40);
        QCOMPARE(grid->cellRect(1, 2), (CellRect{81, 67, 96, 107}));
        // The next prompt offers the height now in force.
        prompts->inputAnswers = {std::nullopt};
        run(CommandId::mnuHeight);
        QCOMPARE(prompts->asked(u"input"_s).last(), u"input|行の高さ設定|行の高さを入力してください|40"_s);
    }

    void columnWidthKeepsTheNameColumnsWidthAlsoADraggedOne()
    {
        dragBoundary(0, 30);
        QCOMPARE(grid->colWidth(0), 110);
        QVERIFY(modifiedFlag);
        modifiedFlag = false;
        prompts->inputAnswers = {u"20"_s};
        run(CommandId::mnuWidth);
        QCOMPARE(grid->colWidth(0), 110);
        for (int c = 1; c < grid->colCount(); ++c)
            QCOMPARE(grid->colWidth(c), 20);
        QVERIFY(modifiedFlag);
    }

    // The chart file stores the widths: a drag that changed one marks the chart
    // modified, one that left them as they were does not.
    void headerDragsMarkModifiedOnlyWhenAWidthChanged_data()
    {
        QTest::addColumn<int>("width2");   // of column 2 before the drag
        QTest::addColumn<bool>("move");    // column 2 to 5, or its boundary +12 then -12
        QTest::addColumn<int>("boundaryBack");
        QTest::addColumn<bool>("modified");
        QTest::newRow("wider") << 15 << false << 0 << true;
        QTest::newRow("wider and back") << 15 << false << -12 << false;
        QTest::newRow("moved among equal widths") << 15 << true << 0 << false;
        QTest::newRow("moved, own width") << 30 << true << 0 << true;
    }
    void headerDragsMarkModifiedOnlyWhenAWidthChanged()
    {
        QFETCH(int, width2);
        QFETCH(bool, move);
        QFETCH(int, boundaryBack);
        QFETCH(bool, modified);
        grid->setColWidth(2, width2);
        if (move) {
            drag(centreOf(2, 0), centreOf(5, 0));
        } else {
            const QPoint line(grid->cellRect(2, 0).right, 10);
            QWidget* viewport = grid->viewport();
            QTest::mousePress(viewport, Qt::LeftButton, {}, line);
            QTest::mouseMove(viewport, line + QPoint(12, 0));
            QTest::mouseMove(viewport, line + QPoint(12 + boundaryBack, 0));
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, line + QPoint(12 + boundaryBack, 0));
            QCOMPARE(grid->colWidth(2), width2 + 12 + boundaryBack);
        }
        QCOMPARE(modifiedFlag, modified);
    }

    // The check mark flips, the grid follows it, the rest stays; the chart file does
    // not store these, so the chart is not modified.
    void viewOptionsFollowTheirCheckMarks_data()
    {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<int>("option");   // 0 vertical lines, 1 horizontal lines, 2 right-aligned names
        QTest::addColumn<bool>("initially");
        QTest::newRow("vertical lines") << CommandId::mnuVertLine << 0 << true;
        QTest::newRow("horizontal lines") << CommandId::mnuHorzLine << 1 << true;
        QTest::newRow("right-aligned names") << CommandId::mnuTerminalRight << 2 << false;
    }
    void viewOptionsFollowTheirCheckMarks()
    {
        QFETCH(CommandId, command);
        QFETCH(int, option);
        QFETCH(bool, initially);
        const auto options = [this] {
            const GridLayout& l = grid->layout();
            return QList<bool>{l.vertLines, l.horzLines, l.namesRightAligned};
        };
        QList<bool> expected{true, true, false};
        QCOMPARE(options(), expected);
        QCOMPARE(window->command(command)->isChecked(), initially);
        run(command);
        expected[option] = !initially;
        QCOMPARE(window->command(command)->isChecked(), !initially);
        QCOMPARE(options(), expected);
        run(command);
        expected[option] = initially;
        QCOMPARE(window->command(command)->isChecked(), initially);
        QCOMPARE(options(), expected);
        QVERIFY(!modifiedFlag);
    }

    void fontAppliesToNamesOnScreenAndInExports()
    {
        document.signalName[2] = "WMW";
        const CellRect cell = grid->cellRect(0, 2);
        const QRect box(cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top);
        const auto screen = [&] {
            return grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(box);
        };
        const auto exported = [&] {
            return chartImage(ChartPicture{document, grid->layout(), chartFont, true}, QSize(400, 140)).copy(box);
        };
        const QImage screenBefore = screen();
        QCOMPARE(exported(), screenBefore);

        QFont chosen(u"DejaVu Serif"_s);
        chosen.setPixelSize(20);
        chosen.setBold(true);
        prompts->fontAnswers = {chosen, std::nullopt};
        const FontDesc headerFont = chartFont;
        run(CommandId::mnuFont);
        QVERIFY(grid->gridFont() == toFontDesc(chosen));
        const QImage screenAfter = screen();
        QVERIFY(screenAfter != screenBefore);
        QCOMPARE(exported(), screenAfter);
        QVERIFY(chartFont == headerFont);
        QVERIFY(!modifiedFlag);

        // The dialog opens first on its own font, then on the last one chosen; Cancel keeps the grid's.
        run(CommandId::mnuFont);
        QCOMPARE(prompts->asked(u"font"_s), (QStringList{u"font|ＭＳ Ｐゴシック"_s, u"font|DejaVu Serif"_s}));
        QVERIFY(grid->gridFont() == toFontDesc(chosen));
    }
};

SOLVENA_WIDGET_TEST_MAIN(LayoutCommandsTest)

#include "uMainLayoutTest.moc"
