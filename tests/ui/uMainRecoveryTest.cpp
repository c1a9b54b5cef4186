// Unsaved work kept against a crash, as the window keeps it: a copy while the chart is
// modified, gone once the work is saved or let go, and offered back at the next start.

#include "document/Document.h"
#include "storage/FileIO.h"
#include "storage/RecoveryFile.h"
#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

namespace {

const QString kQuestion = u"ask|確認|前回保存されなかった変更があります。復元しますか？"_s;

QStringList recoveryFiles(const QString& folder)
{
    return QDir(folder).entryList(QStringList{u"*.recovery"_s, u"*.damaged"_s}, QDir::Files);
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
    std::unique_ptr<TfrmMain> window;
    ScriptedPrompts* prompts = nullptr;

    // A copy left by an editor that is gone: no editor holds its lock.
    void plantCopy(const TCell& chart, const GridLayout& layout, const ChartOrigin& origin)
    {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeTestFile(folder + u"/1-2-3.recovery"_s,
                              QByteArray::fromStdString(writeRecovery(chart, layout, origin))));
    }

    void openWindow()
    {
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        window = std::make_unique<TfrmMain>(std::move(scripted), WindowFiles{{}, folder});
    }

private slots:
    void init()
    {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        folder = dir->filePath(u"state/solvena"_s);
        openWindow();
    }
    void cleanup()
    {
        window.reset();
        dir.reset();
    }

