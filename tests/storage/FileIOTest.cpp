// Reading and writing by path against real files, FIFOs and a real file-size limit.
#include "storage/FileIO.h"

#include "storage/NativePath.h"
#include "storage/TemporaryFile.h"

#include "RawProcess.h"
#include "ReasonText.h"
#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace solvena;

using namespace Qt::StringLiterals;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

// How a child process ended: the text its work gave back, or the signal that ended it.
struct ChildOutcome {
    std::string said;
    int signal = 0;  // 0 when it exited
};

// Runs `work` in a child process, for what must not happen to the test itself: a
// file-size limit, a signal that ends the program.
ChildOutcome inChild(const std::function<std::string()>& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {"<pipe failed>"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const std::string said = work();
        [[maybe_unused]] const ssize_t n = write(channel[1], said.data(), said.size());
        _exit(0);
    }
    close(channel[1]);
    ChildOutcome outcome;
    char buffer[256];
    ssize_t n;
    while ((n = read(channel[0], buffer, sizeof buffer)) > 0)
        outcome.said.append(buffer, size_t(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    return outcome;
}

// writeFileAtomically in a program set up as ours are, whose files may not grow beyond
// `limit` bytes, as on a full disk; the reason it gave ("" on success).
std::string writeUnderSizeLimit(const QString& path, const QByteArray& bytes, rlim_t limit)
{
    const ChildOutcome outcome = inChild([&] {
        installFileSignalHandling();
        rlimit rl{};
        getrlimit(RLIMIT_FSIZE, &rl);
        rl.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &rl);
        return japanese(writeFileAtomically(path, bytes));
    });
    return outcome.signal ? "<ended by signal " + std::to_string(outcome.signal) + ">" : outcome.said;
}

// Each entry under a folder with its kind and a link's target: what a write must not
// change.
std::map<QString, QString> kindsIn(const QString& folder)
{
    std::map<QString, QString> kinds;
    QDirIterator it(folder, QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status {};
        lstat(QFile::encodeName(path).constData(), &status);
        kinds[path] = QString::number(status.st_mode & S_IFMT) + it.fileInfo().symLinkTarget();
    }
    return kinds;
}

// A FIFO, a folder, a socket and, for root, the devices null, full and a block device,
// under `at`; false when the devices could not be made.
bool makeSpecialFiles(const std::string& at)
{
    EXPECT_EQ(mkfifo((at + "fifo").c_str(), 0600), 0);
    EXPECT_EQ(mkdir((at + "folder").c_str(), 0700), 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (at + "socket").c_str(), sizeof address.sun_path - 1);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(sock);
    if (geteuid() != 0) {
        std::cout << "[ SKIPPED  ] the device cases: making a device needs root\n";
        return false;
    }
    return mknod((at + "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
           mknod((at + "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0 &&
           mknod((at + "block").c_str(), S_IFBLK | 0666, makedev(7, 0)) == 0;
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

// Each writer at the end of each kind of name. A chain of links is followed (a
// relative target from its link's folder) to the regular file, which is replaced while
// every link stays; a loop and a chain ending at nothing are refused naming the link.
// The editor's writer replaces nothing else; a command line's output goes into a FIFO
// or a character device as it is, reports a failure there, and refuses the rest.
TEST(FileWrite, followsLinksAndReplacesOnlyRegularFiles)
{
    QTemporaryDir dir;
    const std::string at = QFile::encodeName(dir.path()).toStdString() + '/';
    const auto path = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    ASSERT_EQ(mkdir((at + "sub").c_str(), 0700), 0);
    for (const auto& [link, target] : std::initializer_list<std::pair<const char*, const char*>>{
             {"a", "b"}, {"b", "real.sbn"}, {"sub/c", "../a"}, {"loop1", "loop2"}, {"loop2", "loop1"},
             {"dangling1", "sub/dangling2"}, {"sub/dangling2", "absent"}})
        ASSERT_EQ(symlink(target, (at + link).c_str()), 0);
    const bool devices = makeSpecialFiles(at);

    const QString loop = u"リンクが循環しています（%1）"_s.arg(path("loop1"));
    const QString dangling = u"リンク %1 の指す %2 がありません"_s.arg(path("sub/dangling2"), path("sub/absent"));
    const QString notRegular = u"通常のファイルではありません（%1）"_s;
    const struct {
        const char* name;
        QString atomic;  // what the editor's writer says ("" when it wrote)
        QString output;  // what a command line's output says
        bool device = false;
    } cases[] = {
        {"a", {}, {}},
        {"sub/c", {}, {}},
        {"loop1", loop, loop},
        {"dangling1", dangling, dangling},
        {"fifo", notRegular.arg(u"名前付きパイプ"_s), {}},
        {"folder", notRegular.arg(u"フォルダ"_s), notRegular.arg(u"フォルダ"_s)},
        {"socket", notRegular.arg(u"ソケット"_s), notRegular.arg(u"ソケット"_s)},
        {"null", notRegular.arg(u"デバイス"_s), {}, true},
        {"full", notRegular.arg(u"デバイス"_s), qt_error_string(ENOSPC), true},
        {"block", notRegular.arg(u"デバイス"_s), notRegular.arg(u"デバイス"_s), true},
    };
    const std::string bytes(100000, 'p');  // more than a pipe holds at once
    const auto produce = [&](ByteSink& sink) { sink.write(bytes); };
    for (const auto& c : cases) {
        if (c.device && !devices)
            continue;
        for (const bool output : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (output ? " as an output" : ""));
            ASSERT_TRUE(writeTestFile(path("real.sbn"), "old"));
            const auto before = kindsIn(dir.path());
            const bool intoFifo = output && std::string(c.name) == "fifo";
            std::string piped;
            std::thread reader;
            if (intoFifo)
                reader = std::thread([&] { piped = readFifo(at + "fifo"); });

            const QString error = japaneseText(output ? writeOutputFile(path(c.name), produce)
                                                      : writeFileAtomically(path(c.name), produce));
            if (reader.joinable())
                reader.join();

            const QString expected = output ? c.output : c.atomic;
            EXPECT_EQ(error, expected);
            const bool link = QFileInfo(path(c.name)).isSymLink();
            EXPECT_EQ(readTestFile(path("real.sbn")).toStdString(), link && expected.isEmpty() ? bytes : "old");
            EXPECT_EQ(kindsIn(dir.path()), before);
            EXPECT_EQ(piped, intoFifo ? bytes : "");
        }
    }
}

// A name is written under the bytes it was given, whether or not they are UTF-8, and
// a name as long as a folder allows is written too.
TEST(FileWrite, writesUnderExactlyTheNameGiven)
{
    QTemporaryDir dir;
    const std::string at = QFile::encodeName(dir.path()).toStdString() + '/';
    const std::string names[] = {
        "\xff.png", "\xfe.png", "\x83\x5e\x83\x43\x83\x7e.sbn",  // Shift_JIS
        "\xed\xa0\x80\xc0\xaf\xe3\x81.sbn",  // an encoded surrogate, an overlong form, a cut sequence
        "タイミング.sbn", std::string(255, 'n'), std::string(251, 'l') + ".sbn",
    };
    const auto pathOf = [&](const std::string& name) { return dir.path() + u'/' + pathFromNativeBytes(name); };
    for (const std::string& name : names)
        EXPECT_EQ(writeFileAtomically(pathOf(name), QByteArray::fromStdString(name)), Reason()) << name;
    // Read back once all are written, so that two names written as one file would show.
    for (const std::string& name : names) {
        EXPECT_EQ(access((at + name).c_str(), F_OK), 0) << name;
        EXPECT_EQ(readFileBytes(pathOf(name), 1000).bytes.toStdString(), name);
    }
    EXPECT_EQ(pathFromNativeBytes("タイミング.sbn"), u"タイミング.sbn"_s);
}

// A signal that ends the program in the middle of a write takes the temporary file
// with it, and the program still ends by that signal; one ignored at start stays so.
TEST(FileWrite, aSignalDuringAWriteLeavesNoTemporaryFile)
{
    const struct {
        int signal;
        bool ignoredAtStart;
    } cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGQUIT, false}, {SIGHUP, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.ignoredAtStart ? " ignored at start" : ""));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"chart.sbn"_s);
        ASSERT_TRUE(writeTestFile(path, "old"));
        const ChildOutcome outcome = inChild([&] {
            if (c.ignoredAtStart)
                signal(c.signal, SIG_IGN);
            installFileSignalHandling();
            return japanese(writeFileAtomically(path, [&](ByteSink& sink) {
                sink.write("half");
                kill(getpid(), c.signal);
                sink.write(" and the rest");
            }));
        });
        EXPECT_EQ(outcome.signal, c.ignoredAtStart ? 0 : c.signal);
        EXPECT_EQ(readTestFile(path), c.ignoredAtStart ? "half and the rest" : "old");
        EXPECT_EQ(entries(dir), QStringList{u"chart.sbn"_s});
    }
}

TEST(FileWrite, replacesTheFileAndKeepsItsPermissionsAndLinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    ASSERT_TRUE(writeTestFile(path, "old"));
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);
    // Root saving a user's file leaves it the user's.
    const uid_t owner = geteuid() == 0 ? 4321 : geteuid();
    ASSERT_EQ(chown(QFile::encodeName(path).constData(), owner, owner == geteuid() ? getegid() : 4321), 0);
    const QString link = dir.filePath(u"link.sbn"_s);
    ASSERT_TRUE(QFile::link(path, link));

    EXPECT_EQ(writeFileAtomically(link, "new bytes"), Reason());

    EXPECT_EQ(readTestFile(path), "new bytes");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(status.st_uid, owner);
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
              Reason());
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
    EXPECT_EQ(japaneseText(writeFileAtomically(path, "new")), u"ファイルは読み取り専用です"_s);
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
        EXPECT_EQ(japaneseText(result.error), c.reason) << c.path.toStdString();
    }
}

