// Reading and writing by path against real files, FIFOs and a real file-size limit.
#include "storage/FileIO.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

// Runs writeFileAtomically in a child process whose files may not grow beyond
// `limit` bytes, as on a full disk; returns the reason it gave ("" on success).
std::string writeUnderSizeLimit(const QString& path, const QByteArray& bytes, rlim_t limit)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "<pipe failed>";
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);  // writes past the limit then fail with EFBIG
        rlimit rl{};
        getrlimit(RLIMIT_FSIZE, &rl);
        rl.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &rl);
        const QByteArray reason = writeFileAtomically(path, bytes).toUtf8();
        [[maybe_unused]] const ssize_t n = write(channel[1], reason.constData(), size_t(reason.size()));
        _exit(0);
    }
    close(channel[1]);
    std::string reason;
    char buffer[256];
    ssize_t n;
    while ((n = read(channel[0], buffer, sizeof buffer)) > 0)
        reason.append(buffer, size_t(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return "<child died>";
    return reason;
}

}  // namespace

// On a full disk the old file survives byte for byte, whichever of Qt's write paths a
// chart of that size would have taken (below and above its 16 KiB buffer).
class FullDiskTest : public testing::TestWithParam<int> {};

TEST_P(FullDiskTest, keepsTheOldFileAndNamesTheReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    const QByteArray old(881, 'o');
    ASSERT_TRUE(writeTestFile(path, old));

    const std::string reason = writeUnderSizeLimit(path, QByteArray(GetParam(), 'n'), 4096);

    EXPECT_EQ(reason, qt_error_string(EFBIG).toStdString());
    EXPECT_EQ(readTestFile(path), old);
    EXPECT_EQ(entries(dir), QStringList{u"chart.sbn"_s});
}

INSTANTIATE_TEST_SUITE_P(ChartSizes, FullDiskTest, testing::Values(6000, 40000));

TEST(FileWrite, replacesTheFileAndKeepsItsPermissionsAndLinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    ASSERT_TRUE(writeTestFile(path, "old"));
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath(u"link.sbn"_s);
    ASSERT_TRUE(QFile::link(path, link));

    EXPECT_EQ(writeFileAtomically(link, "new bytes"), QString());

    EXPECT_EQ(readTestFile(path), "new bytes");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir), (QStringList{u"chart.sbn"_s, u"link.sbn"_s}));
}

// A file made piece by piece: the pieces land in order; a maker that fails half way
// leaves the old file and no temporary file, and its error reaches the caller.
TEST(FileWrite, streamsPiecesAndLeavesNothingWhenTheMakerFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"picture.bmp"_s);
    EXPECT_EQ(writeFileAtomically(path, [](ByteSink& sink) {
                  for (char c = 'a'; c <= 'c'; ++c)
                      sink.write(std::string(70000, c));
              }),
              QString());
    EXPECT_EQ(readTestFile(path), QByteArray(70000, 'a') + QByteArray(70000, 'b') + QByteArray(70000, 'c'));

    ASSERT_TRUE(writeTestFile(path, "old"));
    EXPECT_THROW(writeFileAtomically(path,
                                     [](ByteSink& sink) {
                                         sink.write("half");
                                         throw std::runtime_error("cannot make the rest");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(readTestFile(path), "old");
    EXPECT_EQ(entries(dir), QStringList{u"picture.bmp"_s});
}

TEST(FileWrite, refusesAFileMarkedReadOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    ASSERT_TRUE(writeTestFile(path, "old"));
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_EQ(writeFileAtomically(path, "new"), u"ファイルは読み取り専用です"_s);
    EXPECT_EQ(readTestFile(path), "old");
}

// Only regular files are read; anything else is refused at once, a FIFO without a
// writer included (reading it would block forever).
TEST(FileRead, refusesWhatIsNotARegularFile)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"fifo.sbn"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {fifo, u"通常のファイルではありません（名前付きパイプ）"_s},
        {dir.path(), u"通常のファイルではありません（フォルダ）"_s},
        {u"/dev/zero"_s, u"通常のファイルではありません（デバイス）"_s},
        {dir.filePath(u"absent.sbn"_s), qt_error_string(ENOENT)},
    };
    for (const auto& c : cases) {
        const FileReadResult result = readFileBytes(c.path, 1024);
        EXPECT_FALSE(result.ok()) << c.path.toStdString();
        EXPECT_EQ(result.error, c.reason) << c.path.toStdString();
    }
}

TEST(FileRead, readsUpToTheCap)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    ASSERT_TRUE(writeTestFile(path, QByteArray(100, 'x')));
    EXPECT_EQ(readFileBytes(path, 100).bytes, QByteArray(100, 'x'));
    EXPECT_EQ(readFileBytes(path, 99).error, u"ファイルが大きすぎます"_s);
}

// The identity a write reports is the one the file then has, reading sees the same, and
// a later write of the same size still tells itself apart by its time.
TEST(FileIdentity, followsTheFileFromWriteToRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    const QString link = dir.filePath(u"link.sbn"_s);
    ASSERT_TRUE(QFile::link(path, link));
    FileIdentity first;
    ASSERT_EQ(writeFileAtomically(link, "12345", &first), QString());

    EXPECT_EQ(first.size, 5);
    EXPECT_EQ(fileIdentity(path), first);
    EXPECT_EQ(fileIdentity(link), first);
    EXPECT_EQ(readFileBytes(link, 100).identity, first);

    const timespec past[2] = {{0, UTIME_OMIT}, {1'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), past, 0), 0);
    EXPECT_NE(fileIdentity(path), first);
    FileIdentity second;
    ASSERT_EQ(writeFileAtomically(path, "54321", &second), QString());
    EXPECT_NE(second, first);
    EXPECT_EQ(readFileBytes(path, 100).identity, second);
}

TEST(FileIdentity, isNoneForWhatIsNotARegularFile)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"fifo"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString dangling = dir.filePath(u"dangling"_s);
    ASSERT_TRUE(QFile::link(dir.filePath(u"absent"_s), dangling));
    for (const QString& path : {dir.filePath(u"absent"_s), dir.path(), fifo, dangling, u"/dev/null"_s})
        EXPECT_EQ(fileIdentity(path), std::nullopt) << path.toStdString();
}