    // The copy exists while there is unsaved work, and goes with whatever ends it.
    void theCopyFollowsTheUnsavedWork_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("saved") << QByteArray("save");
        QTest::newRow("New, discarded") << QByteArray("new");
        QTest::newRow("Exit, discarded") << QByteArray("exit");
    }
    void theCopyFollowsTheUnsavedWork()
    {
        QFETCH(QByteArray, end);
        window->saveRecoveryFile();
        QVERIFY(recoveryFiles(folder).isEmpty());  // nothing unsaved yet

        document.level[2][1] = 1;
        document.signalName[1] = "CLK";
        modifiedFlag = true;
        window->saveRecoveryFile();
        const QStringList files = recoveryFiles(folder);
        QCOMPARE(files.size(), 1);
        QFile copy(folder + u'/' + files[0]);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        const RecoveryLoadResult kept = readRecovery(copy.readAll().toStdString());
        QVERIFY(kept.ok);
        QCOMPARE(kept.chart.chart->signalName[1], std::string("CLK"));
        QVERIFY(kept.origin.path.empty());

        if (end == "save") {
            prompts->saveAnswers.push_back(ScriptedPrompts::FileAnswer{dir->filePath(u"a.sbn"_s), 1});
            window->command(CommandId::actSave)->trigger();
        } else {
            prompts->confirmAnswers.push_back(Answer::No);
            window->command(end == "new" ? CommandId::actNew : CommandId::actExit)->trigger();
        }
        QVERIFY(recoveryFiles(folder).isEmpty());
    }

    void aCopyLeftBehindIsOfferedBack_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void aCopyLeftBehindIsOfferedBack()
    {
        QFETCH(bool, yes);
        auto chart = std::make_unique<TCell>();
        chart->level[3][2] = 2;
        chart->signalName[2] = "DATA";
        plantCopy(*chart, gridLayoutWith({80, 15, 15, 20}, 3), {});
        prompts->askAnswers.push_back(yes);

        QCOMPARE(window->offerRecovery(), yes);

        QCOMPARE(prompts->asked(u"ask"_s), QStringList{kQuestion});
        if (yes) {
            QCOMPARE(document.signalName[2], std::string("DATA"));
            QCOMPARE(window->grid()->layout().colWidths, (std::vector<int32_t>{80, 15, 15, 20}));
            QCOMPARE(window->windowTitle(), u"ソルベナエディタ - 無題"_s);
            QVERIFY(modifiedFlag);
            // The work now sits in this editor's own copy.
            QCOMPARE(recoveryFiles(folder).size(), 1);
            QVERIFY(!recoveryFiles(folder).contains(u"1-2-3.recovery"_s));
        } else {
            QVERIFY(document.signalName[2].empty());
            QVERIFY(!modifiedFlag);
            QVERIFY(recoveryFiles(folder).isEmpty());
        }
    }

    // Restored work belongs to its file again only while that file is as the work left
    // it; otherwise it comes back untitled, the user is told which file it came from,
    // and Save asks where to write instead of overwriting what is there now.
    void restoredWorkNeverOverwritesAnotherFile_data()
    {
        QTest::addColumn<QString>("file");   // the chart's file as the copy names it
        QTest::addColumn<QByteArray>("since");  // what happened to the file since
        QTest::addColumn<bool>("titled");
        QTest::newRow("unchanged") << u"chart.sbn"_s << QByteArray() << true;
        QTest::newRow("changed") << u"chart.sbn"_s << QByteArray("changed") << false;
        QTest::newRow("gone") << u"chart.sbn"_s << QByteArray("gone") << false;
        QTest::newRow("relative, same bytes") << u"../victim/x.sbn"_s << QByteArray() << false;
        QTest::newRow("first version copy") << u"chart.sbn"_s << QByteArray("v1") << false;
    }
    void restoredWorkNeverOverwritesAnotherFile()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, since);
        QFETCH(bool, titled);
        // The file as the editor last wrote it; the process now runs one folder down.
        QVERIFY(QDir().mkpath(dir->filePath(u"work/victim"_s)));
        const QString onDisk = dir->filePath(u"work/"_s + (file.startsWith(u".."_s) ? u"victim/x.sbn"_s : file));
        const QByteArray before = "80 0 15 0\r\nA\r\n0 0 0";
        QVERIFY(writeTestFile(onDisk, before));
        const std::optional<FileIdentity> identity = fileIdentity(onDisk);
        QVERIFY(identity);
        const QString named = file.startsWith(u".."_s) ? file : onDisk;
        QVERIFY(QDir().mkpath(dir->filePath(u"work/b"_s)));
        const QString previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->filePath(u"work/b"_s)));
        const auto restoreFolder = qScopeGuard([&] { QDir::setCurrent(previousFolder); });

        auto chart = std::make_unique<TCell>();
        chart->level[1][1] = 1;
        const GridLayout layout = gridLayoutWith({80, 15}, 2);
        if (since == "v1") {
            QVERIFY(QDir().mkpath(folder));
            const QByteArray path = named.toUtf8();
            QVERIFY(writeTestFile(folder + u"/1-2-3.recovery"_s,
                                  "SOLVENA-RECOVERY 1\r\npath " + QByteArray::number(path.size()) + "\r\n" +
                                      path + "\r\ncaption 1\r\nc\r\n" +
                                      QByteArray::fromStdString(writeChart(*chart, layout))));
        } else {
            plantCopy(*chart, layout, ChartOrigin{named.toStdString(), identity});
        }
        if (since == "changed")
            QVERIFY(writeTestFile(onDisk, "80 0 15 0\r\nB\r\n1 0 0 "));
        else if (since == "gone")
            QVERIFY(QFile::remove(onDisk));
        const QByteArray after = readTestFile(onDisk);
        prompts->askAnswers.push_back(true);

        QVERIFY(window->offerRecovery());

        QCOMPARE(window->windowTitle(), u"ソルベナエディタ - "_s + (titled ? onDisk : u"無題"_s));
        QCOMPARE(prompts->asked(u"message"_s).size(), titled ? 0 : 1);
        if (!titled)
            QVERIFY(prompts->asked(u"message"_s)[0].contains(named));
        prompts->saveAnswers.push_back(std::nullopt);
        window->command(CommandId::actSave)->trigger();
        QCOMPARE(prompts->asked(u"save"_s).size(), titled ? 0 : 1);
        QCOMPARE(readTestFile(onDisk), titled ? QByteArray("80 0 15 0\r\n\r\n1 0 0") : after);
    }

    // Copies that cannot be written are said once at the window's bottom, without a
    // box in the way, and tried again until they can be.
    void aCopyThatCannotBeWrittenIsSaidOnceAndRetried()
    {
        QVERIFY(writeTestFile(dir->filePath(u"state"_s), "a file where the folder should be"));
        document.level[1][1] = 1;
        modifiedFlag = true;
        // The message shown since the last look; looking clears it.
        const auto shown = [this] {
            auto* bar = window->findChild<QStatusBar*>(u"messageBar"_s);
            if (!bar)
                return QString();
            const QString message = bar->currentMessage();
            bar->clearMessage();
            return message;
        };
        window->saveRecoveryFile();
        QVERIFY(shown().startsWith(u"復元用のコピーを書き込めません"_s));
        window->saveRecoveryFile();
        QCOMPARE(shown(), QString());
        QVERIFY(prompts->log.isEmpty());

        QVERIFY(QFile::remove(dir->filePath(u"state"_s)));
        window->saveRecoveryFile();
        QCOMPARE(recoveryFiles(folder).size(), 1);
    }

    // A copy whose chart lines disagree (damaged where it lay) comes back whole, with a warning.
    void anInconsistentCopyComesBackWholeWithAWarning()
    {
        const std::string copy = writeRecovery(TCell{}, gridLayoutWith({80, 15, 15}, 3), {});
        const std::string cut = copy.substr(0, copy.size() - 4);  // the last data line loses a step
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeTestFile(folder + u"/1-2-3.recovery"_s, QByteArray::fromStdString(cut)));
        prompts->askAnswers.push_back(true);

        QVERIFY(window->offerRecovery());

        QCOMPARE(window->grid()->colCount(), 3);
        QCOMPARE(prompts->asked(u"warning"_s).size(), 1);
        QVERIFY(prompts->asked(u"warning"_s)[0].contains(u"復元した図の 5 行目"_s));
    }

    void aDamagedCopyIsReportedAndKeptAside()
    {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeTestFile(folder + u"/1-2-3.recovery"_s, "SOLVENA-RECOVERY 1\r\npath 3\r\nab"));
        prompts->askAnswers.push_back(true);

        QVERIFY(!window->offerRecovery());

        QCOMPARE(prompts->asked(u"message"_s).size(), 1);
        QVERIFY(prompts->asked(u"message"_s)[0].contains(u"エラーです"_s));
        QCOMPARE(recoveryFiles(folder), QStringList{u"1-2-3.damaged"_s});
        QVERIFY(!modifiedFlag);
        QCOMPARE(window->windowTitle(), u"ソルベナエディタ - 無題"_s);
    }
};

SOLVENA_WIDGET_TEST_MAIN(RecoveryTest)
#include "uMainRecoveryTest.moc"
