#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include "GridPoints.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CellRect)

namespace {

// Default layout: column 0 is 80 wide, the others 15; rows are 25 high; one pixel
// of grid line after every column and row.
int colLeft(int col) { return col == 0 ? 0 : 81 + (col - 1) * 16; }
int rowTop(int row) { return row * 26; }

}  // namespace

class ChartGridTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ChartGrid> grid;

    // A grid whose viewport is exactly `width` x `height` pixels.
    void sizeViewport(int width, int height)
    {
        const QSize frame = grid->size() - grid->viewport()->size();
        grid->resize(QSize(width, height) + frame);
        // Scroll bars appearing change the viewport; settle on the requested size.
        for (int i = 0; i < 3 && grid->viewport()->size() != QSize(width, height); ++i)
            grid->resize(grid->size() + QSize(width, height) - grid->viewport()->size());
    }

    QPoint centreOf(int col, int row) const { return cellCentre(*grid, col, row); }

    // What the window does: changes the layout it owns and hands it to the grid.
    void changeGridLayout(const std::function<void(GridLayout&)>& change)
    {
        GridLayout layout = grid->layout();
        change(layout);
        grid->setLayout(layout);
    }

private slots:
    void init()
    {
        grid = std::make_unique<ChartGrid>();
        grid->show();
        sizeViewport(700, 300);
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }
    void cleanup() { grid.reset(); }

    void startsAsTheDocumentExpects()
    {
        QCOMPARE(grid->colCount(), 30);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->colWidth(0), 80);
        QCOMPARE(grid->colWidth(1), 15);
        QCOMPARE(grid->defaultColWidth(), 15);
        QCOMPARE(grid->defaultRowHeight(), 25);
        QVERIFY(grid->layout().vertLines);
        QVERIFY(grid->layout().horzLines);
        QVERIFY(!grid->editingEnabled());
        const FontDesc font = grid->layout().gridFont;
        QCOMPARE(QString::fromStdString(font.family), u"ＭＳ ゴシック"_s);
        QCOMPARE(font.pixelSize, 13);
    }

    void cellRectUnscrolled_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<CellRect>("expected");
        QTest::newRow("name header") << 0 << 0 << CellRect{0, 0, 80, 25};
        QTest::newRow("first step header") << 1 << 0 << CellRect{81, 0, 96, 25};
        QTest::newRow("first name") << 0 << 1 << CellRect{0, 26, 80, 51};
        QTest::newRow("step 2 of signal 2") << 2 << 2 << CellRect{97, 52, 112, 77};
        QTest::newRow("last row") << 29 << 4 << CellRect{colLeft(29), rowTop(4), colLeft(29) + 15, rowTop(4) + 25};
        QTest::newRow("beyond the columns") << 30 << 1 << CellRect{};
        QTest::newRow("beyond the rows") << 1 << 5 << CellRect{};
        QTest::newRow("negative") << -1 << 1 << CellRect{};
    }
    void cellRectUnscrolled()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(CellRect, expected);
        QCOMPARE(grid->cellRect(col, row), expected);
    }

    void switchingLinesOffNeverMovesACell()
    {
        const CellRect before = grid->cellRect(5, 3);
        changeGridLayout([&](GridLayout& layout) { layout.vertLines = false; });
        changeGridLayout([&](GridLayout& layout) { layout.horzLines = false; });
        QCOMPARE(grid->cellRect(5, 3), before);
    }

    void scrolledCellsAreOutOfViewOrShifted()
    {
        changeGridLayout([&](GridLayout& layout) { setColCount(layout, 100); });
        changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 100); });
        grid->setLeftCol(3);
        grid->setTopRow(4);
        QCOMPARE(grid->leftCol(), 3);
        QCOMPARE(grid->topRow(), 4);
        // Column 0 scrolls away like any column; the header row stays on top.
        QVERIFY(grid->cellRect(0, 5).isOutOfView());
        QVERIFY(grid->cellRect(2, 5).isOutOfView());
        QVERIFY(grid->cellRect(3, 3).isOutOfView());
        QCOMPARE(grid->cellRect(3, 0), (CellRect{0, 0, 15, 25}));
        QCOMPARE(grid->cellRect(3, 4), (CellRect{0, 26, 15, 51}));
        QCOMPARE(grid->cellRect(5, 6), (CellRect{32, 78, 47, 103}));
    }

    void partlyVisibleLastColumnAndRowAreCut()
    {
        changeGridLayout([&](GridLayout& layout) { setColCount(layout, 100); });
        changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 100); });
        // 700 px: column 0 ends at 80, then steps of 16; step 38 ends at 81+37*16+15 = 688,
        // step 39 starts at 689 and is cut at 700; step 40 is out of view.
        QCOMPARE(grid->cellRect(38, 1).right, 688);
        QCOMPARE(grid->cellRect(39, 1), (CellRect{689, 26, 700, 51}));
        QVERIFY(grid->cellRect(40, 1).isOutOfView());
        // 300 px: row 10 ends at 285, row 11 starts at 286 and is cut at 300.
        QCOMPARE(grid->cellRect(1, 11), (CellRect{81, 286, 96, 300}));
        QVERIFY(grid->cellRect(1, 12).isOutOfView());
    }

    void scrollBarsFollowTheExtentAndTrackTheThumb()
    {
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
        changeGridLayout([&](GridLayout& layout) { setColCount(layout, 100); });
        QTRY_VERIFY(grid->horizontalScrollBar()->isVisible());
        QVERIFY(grid->horizontalScrollBar()->maximum() > 0);
        grid->horizontalScrollBar()->setValue(10);
        QCOMPARE(grid->leftCol(), 10);
        QCOMPARE(grid->cellRect(10, 1).left, 0);
        changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 100); });
        grid->verticalScrollBar()->setValue(20);
        QCOMPARE(grid->topRow(), 20);
        QCOMPARE(grid->cellRect(10, 20).top, 26);
    }

    void setSelectionNormalisesAndNeverIncludesTheHeader()
    {
        grid->setSelection(CellSelection{5, 3, 2, 0});
        QCOMPARE(grid->selection(), (CellSelection{2, 1, 5, 3}));
        QCOMPARE(grid->anchorCell(), QPoint(2, 1));
        QCOMPARE(grid->currentCell(), QPoint(5, 3));
    }

    void draggingSelectsARangeFromTheAnchor()
    {
        QSignalSpy moved(grid.get(), &ChartGrid::selectCell);
        QWidget* vp = grid->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, centreOf(5, 3));
        QTest::mouseMove(vp, centreOf(3, 2));
        QTest::mouseMove(vp, centreOf(2, 1));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, centreOf(2, 1));
        QCOMPARE(grid->selection(), (CellSelection{2, 1, 5, 3}));
        QCOMPARE(grid->anchorCell(), QPoint(5, 3));
        QCOMPARE(grid->currentCell(), QPoint(2, 1));
        QVERIFY(moved.count() >= 2);
        QCOMPARE(moved.last().at(0).toInt(), 2);
        QCOMPARE(moved.last().at(1).toInt(), 1);
    }

    void clickingTheHeaderSelectsNothing()
    {
        grid->setSelection(CellSelection{4, 2, 4, 2});
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOf(7, 0));
        QCOMPARE(grid->selection(), (CellSelection{4, 2, 4, 2}));
    }

    void selectCellIsRaisedBeforeTheMove()
    {
        QPoint seenCurrent;
        connect(grid.get(), &ChartGrid::selectCell, this,
                [&](int, int) { seenCurrent = grid->currentCell(); });
        grid->setSelection(CellSelection{1, 1, 1, 1});
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QCOMPARE(seenCurrent, QPoint(1, 1));
        QCOMPARE(grid->currentCell(), QPoint(2, 1));
    }

    void clickingTheCurrentCellReportsItToo()
    {
        // At start the current cell is the first name; a click on it must still tell
        // the window which column the user is in.
        QSignalSpy moved(grid.get(), &ChartGrid::selectCell);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOf(0, 1));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), 0);
        QCOMPARE(moved.at(0).at(1).toInt(), 1);
    }

    void keyboardMovesExtendsAndTabs()
    {
        grid->setSelection(CellSelection{2, 2, 2, 2});
        QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid->selection(), (CellSelection{2, 2, 3, 3}));
        QTest::keyClick(grid.get(), Qt::Key_Up);
        QCOMPARE(grid->selection(), (CellSelection{3, 2, 3, 2}));
        QTest::keyClick(grid.get(), Qt::Key_Up);
        QTest::keyClick(grid.get(), Qt::Key_Up);  // the header row is never reached
        QCOMPARE(grid->currentCell(), QPoint(3, 1));
        grid->setSelection(CellSelection{29, 1, 29, 1});
        QTest::keyClick(grid.get(), Qt::Key_Tab);
        QCOMPARE(grid->currentCell(), QPoint(0, 2));
        QTest::keyClick(grid.get(), Qt::Key_Backtab);
        QCOMPARE(grid->currentCell(), QPoint(29, 1));
    }

    void keyboardScrollsTheCurrentCellIntoView()
    {
        changeGridLayout([&](GridLayout& layout) { setColCount(layout, 100); });
        grid->setSelection(CellSelection{39, 1, 39, 1});
        QTest::keyClick(grid.get(), Qt::Key_Right);
        const CellRect r = grid->cellRect(40, 1);
        QVERIFY(!r.isOutOfView());
        QVERIFY(r.right <= grid->viewport()->width());
        QTest::keyClick(grid.get(), Qt::Key_Home);
        QCOMPARE(grid->leftCol(), 0);
    }

    // A header drag is shown while it lasts and reported at its end; the layout stays
    // the one the grid was given until its owner hands it the changed one.
    void draggingAHeaderLineSizesTheColumnThenReportsIt()
    {
        QSignalSpy resized(grid.get(), &ChartGrid::columnResized);
        const CellRect r = grid->cellRect(2, 0);
        QWidget* vp = grid->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(r.right, 10));
        QTest::mouseMove(vp, QPoint(r.right + 12, 10));
        QCOMPARE(grid->colWidth(2), 27);
        QCOMPARE(grid->cellRect(3, 1).left, r.right + 12 + 1);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(r.right + 12, 10));
        QCOMPARE(resized.count(), 1);
        QCOMPARE(resized.at(0).at(0).toInt(), 2);
        QCOMPARE(resized.at(0).at(1).toInt(), 27);
        QCOMPARE(grid->colWidth(2), 15);
    }

    void draggingAHeaderCellReportsTheMove()
    {
        changeGridLayout([&](GridLayout& layout) { setColWidth(layout, 2, 30); });
        QSignalSpy moved(grid.get(), &ChartGrid::columnMoved);
        QWidget* vp = grid->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, centreOf(2, 0));
        QTest::mouseMove(vp, centreOf(4, 0) + QPoint(-3, 0));
        QTest::mouseMove(vp, centreOf(5, 0));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, centreOf(5, 0));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), 2);
        QCOMPARE(moved.at(0).at(1).toInt(), 5);
        QCOMPARE(grid->colWidth(2), 30);
    }

    void shrinkingMovesTheCurrentCellBackIntoTheGrid()
    {
        grid->setSelection(CellSelection{25, 4, 25, 4});
        QSignalSpy moved(grid.get(), &ChartGrid::selectCell);
        changeGridLayout([&](GridLayout& layout) { setColCount(layout, 10); });
        changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 3); });
        QCOMPARE(grid->currentCell(), QPoint(9, 2));
        QCOMPARE(moved.count(), 2);
    }

    void typingOpensTheEditorOnlyWhileEditingIsOn()
    {
        QSignalSpy texts(grid.get(), &ChartGrid::setEditText);
        QSignalSpy keys(grid.get(), &ChartGrid::keyPressed);
        grid->setSelection(CellSelection{0, 2, 0, 2});
        QTest::keyClicks(grid.get(), u"a"_s);
        QVERIFY(!grid->isEditorOpen());
        QCOMPARE(keys.count(), 1);

        grid->setEditingEnabled(true);
        QTest::keyClicks(grid.get(), u"C"_s);
        QVERIFY(grid->isEditorOpen());
        QTest::keyClicks(grid->editor(), u"LK"_s);
        QCOMPARE(grid->editor()->text(), u"CLK"_s);
        QCOMPARE(texts.last().at(2).toString(), u"CLK"_s);
        QCOMPARE(keys.count(), 4);  // every character reaches the character handler
        const int before = texts.count();
        QTest::keyClick(grid->editor(), Qt::Key_Return);
        QVERIFY(!grid->isEditorOpen());
        QCOMPARE(texts.count(), before + 1);  // once more when it closes
        QCOMPARE(texts.last().at(0).toInt(), 0);
        QCOMPARE(texts.last().at(1).toInt(), 2);
    }

    void enterAndF2OpenWithTheCellsTextEscRestoresIt()
    {
        grid->setEditingEnabled(true);
        grid->setEditTextProvider([](int, int row) { return u"SIG%1"_s.arg(row); });
        grid->setSelection(CellSelection{0, 3, 0, 3});
        QTest::keyClick(grid.get(), Qt::Key_F2);
        QVERIFY(grid->isEditorOpen());
        QCOMPARE(grid->editor()->text(), u"SIG3"_s);
        QSignalSpy texts(grid.get(), &ChartGrid::setEditText);
        QSignalSpy cancels(grid.get(), &ChartGrid::editCancelled);
        QTest::keyClicks(grid->editor(), u"X"_s);
        QCOMPARE(texts.size(), 1);
        QTest::keyClick(grid->editor(), Qt::Key_Escape);
        QVERIFY(!grid->isEditorOpen());
        // Esc reports no text of its own: the cell's owner puts back what it had.
        QCOMPARE(texts.size(), 1);
        QCOMPARE(cancels.size(), 1);
        QCOMPARE(cancels.first().at(1).toInt(), 3);
    }

    void movingAwayClosesTheEditor()
    {
        grid->setEditingEnabled(true);
        grid->setSelection(CellSelection{0, 1, 0, 1});
        QTest::keyClicks(grid.get(), u"D"_s);
        QVERIFY(grid->isEditorOpen());
        QTest::keyClick(grid->editor(), Qt::Key_Down);
        QVERIFY(!grid->isEditorOpen());
        QCOMPARE(grid->currentCell(), QPoint(0, 2));
    }

    void doubleClickIsReportedForDataCells()
    {
        QSignalSpy dbl(grid.get(), &ChartGrid::doubleClicked);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centreOf(3, 2));
        QCOMPARE(dbl.count(), 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centreOf(3, 0));
        QCOMPARE(dbl.count(), 1);
    }

    void paintsHeaderSelectionAndLinesThenTheChart()
    {
        grid->setSelection(CellSelection{1, 1, 2, 1});
        const QImage image = grid->viewport()->grab().toImage();
        const QPalette& pal = grid->palette();
        QCOMPARE(image.pixelColor(85, 35), pal.color(QPalette::Highlight));   // selected (1,1)
        QCOMPARE(image.pixelColor(85, 60), QColor(Qt::white));                // (1,2)
        QCOMPARE(image.pixelColor(40, 12), pal.color(QPalette::Button));      // header
        QCOMPARE(image.pixelColor(96, 60), QColor(0xC0, 0xC0, 0xC0));         // vertical line
        QCOMPARE(image.pixelColor(96, 12), QColor(Qt::black));                // header line
        changeGridLayout([&](GridLayout& layout) { layout.vertLines = false; });
        const QImage noLines = grid->viewport()->grab().toImage();
        QCOMPARE(noLines.pixelColor(96, 60), QColor(Qt::white));
        QCOMPARE(noLines.pixelColor(96, 12), QColor(Qt::black));              // header keeps its lines

        // The chart it is given is drawn over the cells: a high level in row 2.
        const auto blackInRow2 = [&](const QImage& shown) {
            for (int y = rowTop(2); y < rowTop(3); ++y)
                if (shown.pixelColor(colLeft(1) + 5, y) == QColor(Qt::black))
                    return true;
            return false;
        };
        TCell chart;
        chart.level[1][2] = kLevelHigh;
        grid->setChart(&chart, grid_defaults::headerFont());
        QVERIFY(blackInRow2(grid->viewport()->grab().toImage()));
        grid->setChart(nullptr, grid_defaults::headerFont());
        QVERIFY(!blackInRow2(grid->viewport()->grab().toImage()));
    }

    // Every data cell in view has its grid lines on its right and bottom pixels and
    // nothing else of the data area is lined, however the cells are sized, scrolled
    // and cut at the viewport's edges, with either kind of line on or off.
    void paintsEveryCellsGridLinesAndNoOthers_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("leftCol");
        QTest::addColumn<int>("topRow");
        QTest::newRow("both") << true << true << 0 << 1;
        QTest::newRow("vertical") << true << false << 0 << 1;
        QTest::newRow("horizontal") << false << true << 0 << 1;
        QTest::newRow("scrolled") << true << true << 7 << 9;
        QTest::newRow("verticalToTheEnd") << true << false << 30 << 25;
        QTest::newRow("horizontalToTheEnd") << false << true << 30 << 25;
    }
    void paintsEveryCellsGridLinesAndNoOthers()
    {
        QFETCH(bool, vertical);
        QFETCH(bool, horizontal);
        QFETCH(int, leftCol);
        QFETCH(int, topRow);
        changeGridLayout([&](GridLayout& layout) {
            setColCount(layout, 40);
            setRowCount(layout, 30);
            for (int c = 1; c < 40; ++c)
                setColWidth(layout, c, 9 + c % 5 * 6);
            for (int r = 1; r < 30; ++r)
                setRowHeight(layout, r, 14 + r % 4 * 5);
            layout.vertLines = vertical;
            layout.horzLines = horizontal;
        });
        grid->setLeftCol(leftCol);
        grid->setTopRow(topRow);
        grid->setSelection(CellSelection{leftCol + 1, topRow + 1, leftCol + 2, topRow + 2});
        const QImage image = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb line = QColor(0xC0, 0xC0, 0xC0).rgb();
        const QRgb highlight = grid->palette().color(QPalette::Highlight).rgb();
        QImage expected(image.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        const int headerBottom = grid->cellRect(leftCol, 0).bottom;
        for (int c = 0; c < 40; ++c) {
            for (int r = 1; r < 30; ++r) {
                const CellRect rect = grid->cellRect(c, r);
                if (rect.isOutOfView())
                    continue;
                for (int y = rect.top; y <= rect.bottom && y < image.height(); ++y)
                    for (int x = rect.left; x <= rect.right && x < image.width(); ++x) {
                        const bool lined = (vertical && x == rect.right) || (horizontal && y == rect.bottom);
                        const bool selected = c >= leftCol + 1 && c <= leftCol + 2 && r >= topRow + 1 && r <= topRow + 2;
                        if (lined)
                            expected.setPixel(x, y, line);
                        else if (selected && x < rect.right && y < rect.bottom)
                            expected.setPixel(x, y, highlight);
                    }
            }
        }
        const QRect data(0, headerBottom + 1, image.width(), image.height() - headerBottom - 1);
        QVERIFY(!image.copy(data).isNull());
        QCOMPARE(image.copy(data), expected.copy(data));
    }
};

SOLVENA_WIDGET_TEST_MAIN(ChartGridTest)

#include "ChartGridTest.moc"