TEST(FileRead, readsUpToTheCap)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    ASSERT_TRUE(writeTestFile(path, QByteArray(100, 'x')));
    EXPECT_EQ(readFileBytes(path, 100).bytes, QByteArray(100, 'x'));
    EXPECT_EQ(japaneseText(readFileBytes(path, 99).error), u"ファイルが大きすぎます"_s);
}

// The identity a write reports is the one the file then has, reading sees the same, and
// a later write of the same size still tells itself apart by its time.
TEST(FileIdentity, followsTheFileFromWriteToRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.sbn"_s);
    const QString link = dir.filePath(u"link.sbn"_s);
    ASSERT_TRUE(writeTestFile(path, "old"));
    ASSERT_TRUE(QFile::link(path, link));
    FileIdentity first;
    ASSERT_EQ(writeFileAtomically(link, "12345", &first), Reason());

    EXPECT_EQ(first.size, 5);
    EXPECT_EQ(fileIdentity(path), first);
    EXPECT_EQ(fileIdentity(link), first);
    EXPECT_EQ(readFileBytes(link, 100).identity, first);

    const timespec past[2] = {{0, UTIME_OMIT}, {1'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), past, 0), 0);
    EXPECT_NE(fileIdentity(path), first);
    FileIdentity second;
    ASSERT_EQ(writeFileAtomically(path, "54321", &second), Reason());
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
