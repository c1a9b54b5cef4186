#include "document/Document.h"
#include "render/ChartOutput.h"
#include "render/DrawChart.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/CommandTable.h"
#include "ui/ToolBarIcons.h"
#include "ui/uMain.h"

#include "DelayedChart.h"
#include "RecordingCanvas.h"
#include "ScriptedPrompts.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <stdexcept>
#include <type_traits>

using namespace solvena;

using namespace Qt::StringLiterals;

class MainWindowTest : public QObject, WindowFixture {
    Q_OBJECT

private:

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void startsWithAnUntitledEmptyChart()
    {
        QCOMPARE(window->windowTitle(), u"ソルベナエディタ - 無題"_s);
        QCOMPARE(window->grid()->colCount(), 30);
        QCOMPARE(window->grid()->rowCount(), 5);
        QCOMPARE(document.colCount, 30);
        QCOMPARE(document.rowCount, 5);
        QVERIFY(!modifiedFlag);
        QCOMPARE(chartFont.pointSize, 10);
        QCOMPARE(window->centralWidget()->size(), QSize(761, 399));
        QCOMPARE(window->grid()->pos(), QPoint(4, 36));
        QCOMPARE(window->findChild<QWidget*>(u"CoolBar1"_s)->height(), 33);
    }

    // At the start size every tool button shows on its bar, in the table's order, none
    // behind an overflow button, with a gap where the table has a separator.
    void everyToolButtonShowsAtTheStartSize()
    {
        for (const ToolBarLayout& layout : toolBarLayout()) {
            QToolBar* bar = window->toolBar(layout.name);
            int right = -1;
            bool gap = false;
            for (const ToolButtonEntry& entry : layout.buttons) {
                if (!entry.command) {
                    gap = true;
                    continue;
                }
                QWidget* button = bar->widgetForAction(window->command(*entry.command));
                QVERIFY2(button && button->isVisibleTo(window.get()), layout.name);
                const QRect place(button->mapTo(window.get(), QPoint(0, 0)), button->size());
                QVERIFY2(window->rect().contains(place), layout.name);
                QVERIFY2(place.left() >= right + (gap ? layout.separatorWidth : 0), layout.name);
                right = place.right() + 1;
                gap = false;
            }
            for (auto* extension : bar->findChildren<QWidget*>(u"qt_toolbarext_button"_s))
                QVERIFY2(!extension->isVisible(), layout.name);
        }
    }

