// Unsaved work kept against a crash, as the window keeps it: a copy while the chart is
// modified, gone once the work is saved or let go, and offered back at the next start.

#include "document/Document.h"
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
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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
        const RecoveryLoadResult kept = LoadRecovery(copy.readAll().toStdString());
        QVERIFY(kept.ok);
        QCOMPARE(kept.chart.chart->signalName[1], std::string("CLK"));
        QCOMPARE(kept.caption, window->windowTitle().toStdString());

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
        QVERIFY(QDir().mkpath(folder));
        // No editor holds its lock: the one that wrote it is gone.
        const std::string copy = SaveRecovery(*chart, gridLayoutWith({80, 15, 15, 20}, 3), "/charts/x.sbn",
                                              "ソルベナエディタ - /charts/x.sbn");
        QVERIFY(writeTestFile(folder + u"/1-2-3.recovery"_s, QByteArray::fromStdString(copy)));
        prompts->askAnswers.push_back(yes);

        QCOMPARE(window->offerRecovery(), yes);

        QCOMPARE(prompts->asked(u"ask"_s), QStringList{kQuestion});
        if (yes) {
            QCOMPARE(document.signalName[2], std::string("DATA"));
            QCOMPARE(window->grid()->colWidths(), (std::vector<int32_t>{80, 15, 15, 20}));
            QCOMPARE(window->windowTitle(), u"ソルベナエディタ - /charts/x.sbn"_s);
            QCOMPARE(window->documentFileName(), u"/charts/x.sbn"_s);
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
