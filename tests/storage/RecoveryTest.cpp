// The recovery file: its format read back whole or not at all, and which files a
// starting editor may offer (those of editors that are gone, never a running one's).
#include "storage/RecoveryFile.h"
#include "storage/RecoveryStore.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace solvena;

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

TEST(RecoveryFile, ComesBackWithItsOriginAndChart)
{
    const auto chart = sampleChart();
    const ChartOrigin origins[] = {
        {"/tmp/グラフ\r\nx.sbn", FileIdentity{881, 1733650000123456789}},
        {"/tmp/a.sbn", FileIdentity{0, -5}},
        {"", std::nullopt},
    };
    for (const ChartOrigin& origin : origins) {
        const RecoveryLoadResult back = readRecovery(writeRecovery(*chart, sampleLayout(), origin));
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.origin.path, origin.path);
        EXPECT_EQ(back.origin.identity, origin.identity);
        EXPECT_EQ(back.chart.colWidths, sampleLayout().colWidths);
        EXPECT_EQ(back.chart.rowCount, 3);
        EXPECT_EQ(writeChart(*back.chart.chart, back.chart.layout()), writeChart(*chart, sampleLayout()));
    }
}

// A copy left by the editor's previous version names its file but cannot tell whether
// the file has changed since: it comes back without an identity.
TEST(RecoveryFile, AFirstVersionCopyReadsWithoutIdentity)
{
    const std::string copy = "SOLVENA-RECOVERY 1\r\npath 6\r\n/a.sbn\r\ncaption 1\r\nc\r\n" +
                             writeChart(*sampleChart(), sampleLayout());
    const RecoveryLoadResult back = readRecovery(copy);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.origin.path, "/a.sbn");
    EXPECT_EQ(back.origin.identity, std::nullopt);
}

TEST(RecoveryFile, DamagedInputIsRefusedAsAWhole)
{
    const std::string good = writeRecovery(*sampleChart(), sampleLayout(), {"/a.sbn", FileIdentity{3, 4}});
    const auto replaced = [&good](std::string_view what, std::string_view with) {
        return std::string(good).replace(good.find(what), what.size(), with);
    };
    const std::string damaged[] = {
        "",
        "SOLVENA-RECOVERY 3\r\n" + good.substr(20),     // another format
        good.substr(0, 30),                             // cut in the header
        replaced("path 6", "path 9"),                   // wrong length
        replaced("path 6", "path 18446744073709551614"),  // a length that wraps around
        replaced("path 6", "path 18446744073709551616"),  // beyond any length
        replaced("identity", "caption"),                // a field of the first version
        replaced("identity 3\r\n3 4", "identity 3\r\n3x4"),
        replaced("identity 3\r\n3 4", "identity 4\r\n-3 4"),
        good.substr(0, good.size() - 3) + "x y",        // a broken chart part
    };
    for (const std::string& bytes : damaged) {
        const RecoveryLoadResult result = readRecovery(bytes);
        EXPECT_FALSE(result.ok) << bytes.substr(0, 40);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(result.chart.chart, nullptr);
        EXPECT_TRUE(result.origin.path.empty());
    }
}

// A running editor's file is never offered; one left by an editor that was killed is,
// once, to the first editor that finds it.
TEST(RecoveryStore, OffersOnlyTheFilesOfEditorsThatAreGone)
{
    QTemporaryDir dir;
    RecoveryStore running(dir.path());
    ASSERT_EQ(running.write("running"), Reason());

    const pid_t child = fork();
    if (child == 0) {
        RecoveryStore killed(dir.path());
        const bool ok = killed.write("killed").empty();
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
        ASSERT_EQ(store.write("work"), Reason());
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

// Work taken back from an editor that is gone stays in its old file, held by the editor
// that took it, until that editor's own copy is complete: a copy that cannot be made
// (here: the lock) loses nothing.
TEST(RecoveryStore, AnAdoptedFileStaysUntilTheWorkIsInTheEditorsOwn)
{
    QTemporaryDir dir;
    const QString old = dir.filePath(u"1-2-3.recovery"_s);
    ASSERT_TRUE(writeTestFile(old, "old work"));
    RecoveryStore store(dir.path());
    std::vector<OrphanedRecovery> orphans = store.takeOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    store.adopt(std::move(orphans[0]));

    const QString ownName = QFileInfo(store.filePath()).completeBaseName();
    const QString lock = dir.filePath(ownName + u".lock"_s);
    ASSERT_TRUE(QDir().mkdir(lock));
    EXPECT_NE(store.write("work"), Reason());
    EXPECT_EQ(readTestFile(old), "old work");
    EXPECT_TRUE(RecoveryStore(dir.path()).takeOrphans().empty());  // still held

    ASSERT_TRUE(QDir().rmdir(lock));
    EXPECT_EQ(store.write("work"), Reason());
    EXPECT_EQ(filesIn(dir), (QStringList{ownName + u".lock"_s, ownName + u".recovery"_s}));
}

// A link planted under a lock's name is neither created at its target nor locked.
TEST(RecoveryStore, APlantedLockLinkIsNotFollowed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeTestFile(dir.filePath(u"1-2-3.recovery"_s), "work"));
    ASSERT_TRUE(QFile::link(dir.filePath(u"victim"_s), dir.filePath(u"1-2-3.lock"_s)));
    EXPECT_TRUE(RecoveryStore(dir.path()).takeOrphans().empty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"victim"_s)));
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
