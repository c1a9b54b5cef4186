// The document commands driven through the window's command table with scripted
// answers to the save question and the file dialogs, against real files.

#include "document/Document.h"
#include "formats/ChartFile.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/stat.h>

using namespace solvena;

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

Q_DECLARE_METATYPE(Prompts::Answer)

namespace {

// Two signals, three steps, name column 80 wide.
const QByteArray kChartA = "80 0 15 0 15 1 15 0\r\nCLK\r\n0 0 0 1 0 1 0 0 0\r\nDATA\r\n2 0 0 1 3 4 1 0 0";
// One signal, one step, other widths: smaller than A in every direction.
const QByteArray kChartB = "50 0 20 1\r\nX\r\n1 5 4";

const QString kQuestion = u"confirm|確認|現在の状態を保存しますか？"_s;
const QString kTitle = u"ソルベナエディタ"_s;

// What the user sees of the chart and its window, to show a command changed nothing.
struct WindowState {
    std::unique_ptr<TCell> chart;
    int colCount;
    int rowCount;
    std::vector<int> widths;
    QString title;
    QString fileName;
    bool modified;
};

WindowState captureState(const TfrmMain& window)
{
    return {std::make_unique<TCell>(document), window.grid()->colCount(), window.grid()->rowCount(),
            window.grid()->layout().colWidths, window.windowTitle(), window.documentFileName(), modifiedFlag};
}

}  // namespace

class FileCommandsTest : public QObject, WindowFixture {
    Q_OBJECT

private:


    using WindowFixture::run;
    // For the tables that name their commands.
    void run(const QByteArray& name)
    {
        const auto& table = commandTable();
        const auto row = std::find_if(table.begin(), table.end(),
                                      [&](const CommandInfo& info) { return name == info.name; });
        QVERIFY2(row != table.end(), name.constData());
        run(row->id);
    }

    // Opens `file` through Open while the chart is unmodified (no question).
    void openChart(const QString& file)
    {
        QVERIFY(!modifiedFlag);
        prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{file, 1});
        run(CommandId::actOpen);
        QCOMPARE(window->documentFileName(), file);
    }

    // What an editing command does to the chart: a change and the flag.
    static void editChart(const char* name = "EDITED")
    {
        document.level[3][2] = 1;
        document.signalName[2] = name;
        modifiedFlag = true;
    }

    void verifyUnchanged(const WindowState& before)
    {
        QVERIFY(document == *before.chart);
        QCOMPARE(window->grid()->colCount(), before.colCount);
        QCOMPARE(window->grid()->rowCount(), before.rowCount);
        QCOMPARE(window->grid()->layout().colWidths, before.widths);
        QCOMPARE(window->windowTitle(), before.title);
        QCOMPARE(window->documentFileName(), before.fileName);
        QCOMPARE(modifiedFlag, before.modified);
    }

