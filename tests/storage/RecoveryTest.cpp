// The recovery file: its format read back whole or not at all, and which files a
// starting editor may offer (those of editors that are gone, never a running one's).
#include "storage/RecoveryFile.h"
#include "storage/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<TCell> sampleChart()
{
    auto chart = std::make_unique<TCell>();
    chart->signalName[1] = "CLK";
    chart->signalName[2] = "\x83\x66\x81\x5B\x83\x5E";  // データ
    chart->level[1][1] = 1;
    chart->level[2][2] = 2;
    chart->delay[2][1] = -3;
    chart->cellFlags[3][2] = 5;
    chart->timingLine[2] = 1;
    return chart;
}

GridLayout sampleLayout()
{
    return gridLayoutWith({80, 15, 22, 15}, 3);
}

QStringList filesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
}

}  // namespace

TEST(RecoveryFile, ComesBackWithItsNameCaptionAndChart)
{
    const auto chart = sampleChart();
    const std::string path = "/tmp/グラフ\r\nx.sbn";
    const std::string caption = "ソルベナエディタ - /tmp/グラフ\r\nx.sbn";
    const RecoveryLoadResult back = LoadRecovery(SaveRecovery(*chart, sampleLayout(), path, caption));
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.documentPath, path);
    EXPECT_EQ(back.caption, caption);
    EXPECT_EQ(back.chart.colWidths, sampleLayout().colWidths);
    EXPECT_EQ(back.chart.rowCount, 3);
    EXPECT_EQ(SaveChart(*back.chart.chart, back.chart.layout()), SaveChart(*chart, sampleLayout()));
}

TEST(RecoveryFile, DamagedInputIsRefusedAsAWhole)
{
    const std::string good = SaveRecovery(*sampleChart(), sampleLayout(), "/a.sbn", "c");
    const std::string damaged[] = {
        "",
        "SOLVENA-RECOVERY 2\r\n" + good.substr(20),     // another format
        good.substr(0, 30),                             // cut in the header
        std::string(good).replace(good.find("path 6"), 6, "path 9"),  // wrong length
        std::string(good).replace(good.find("caption"), 7, "kaption"),
        good.substr(0, good.size() - 3) + "x y",        // a broken chart part
    };
    for (const std::string& bytes : damaged) {
        const RecoveryLoadResult result = LoadRecovery(bytes);
        EXPECT_FALSE(result.ok) << bytes.substr(0, 40);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(result.chart.chart, nullptr);
        EXPECT_TRUE(result.documentPath.empty());
    }
}

// A running editor's file is never offered; one left by an editor that was killed is,
// once, to the first editor that finds it.
TEST(RecoveryStore, OffersOnlyTheFilesOfEditorsThatAreGone)
{
    QTemporaryDir dir;
    RecoveryStore running(dir.path());
    ASSERT_EQ(running.write("running"), QString());

    const pid_t child = fork();
    if (child == 0) {
        RecoveryStore killed(dir.path());
        const bool ok = killed.write("killed").isEmpty();
        _exit(ok ? 0 : 1);  // no destructor runs, as after SIGKILL
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    RecoveryStore starting(dir.path());
    std::vector<OrphanedRecovery> orphans = starting.takeOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    QFile file(orphans[0].path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "killed");
    file.close();
    // Another editor starting meanwhile does not get it too.
    EXPECT_TRUE(RecoveryStore(dir.path()).takeOrphans().empty());

    RecoveryStore::remove(orphans[0]);
    EXPECT_TRUE(RecoveryStore(dir.path()).takeOrphans().empty());
    EXPECT_EQ(filesIn(dir), (QStringList{QFileInfo(running.filePath()).completeBaseName() + u".lock"_s,
                                         QFileInfo(running.filePath()).fileName()}));
}

TEST(RecoveryStore, ADamagedFileIsKeptAsideAndACleanEndLeavesNothing)
{
    QTemporaryDir dir;
    {
        RecoveryStore store(dir.path());
        ASSERT_EQ(store.write("work"), QString());
        ASSERT_TRUE(QFile::exists(store.filePath()));
        store.discard();
        EXPECT_FALSE(QFile::exists(store.filePath()));
    }
    EXPECT_TRUE(filesIn(dir).isEmpty());

    QFile stray(dir.filePath(u"1-2-3.recovery"_s));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.write("damaged");
    stray.close();
    std::vector<OrphanedRecovery> orphans = RecoveryStore(dir.path()).takeOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    const QString aside = RecoveryStore::setAside(orphans[0]);
    EXPECT_EQ(filesIn(dir), QStringList{u"1-2-3.damaged"_s});
    EXPECT_EQ(aside, dir.filePath(u"1-2-3.damaged"_s));
    EXPECT_TRUE(RecoveryStore(dir.path()).takeOrphans().empty());
}

TEST(RecoveryStore, FolderFollowsXdgStateHome)
{
    QProcessEnvironment env;
    env.insert(u"HOME"_s, u"/home/u"_s);
    EXPECT_EQ(recoveryFolder(env), u"/home/u/.local/state/solvena"_s);
    env.insert(u"XDG_STATE_HOME"_s, u"/state"_s);
    EXPECT_EQ(recoveryFolder(env), u"/state/solvena"_s);
    env.insert(u"XDG_STATE_HOME"_s, u"relative"_s);
    EXPECT_EQ(recoveryFolder(env), u"/home/u/.local/state/solvena"_s);
}