    void resetEmptiesTheChartButKeepsTheGrid()
    {
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, 12); });
        window->changeGridLayout([&](GridLayout& layout) { setColWidth(layout, 3, 44); });
        document.level[5][2] = 1;
        document.cellFlags[7][3] = kFlagShowNumber;
        document.signalName[1] = "CLK";
        modifiedFlag = true;
        window->setWindowTitle(u"x"_s);
        // New resets the chart of this very window.
        prompts->confirmAnswers.push_back(Prompts::Answer::No);
        window->command(CommandId::actNew)->trigger();
        QCOMPARE(document.level[5][2], 0);
        QCOMPARE(document.cellFlags[7][3], 0);
        QVERIFY(document.signalName[1].empty());
        QVERIFY(!modifiedFlag);
        QCOMPARE(window->windowTitle(), u"ソルベナエディタ - 無題"_s);
        QCOMPARE(window->grid()->colCount(), 12);
        QCOMPARE(window->grid()->colWidth(3), 44);
    }

    void gridFollowsTheWindowSize()
    {
        window->resize(900, 620);
        QApplication::processEvents();
        const QSize outer = window->frameGeometry().size();
        const int toolBar = window->toolBar("tbarFile")->height();
        QCOMPARE(window->grid()->width(), outer.width() - 16);
        QCOMPARE(window->grid()->height(), outer.height() - toolBar - 36 - 30);
        QCOMPARE(window->findChild<QWidget*>(u"CoolBar1"_s)->height(), 33);
    }

    void aboutShowsTitleAndVersion()
    {
        QAction* about = window->command(CommandId::mnuAbout);
        QCOMPARE(about->text(), u"バージョン情報(&A)..."_s);
        about->trigger();
        QCOMPARE(prompts->asked(u"message"_s),
                 QStringList{u"message|ソルベナエディタ|ソルベナエディタ Ver1.04"_s});
    }

    void repaintIsCtrlPEverywhereInTheWindow()
    {
        QAction* repaint = window->command(CommandId::actRepaint);
        QCOMPARE(repaint->shortcut(), QKeySequence(u"Ctrl+P"_s));
        QCOMPARE(repaint->toolTip(), u"再描画"_s);
        int fired = 0;
        connect(repaint, &QAction::triggered, this, [&] { ++fired; });
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->grid()->setFocus();
        QTest::keyClick(window->grid(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(fired, 1);
    }

    // The menus, the grid's context menu and the tool bars are the command table's,
    // entry for entry and separator for separator; every command of the table is
    // there with its caption (or its place's), shortcut and check mark, and every tool
    // button shows an image.
    void menusAndToolBarsAreTheCommandTables()
    {
        const auto names = [](const QList<QAction*>& actions) {
            QStringList list;
            for (QAction* a : actions)
                list << (a->isSeparator() ? u"-"_s : a->objectName());
            return list;
        };
        QHash<CommandId, QString> placeCaptions;
        const auto tableNames = [&](const auto& entries) {
            QStringList list;
            for (const auto& entry : entries) {
                list << (entry.command ? QString::fromLatin1(commandInfo(*entry.command).name) : u"-"_s);
                if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, MenuEntry>) {
                    if (entry.command && !entry.caption.isEmpty())
                        placeCaptions[*entry.command] = entry.caption;
                }
            }
            return list;
        };

        QStringList menus;
        for (QAction* top : window->menuBar()->actions())
            menus << (top->menu() ? top->menu()->objectName() : top->objectName());
        QStringList tableMenus;
        for (const MenuLayout& layout : mainMenuLayout()) {
            tableMenus << QString::fromLatin1(layout.name);
            QMenu* menu = window->menu(layout.name);
            QCOMPARE(menu->title(), layout.caption);
            QCOMPARE(names(menu->actions()), tableNames(layout.entries));
        }
        QCOMPARE(menus, tableMenus);
        QCOMPARE(names(window->menu("pupData")->actions()), tableNames(contextMenuLayout()));
        for (const ToolBarLayout& layout : toolBarLayout()) {
            const QList<QAction*> buttons = window->toolBar(layout.name)->actions();
            QCOMPARE(names(buttons), tableNames(layout.buttons));
            for (QAction* a : buttons)
                QVERIFY2(a->isSeparator() || !a->icon().pixmap(16, 16).isNull(), qPrintable(a->objectName()));
        }
        for (const CommandInfo& info : commandTable()) {
            QVERIFY2(window->hasCommand(info.id), info.name);
            QAction* a = window->command(info.id);
            QCOMPARE(a->objectName(), QString::fromLatin1(info.name));
            QCOMPARE(a->text(), placeCaptions.value(info.id, info.caption));
            QCOMPARE(a->shortcut(), info.shortcut);
            QCOMPARE(a->isCheckable(), info.checkable);
        }
        // Commands without a hint show their caption without the access key.
        QCOMPARE(window->command(CommandId::actUndo)->toolTip(), u"元に戻す"_s);
    }

    // Where Qt lacks its SVG icon engine (the Windows zip) the buttons show the PNG
    // renderings: each must be the picture the SVG gives here, at 1x and at 2x. Here the
    // buttons keep drawing the SVG itself, at any size.
    void toolBarPngsAreTheSvgIconsPixels()
    {
        for (const ToolBarLayout& layout : toolBarLayout()) {
            const QList<QAction*> actions = window->toolBar(layout.name)->actions();
            const QString imageList = QString::fromLatin1(layout.imageList);
            for (qsizetype i = 0; i < actions.size(); ++i) {
                const int image = layout.buttons[size_t(i)].image;
                if (actions[i]->isSeparator())
                    continue;
                QCOMPARE(actions[i]->icon().pixmap(QSize(64, 64)).size(), QSize(64, 64));
                for (const qreal ratio : {1.0, 2.0}) {
                    const QString label = u"%1/%2 at %3x"_s.arg(imageList).arg(image).arg(ratio);
                    const QImage shown = actions[i]->icon().pixmap(QSize(16, 16), ratio).toImage();
                    const QImage png = toolBarIconFromPng(imageList, image).pixmap(QSize(16, 16), ratio).toImage();
                    QVERIFY2(shown.size() == QSize(16, 16) * ratio, qPrintable(label));
                    QVERIFY2(png.convertToFormat(QImage::Format_ARGB32) == shown.convertToFormat(QImage::Format_ARGB32),
                             qPrintable(label));
                }
            }
        }
    }

    void destroyingTheWindowWithTheNameEditorOpenIsSafe()
    {
        window->grid()->setEditingEnabled(true);
        window->grid()->setSelection(CellSelection{0, 2, 0, 2});
        window->grid()->setFocus();
        QTest::keyClicks(window->grid(), u"AB"_s);
        QVERIFY(window->grid()->isEditorOpen());
        window.reset();
    }

    void errorBoxText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"cannot write"_s << u"cannot write."_s;
        QTest::newRow("kana") << u"書き込めません"_s << u"書き込めません."_s;
        QTest::newRow("slash sorts above") << u"a/"_s << u"a/."_s;
        QTest::newRow("period") << u"done."_s << u"done."_s;
        QTest::newRow("exclamation sorts below") << u"stop!"_s << u"stop!"_s;
        QTest::newRow("hyphen sorts below") << u"a-"_s << u"a-"_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void errorBoxText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(::errorBoxText(message), shown);
    }

    void aFailingCommandShowsTheErrorBoxAndTheProgramGoesOn()
    {
        window->runGuarded([&] {
            document.level[1][1] = 1;
            throw std::runtime_error("'abc' は整数ではありません");
        });
        QCOMPARE(document.level[1][1], 1);  // what the command did before failing stays
        QCOMPARE(prompts->asked(u"error"_s),
                 QStringList{u"error|ソルベナエディタ|'abc' は整数ではありません."_s});
        // The program goes on: the next command runs as usual.
        bool nextRan = false;
        window->runGuarded([&] { nextRan = true; });
        QVERIFY(nextRan);
        QCOMPARE(prompts->asked(u"error"_s).size(), 1);
    }

    void theChartIsDrawnOverTheGrid()
    {
        document.level[1][1] = 1;
        document.level[2][1] = 0;
        window->grid()->setSelection(CellSelection{5, 4, 5, 4});
        const QImage image = window->grid()->viewport()->grab().toImage();
        // Row 1 spans y 26..50: high line at 31, low line at 46; step 1 spans x 81..95.
        QCOMPARE(image.pixelColor(85, 31), QColor(Qt::black));
        QCOMPARE(image.pixelColor(85, 46), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, 46), QColor(Qt::black));
        QCOMPARE(image.pixelColor(97, 40), QColor(Qt::black));   // falling edge at step 2
        // A selected cell's highlight lies under the chart, not over it.
        window->grid()->setSelection(CellSelection{2, 1, 2, 1});
        const QImage selected = window->grid()->viewport()->grab().toImage();
        QCOMPARE(selected.pixelColor(100, 46), QColor(Qt::black));
        QCOMPARE(selected.pixelColor(100, 40), window->grid()->palette().color(QPalette::Highlight));
    }

    // Output lays the chart out from the layout value; on a grid scrolled to its origin
    // the screen shows the same picture. The grid's own painting is made white here
    // (no lines between cells, white header and highlight) and left out where it is not.
    void theOutputPictureEqualsTheScreenGrid()
    {
        ChartGrid* grid = window->grid();
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, 14); });
        window->changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 5); });
        window->changeGridLayout([&](GridLayout& layout) { setColWidth(layout, 4, 31); });
        window->changeGridLayout([&](GridLayout& layout) { layout.vertLines = false; });
        window->changeGridLayout([&](GridLayout& layout) { layout.horzLines = false; });
        QPalette palette = grid->palette();
        for (const auto role : {QPalette::Button, QPalette::Light, QPalette::Dark, QPalette::Highlight})
            palette.setColor(role, Qt::white);
        grid->setPalette(palette);
        for (int r = 1; r < 5; ++r) {
            document.signalName[r] = "SIG" + std::to_string(r);
            for (int c = 1; c < 14; ++c)
                document.level[c][r] = (c * (r + 1) / 3) % 3;
        }
        document.delay[5][2] = 3;
        document.cellFlags[6][1] = kFlagShowNumber;
        document.cellFlags[3][3] = kFlagRisingArrow;
        document.cellFlags[8][4] = kFlagFallingArrow | kFlagShowNumber;
        document.timingLine[7] = 1;
        auto grab = [grid] {
            return grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage screen = grab();
        const auto chart = std::make_unique<TCell>(document);
        document = TCell{};
        const QImage gridAlone = grab();
        const QImage output =
            chartImage(ChartPicture{*chart, grid->layout(), chartFont, true}, screen.size());

        int compared = 0;
        int ink = 0;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                if (gridAlone.pixel(x, y) != qRgb(255, 255, 255))
                    continue;  // the header row's own lines
                ++compared;
                ink += output.pixel(x, y) != qRgb(255, 255, 255);
                QVERIFY2(screen.pixel(x, y) == output.pixel(x, y),
                         qPrintable(u"pixel %1,%2"_s.arg(x).arg(y)));
            }
        }
        QVERIFY(compared > screen.width() * screen.height() * 9 / 10);
        QVERIFY(ink > 1000);
    }

    void farValuesShowAsTheirBoundedEquivalents_data()
    {
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<bool>("rightAligned");
        QTest::newRow("delay -2^31") << std::numeric_limits<int32_t>::min() << 0 << false;
        QTest::newRow("delay 2^31 - 1") << std::numeric_limits<int32_t>::max() << 0 << false;
        QTest::newRow("delay -2e9") << -2000000000 << 0 << false;
        QTest::newRow("delay 2e8") << 200000000 << 0 << false;
        QTest::newRow("name of 1,000,000") << 0 << 1000000 << false;
        QTest::newRow("right-aligned name of 50,000") << 0 << 50000 << true;
    }

    // An edge delay far beyond the window shows what one just beyond it shows, drawn
    // with no more lines than the window holds; a name far longer than its cell shows
    // as the 256 characters at its anchored end, which are laid out whole.
    void farValuesShowAsTheirBoundedEquivalents()
    {
        QFETCH(int, delay);
        QFETCH(int, nameLength);
        QFETCH(bool, rightAligned);
        ChartGrid* grid = window->grid();
        window->changeGridLayout([&](GridLayout& layout) { layout.namesRightAligned = rightAligned; });
        std::string name(size_t(nameLength), 'W');
        if (nameLength > 0)
            name[rightAligned ? 0 : name.size() - 1] = 'i';
        const int x = grid->cellRect(3, 1).left;
        auto grab = [&](int32_t cellDelay, const std::string& cellName) {
            document = TCell{};
            putDelayedChart(document, cellDelay);
            document.signalName[1] = cellName;
            RecordingCanvas calls;
            calls.maxLines = 2000;
            drawChart(calls, *grid, document, renderOptionsFor(grid->layout(), chartFont, true));
            return grid->viewport()->grab().toImage();
        };
        const QImage far = grab(delay, name);
        const std::string piece = name.size() <= 256 ? name : rightAligned ? name.substr(name.size() - 256) : name.substr(0, 256);
        QCOMPARE(far, grab(delay ? justBeyond(delay, x, grid->viewport()->width()) : 0, piece));
    }
};

SOLVENA_WIDGET_TEST_MAIN(MainWindowTest)

#include "uMainTest.moc"