private slots:
    void init()
    {
        makeFolder();
        openWindow();
    }

    void cleanup() { closeWindow(); }

    void unmodifiedChartIsNotQuestioned_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("New") << QByteArray("actNew");
        QTest::newRow("Open") << QByteArray("actOpen");
        QTest::newRow("Exit") << QByteArray("actExit");
    }

    void unmodifiedChartIsNotQuestioned()
    {
        QFETCH(QByteArray, command);
        if (command == "actOpen")
            prompts->openAnswers.push_back(std::nullopt);
        run(command);
        QVERIFY(prompts->asked(u"confirm"_s).isEmpty());
        const bool exit = command == "actExit";
        QCOMPARE(window->isEnding(), exit);
        QCOMPARE(window->isVisible(), !exit);
        QCOMPARE(prompts->asked(u"open"_s).size(), command == "actOpen" ? 1 : 0);
    }

    void newAnswers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("reset");
        QTest::newRow("Yes") << Answer::Yes << true << true;
        QTest::newRow("No") << Answer::No << false << true;
        QTest::newRow("Cancel") << Answer::Cancel << false << false;
    }

    void newAnswers()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, saved);
        QFETCH(bool, reset);
        const QString a = path(u"a.sbn"_s);
        QVERIFY(writeTestFile(a, kChartA));
        openChart(a);
        editChart();
        const int undoBefore = undoCount;

        prompts->confirmAnswers.push_back(answer);
        run(CommandId::actNew);

        QCOMPARE(prompts->asked(u"confirm"_s), QStringList{kQuestion});
        QVERIFY(prompts->asked(u"save"_s).isEmpty());   // the chart has a file: Save asks nothing
        QCOMPARE(readTestFile(a).contains("EDITED"), saved);
        QCOMPARE(document.signalName[2] == "EDITED", !reset);
        QCOMPARE(document.signalName[1].empty(), reset);
        QCOMPARE(window->windowTitle(), reset ? kTitle + u" - 無題"_s : kTitle + u" - "_s + a);
        QCOMPARE(window->documentFileName(), reset ? QString() : a);
        QCOMPARE(modifiedFlag, !reset && !saved);
        // New empties the chart but keeps the grid the opened file gave.
        QCOMPARE(window->grid()->colCount(), 4);
        QCOMPARE(window->grid()->rowCount(), 3);
        QCOMPARE(window->grid()->colWidth(0), 80);
        // Every answer records the chart as it now stands.
        QVERIFY(historySlots[5] == document);
        QCOMPARE(undoCount, undoBefore + 1);
    }

    void openAnswers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("Yes") << Answer::Yes << true << true;
        QTest::newRow("No") << Answer::No << false << true;
        QTest::newRow("Cancel") << Answer::Cancel << false << false;
    }

    void openAnswers()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, saved);
        QFETCH(bool, loaded);
        const QString a = path(u"a.sbn"_s);
        const QString b = path(u"b.txt"_s);
        QVERIFY(writeTestFile(a, kChartA));
        QVERIFY(writeTestFile(b, kChartB));
        openChart(a);
        editChart();
        const int undoBefore = undoCount;

        prompts->confirmAnswers.push_back(answer);
        if (loaded)
            prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{b, 2});
        run(CommandId::actOpen);

        QCOMPARE(prompts->asked(u"confirm"_s), QStringList{kQuestion});
        QCOMPARE(prompts->asked(u"open"_s).size(), loaded ? 2 : 1);
        QCOMPARE(prompts->lastOpenShown.filter,
                 u"ソルベナファイル（*.sbn）|*.sbn|テキストファイル（*.txt）|*.txt|WaveJSON ファイル(*.json)|*.json|VCD ファイル(*.vcd)|*.vcd"_s);
        QCOMPARE(readTestFile(a).contains("EDITED"), saved);
        if (loaded) {
            // Nothing of the previous chart survives beyond the new file's extent.
            QCOMPARE(document.signalName[1], std::string("X"));
            QVERIFY(document.signalName[2].empty());
            QCOMPARE(document.level[1][1], 1);
            QCOMPARE(document.delay[1][1], 5);
            QCOMPARE(document.cellFlags[1][1], uint8_t{4});
            QCOMPARE(document.timingLine[1], 1);
            QCOMPARE(document.level[3][2], 0);
            QCOMPARE(window->grid()->colCount(), 2);
            QCOMPARE(window->grid()->rowCount(), 2);
            QCOMPARE(window->grid()->layout().colWidths, (std::vector<int>{50, 20}));
            QCOMPARE(window->windowTitle(), kTitle + u" - "_s + b);
            QCOMPARE(window->documentFileName(), b);
            QVERIFY(!modifiedFlag);
        } else {
            QCOMPARE(document.signalName[2], std::string("EDITED"));
            QCOMPARE(window->documentFileName(), a);
            QVERIFY(modifiedFlag);
        }
        QVERIFY(historySlots[5] == document);
        QCOMPARE(undoCount, undoBefore + 1);
    }

    void cancelledOpenDialogKeepsTheChart()
    {
        const QString a = path(u"a.sbn"_s);
        QVERIFY(writeTestFile(a, kChartA));
        openChart(a);
        const WindowState before = captureState(*window);
        prompts->openAnswers.push_back(std::nullopt);
        run(CommandId::actOpen);
        verifyUnchanged(before);
        QCOMPARE(undoCount, 2);   // both Opens recorded the chart
    }

    void exitAnswers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Yes") << Answer::Yes << true << true;
        QTest::newRow("No") << Answer::No << false << true;
        QTest::newRow("Cancel") << Answer::Cancel << false << false;
    }

    void exitAnswers()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, saved);
        QFETCH(bool, ends);
        const QString a = path(u"a.sbn"_s);
        QVERIFY(writeTestFile(a, kChartA));
        openChart(a);
        editChart();

        prompts->confirmAnswers.push_back(answer);
        run(CommandId::actExit);

        QCOMPARE(prompts->asked(u"confirm"_s), QStringList{kQuestion});
        QCOMPARE(readTestFile(a).contains("EDITED"), saved);
        QCOMPARE(window->isEnding(), ends);
        QCOMPARE(window->isVisible(), !ends);
        QCOMPARE(modifiedFlag, !saved);
        QCOMPARE(document.signalName[2], std::string("EDITED"));
    }

    void closeRequestRunsExit_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("unmodified") << false << Answer::Cancel << true;
        QTest::newRow("No") << true << Answer::No << true;
        QTest::newRow("Cancel") << true << Answer::Cancel << false;
    }

    void closeRequestRunsExit()
    {
        QFETCH(bool, modified);
        QFETCH(Answer, answer);
        QFETCH(bool, closes);
        if (modified) {
            editChart();
            prompts->confirmAnswers.push_back(answer);
        }
        QCOMPARE(window->close(), closes);
        QCOMPARE(prompts->asked(u"confirm"_s).size(), modified ? 1 : 0);
        QCOMPARE(window->isVisible(), !closes);
        QCOMPARE(window->isEnding(), closes);
        // The event loop keeps working after a refused or accepted close.
        QTest::qWait(20);
        QCOMPARE(window->isVisible(), !closes);
    }

    // Yes to the question, but nothing gets saved: the command that asked stops.
    void yesWithoutASaveStopsTheCommand_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<bool>("saveFails");
        for (const char* command : {"actNew", "actOpen", "actExit"}) {
            QTest::addRow("%s, Save As cancelled", command) << QByteArray(command) << false;
            QTest::addRow("%s, save fails", command) << QByteArray(command) << true;
        }
    }

    void yesWithoutASaveStopsTheCommand()
    {
        QFETCH(QByteArray, command);
        QFETCH(bool, saveFails);
        if (saveFails) {
            // Saving into a folder that does not exist.
            prompts->saveAnswers.push_back(
                ScriptedPrompts::FileAnswer{path(u"missing/x.sbn"_s), 1});
        } else {
            prompts->saveAnswers.push_back(std::nullopt);
        }
        editChart();
        const WindowState before = captureState(*window);
        prompts->confirmAnswers.push_back(Answer::Yes);
        run(command);

        verifyUnchanged(before);
        QCOMPARE(prompts->asked(u"save"_s).size(), 1);
        QVERIFY(prompts->asked(u"open"_s).isEmpty());
        QVERIFY(!window->isEnding());
        QVERIFY(window->isVisible());
        QCOMPARE(prompts->asked(u"error"_s).size(), saveFails ? 1 : 0);
        // A cancelled Save As counts as Cancel, which New and Open still record; a
        // failed save ends the command before that.
        const bool snapshot = !saveFails && command != "actExit";
        QCOMPARE(undoCount, snapshot ? 1 : 0);
    }

    void saveAfterOpenWritesTheOpenedFile()
    {
        // The file has the other extension than the save dialog's first filter entry.
        const QString x = path(u"x.txt"_s);
        QVERIFY(writeTestFile(x, kChartA));
        openChart(x);
        editChart();
        run(CommandId::actSave);

        QVERIFY(prompts->asked(u"save"_s).isEmpty());
        QVERIFY(!QFile::exists(path(u"x.sbn"_s)));
        QCOMPARE(readTestFile(x), QByteArray::fromStdString(writeChart(document, window->grid()->layout())));
        QVERIFY(readTestFile(x).contains("EDITED"));
        QCOMPARE(window->windowTitle(), kTitle + u" - "_s + x);
        QVERIFY(!modifiedFlag);
    }

    void saveAsThenSave_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("written");
        QTest::newRow("txt typed, sbn chosen") << u"a.txt"_s << 1 << u"a.sbn"_s;
        QTest::newRow("sbn typed, txt chosen") << u"b.sbn"_s << 2 << u"b.txt"_s;
        QTest::newRow("no extension") << u"plain"_s << 1 << u"plain.sbn"_s;
        QTest::newRow("dot only in the folder") << u"v1.2/chart"_s << 2 << u"v1.2/chart.txt"_s;
    }

    void saveAsThenSave()
    {
        QFETCH(QString, typed);
        QFETCH(int, filterIndex);
        QFETCH(QString, written);
        QVERIFY(QDir(dir->path()).mkpath(u"v1.2"_s));
        editChart();
        prompts->saveAnswers.push_back(ScriptedPrompts::FileAnswer{path(typed), filterIndex});
        run(CommandId::mnuSaveAs);

        QCOMPARE(prompts->lastSaveShown.filter,
                 u"ソルベナファイル(*.sbn)|*.sbn|テキストファイル(*.txt)|*.txt"_s);
        const QString target = path(written);
        QVERIFY(readTestFile(target).contains("EDITED"));
        QCOMPARE(QFile::exists(path(typed)), typed == written);
        QCOMPARE(window->windowTitle(), kTitle + u" - "_s + target);
        QCOMPARE(window->documentFileName(), target);
        QVERIFY(!modifiedFlag);

        // Save goes on writing the same file, without asking.
        editChart("AGAIN");
        run(CommandId::actSave);
        QCOMPARE(prompts->asked(u"save"_s).size(), 1);
        QVERIFY(readTestFile(target).contains("AGAIN"));
        QVERIFY(!modifiedFlag);
    }

    void saveOfAnUntitledChartAsksForAName()
    {
        editChart();
        prompts->saveAnswers.push_back(std::nullopt);
        run(CommandId::actSave);
        QCOMPARE(prompts->asked(u"save"_s).size(), 1);
        QVERIFY(modifiedFlag);
        QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
    }

    void unreadableFileChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");   // written as a file unless it names another kind
        QTest::addColumn<int>("line");           // 0: the file cannot be read at all
        QTest::newRow("not a number") << u"bad.sbn"_s << QByteArray("80 0 15 x\r\nA\r\n0 0 0") << 1;
        QTest::newRow("width out of range") << u"wide.sbn"_s << QByteArray("80 0 20000 0\r\nA\r\n0 0 0") << 1;
        QTest::newRow("broken data line")
            << u"late.txt"_s << QByteArray("80 0 15 0\r\nA\r\n0 0 0\r\nB\r\n1 0 ?") << 5;
        QByteArray tooMany = "80 0 15 0";
        for (int r = 1; r <= 100; ++r)
            tooMany += "\r\nS\r\n1 0 0";
        QTest::newRow("100 signals") << u"many.sbn"_s << tooMany << 200;
        QTest::newRow("missing file") << u"none.sbn"_s << QByteArray("<missing>") << 0;
        // Opening a FIFO must not wait for a writer that never comes.
        QTest::newRow("FIFO") << u"pipe.sbn"_s << QByteArray("<fifo>") << 0;
        QTest::newRow("folder") << u"folder.sbn"_s << QByteArray("<folder>") << 0;
    }

    void unreadableFileChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        const QString a = path(u"a.sbn"_s);
        QVERIFY(writeTestFile(a, kChartA));
        openChart(a);
        editChart();
        const QString bad = path(name);
        if (bytes == "<fifo>")
            QCOMPARE(mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        else if (bytes == "<folder>")
            QVERIFY(QDir(dir->path()).mkdir(name));
        else if (bytes != "<missing>")
            QVERIFY(writeTestFile(bad, bytes));
        const WindowState before = captureState(*window);

        prompts->confirmAnswers.push_back(Answer::No);
        prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{bad, 1});
        run(CommandId::actOpen);

        verifyUnchanged(before);
        const QStringList messages = prompts->asked(u"message"_s);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(u"message|"_s + kTitle + u"|エラーです\n"_s + bad),
                 qPrintable(messages[0]));
        if (line > 0)
            QVERIFY2(messages[0].contains(u"%1 行目"_s.arg(line)), qPrintable(messages[0]));
        // The command still records the chart, unchanged.
        QVERIFY(historySlots[5] == document);
    }

    void failedSaveKeepsTheOldFileAndTheFlag_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only target") << u"read-only"_s;
        QTest::newRow("target is a folder") << u"folder"_s;
        QTest::newRow("missing folder") << u"missing"_s;
    }

    void failedSaveKeepsTheOldFileAndTheFlag()
    {
        QFETCH(QString, kind);
        const QString a = path(u"a.sbn"_s);
        QVERIFY(writeTestFile(a, kChartA));
        openChart(a);
        QString target = a;
        if (kind == u"read-only"_s) {
            QVERIFY(QFile::setPermissions(a, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        } else {
            target = path(kind == u"folder"_s ? u"taken.sbn"_s : u"missing/new.sbn"_s);
            if (kind == u"folder"_s)
                QVERIFY(QDir(dir->path()).mkdir(u"taken.sbn"_s));
            prompts->saveAnswers.push_back(ScriptedPrompts::FileAnswer{target, 1});
        }
        editChart();
        const WindowState before = captureState(*window);
        const QStringList entries = QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        run(kind == u"read-only"_s ? CommandId::actSave : CommandId::mnuSaveAs);

        verifyUnchanged(before);
        QCOMPARE(readTestFile(a), kChartA);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), entries);
        const QStringList errors = prompts->asked(u"error"_s);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(u"error|"_s + kTitle + u'|' + target), qPrintable(errors[0]));
        QVERIFY(errors[0].endsWith(u'.'));
    }

    // The in-place editor closes before New replaces the chart, so a name being
    // typed is not carried into the new chart when the editor closes later.
    void nameBeingTypedStaysWithItsChart()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        ChartGrid* grid = window->grid();
        // Names are editable once the current cell moves onto column 0.
        for (const int col : {2, 0}) {
            const CellRect cell = grid->cellRect(col, 1);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
        }
        QTest::keyClick(grid, Qt::Key_A);
        QVERIFY(grid->isEditorOpen());
        QTest::keyClick(grid->editor(), Qt::Key_B);
        QCOMPARE(document.signalName[1], std::string("ab"));

        prompts->confirmAnswers.push_back(Answer::No);
        run(CommandId::actNew);
        QVERIFY(!grid->isEditorOpen());
        QVERIFY(document.signalName[1].empty());
        QVERIFY(!modifiedFlag);
    }

    void chartNamedOnTheCommandLine()
    {
        const QString s = path(u"start.sbn"_s);
        QVERIFY(writeTestFile(s, kChartA));
        QVERIFY(window->loadStartupFile(s));
        window->finishStartup();

        QVERIFY(prompts->log.isEmpty());
        QCOMPARE(window->windowTitle(), kTitle + u" - "_s + s);
        QCOMPARE(window->grid()->colCount(), 4);
        QCOMPARE(window->grid()->rowCount(), 3);
        QCOMPARE(document.signalName[1], std::string("CLK"));
        QVERIFY(!modifiedFlag);
        QCOMPARE(undoCount, 0);
        const auto loaded = std::make_unique<TCell>(document);

        // A recorded change, then Undo: back to the chart the program started with.
        editChart();
        window->takeSnapshot();
        window->actUndoExecute();
        QVERIFY(document == *loaded);

        // The chart belongs to its file: Save writes it there without asking.
        editChart();
        run(CommandId::actSave);
        QVERIFY(prompts->asked(u"save"_s).isEmpty());
        QVERIFY(readTestFile(s).contains("EDITED"));
    }

    // A chart whose last data line was cut in half opens with every step the file
    // holds, unmodified, and a warning once the chart is up; Save then writes every
    // step of the signals the file held whole. At start the window is the real one
    // with its real boxes, as the program starts it.
    void cutFileOpensWholeWithAWarning_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::newRow("Open") << false;
        QTest::newRow("command line") << true;
    }

    void cutFileOpensWholeWithAWarning()
    {
        QFETCH(bool, atStart);
        const QByteArray whole = readTestFile(QStringLiteral(TEST_DATA_DIR "/charts/timing.sbn"));
        const QList<QByteArray> wholeLines = whole.split('\n');
        QCOMPARE(wholeLines.size(), 11);
        const qsizetype lastLine = whole.lastIndexOf('\n') + 1;
        const QString cut = path(u"cut.sbn"_s);
        const QByteArray cutBytes = whole.left((lastLine + whole.size()) / 2);
        QVERIFY(writeTestFile(cut, cutBytes));

        // Real boxes are read and closed as they come up.
        QStringList realBoxes;
        QTimer closer;
        if (atStart) {
            window = std::make_unique<TfrmMain>();
            prompts = nullptr;
            connect(&closer, &QTimer::timeout, [&realBoxes] {
                QWidget* modal = QApplication::activeModalWidget();
                if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
                    realBoxes << (box->icon() == QMessageBox::Warning ? u"warning|"_s : u"other|"_s) +
                                     box->windowTitle() + u'|' + box->text();
                    box->accept();
                } else if (modal) {
                    realBoxes << u"other|"_s + modal->windowTitle();
                    modal->close();
                }
            });
            closer.start(10);
        }
        const auto warnings = [&] { return atStart ? realBoxes : prompts->asked(u"warning"_s); };

        if (atStart) {
            QVERIFY(window->loadStartupFile(cut));
            window->finishStartup();
            window->show();
        } else {
            openChart(cut);
        }
        QCOMPARE(window->grid()->colCount(), 30);
        QCOMPARE(window->grid()->rowCount(), 6);
        QVERIFY(!modifiedFlag);
        QVERIFY(warnings().isEmpty());   // not before the chart is shown
        QTRY_COMPARE(warnings().size(), 1);
        QVERIFY2(warnings()[0].startsWith(u"warning|警告|"_s + cut + u"\n11 行目: "_s), qPrintable(warnings()[0]));
        QVERIFY(!modifiedFlag);

        run(CommandId::actSave);
        const QList<QByteArray> savedLines = readTestFile(cut).split('\n');
        QCOMPARE(savedLines.size(), 11);
        for (int line = 0; line < 10; ++line)
            QCOMPARE(savedLines[line], wholeLines[line]);
        QCOMPARE(savedLines[10].split(' ').size(), 29 * 3);
        const QByteArray keptPart = cutBytes.mid(lastLine);
        QVERIFY(savedLines[10].startsWith(keptPart.left(keptPart.lastIndexOf(' '))));
        QCOMPARE(warnings().size(), 1);
    }

    void unreadableCommandLineFileStartsUntitled()
    {
        const QString s = path(u"absent.sbn"_s);
        QVERIFY(!window->loadStartupFile(s));
        window->finishStartup();
        QCOMPARE(prompts->asked(u"message"_s).size(), 1);
        QCOMPARE(window->windowTitle(), kTitle + u" - 無題"_s);
        QVERIFY(window->documentFileName().isEmpty());
        QVERIFY(historySlots[5] == document);
    }
};

SOLVENA_WIDGET_TEST_MAIN(FileCommandsTest)

#include "uMainFileTest.moc"
