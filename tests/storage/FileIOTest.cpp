// Reading and writing by path against real files, FIFOs and a real file-size limit.
#include "storage/FileIO.h"

#include "storage/NativePath.h"
#include "storage/TemporaryFile.h"

#include "RawProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <map>
#include <set>
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
        return writeFileAtomically(path, bytes).toStdString();
    });
    return outcome.signal ? "<ended by signal " + std::to_string(outcome.signal) + ">" : outcome.said;
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

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// The entries of a folder, each with its kind and, for a link, what it points to.
std::map<std::string, std::string> kindsIn(const QString& folder)
{
    std::map<std::string, std::string> kinds;
    for (const QString& name : QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System)) {
        const QByteArray path = native(folder + u'/' + name);
        struct stat status {};
        lstat(path.constData(), &status);
        std::string kind = std::to_string(status.st_mode & S_IFMT);
        if (S_ISLNK(status.st_mode))
            kind += " -> " + QFile::symLinkTarget(QString::fromUtf8(path)).toStdString();
        kinds[name.toStdString()] = kind;
    }
    return kinds;
}

// A socket left bound at `path` (the descriptor is not needed: the name stays).
bool makeSocket(const QString& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = native(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

bool makeDevice(const QString& path, mode_t kind, unsigned major, unsigned minor)
{
    return mknod(native(path).constData(), kind | 0666, makedev(major, minor)) == 0;
}

// The names a test uses, made fresh in a folder of their own.
struct Names {
    QTemporaryDir dir;
    QString at(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

void makeSpecialFiles(const Names& n)
{
    ASSERT_EQ(mkfifo(native(n.at("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(n.dir.path()).mkdir(u"folder"_s));
    ASSERT_TRUE(makeSocket(n.at("socket")));
    if (geteuid() == 0) {
        ASSERT_TRUE(makeDevice(n.at("null"), S_IFCHR, 1, 3));
        ASSERT_TRUE(makeDevice(n.at("full"), S_IFCHR, 1, 7));
        ASSERT_TRUE(makeDevice(n.at("block"), S_IFBLK, 7, 0));
    }
}

bool skippedWithoutRoot(const char* name)
{
    const bool device = std::string(name) == "null" || std::string(name) == "full" || std::string(name) == "block";
    if (device && geteuid() != 0)
        std::cout << "[ SKIPPED  ] " << name << ": making a device needs root\n";
    return device && geteuid() != 0;
}

// What a write leaves at the end of a name: a chain of links is followed (a relative
// target from its link's folder) to the regular file, which is replaced while every
// link stays; a loop, a chain ending at nothing and anything but a regular file are
// refused with the link or the kind named, and left exactly as they were.
TEST(FileWrite, followsLinksToTheFileAndReplacesNothingElse)
{
    Names n;
    const QString real = n.at("real.sbn");
    ASSERT_TRUE(QDir(n.dir.path()).mkdir(u"sub"_s));
    const struct {
        const char* link;
        const char* target;
    } links[] = {
        {"a", "b"}, {"b", "real.sbn"}, {"sub/c", "../real.sbn"}, {"sub/d", "../a"},
        {"loop1", "loop2"}, {"loop2", "loop1"}, {"dangling1", "sub/dangling2"}, {"sub/dangling2", "absent"},
    };
    for (const auto& l : links)
        ASSERT_EQ(symlink(l.target, native(n.at(l.link)).constData()), 0);
    makeSpecialFiles(n);

    const struct {
        const char* name;
        QString error;  // "" when the write goes to real.sbn
    } cases[] = {
        {"a", u""_s},
        {"sub/c", u""_s},
        {"sub/d", u""_s},
        {"loop1", u"リンクが循環しています（%1）"_s.arg(n.at("loop1"))},
        {"dangling1", u"リンク %1 の指す %2 がありません"_s.arg(n.at("sub/dangling2"), n.at("sub/absent"))},
        {"fifo", u"通常のファイルではありません（名前付きパイプ）"_s},
        {"folder", u"通常のファイルではありません（フォルダ）"_s},
        {"socket", u"通常のファイルではありません（ソケット）"_s},
        {"null", u"通常のファイルではありません（デバイス）"_s},
        {"block", u"通常のファイルではありません（デバイス）"_s},
    };
    for (const auto& c : cases) {
        if (skippedWithoutRoot(c.name))
            continue;
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeTestFile(real, "old"));
        const auto before = kindsIn(n.dir.path());
        const auto beforeSub = kindsIn(n.at("sub"));

        EXPECT_EQ(writeFileAtomically(n.at(c.name), "new").toStdString(), c.error.toStdString());

        EXPECT_EQ(readTestFile(real), c.error.isEmpty() ? "new" : "old");
        EXPECT_EQ(kindsIn(n.dir.path()), before);
        EXPECT_EQ(kindsIn(n.at("sub")), beforeSub);
    }
}

// An output named on a command line goes into a FIFO or a character device as it is
// (a pipe, /dev/null, a terminal), and a failure there is reported; folders, sockets
// and block devices are refused.
TEST(FileWrite, anOutputIsWrittenIntoAPipeOrACharacterDevice)
{
    Names n;
    makeSpecialFiles(n);
    const QByteArray bytes(100000, 'p');  // more than a pipe holds at once
    const struct {
        const char* name;
        QString error;
    } cases[] = {
        {"fifo", u""_s},
        {"null", u""_s},
        {"full", qt_error_string(ENOSPC)},
        {"folder", u"通常のファイルではありません（フォルダ）"_s},
        {"socket", u"通常のファイルではありません（ソケット）"_s},
        {"block", u"通常のファイルではありません（デバイス）"_s},
    };
    for (const auto& c : cases) {
        if (skippedWithoutRoot(c.name))
            continue;
        SCOPED_TRACE(c.name);
        const auto before = kindsIn(n.dir.path());
        QByteArray piped;
        std::thread reader;
        if (std::string(c.name) == "fifo") {
            reader = std::thread([&] { piped = QByteArray::fromStdString(readFifo(native(n.at("fifo")).toStdString())); });
        }
        const QString error = writeOutputFile(n.at(c.name), [&](ByteSink& sink) {
            sink.write(std::string_view(bytes.constData(), size_t(bytes.size())));
        });
        if (reader.joinable())
            reader.join();
        EXPECT_EQ(error.toStdString(), c.error.toStdString());
        EXPECT_EQ(kindsIn(n.dir.path()), before);
        if (std::string(c.name) == "fifo") {
            EXPECT_EQ(piped, bytes);
        }
    }
}

// A name is written as the bytes it was given: names that are not UTF-8 stay distinct
// files under their own bytes, and a name as long as a folder allows is written too.
TEST(FileWrite, writesUnderExactlyTheNameGiven)
{
    QTemporaryDir dir;
    const std::set<std::string> names = {
        "\xff.png", "\xfe.png",
        "\x83\x5e\x83\x43\x83\x7e\x83\x93\x83\x4f.sbn",  // Shift_JIS bytes
        "\xed\xa0\x80\xc0\xaf\xe3\x81.sbn",                  // an encoded surrogate, an overlong, a cut sequence
        "タイミング.sbn", std::string(255, 'n'), std::string(251, 'l') + ".sbn",
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const QString path = dir.path() + u'/' + pathFromNativeBytes(name);
        EXPECT_EQ(nativePathBytes(path), native(dir.path()) + '/' + QByteArray::fromStdString(name));
        EXPECT_EQ(writeFileAtomically(path, QByteArray::fromStdString(name)).toStdString(), "");
        EXPECT_EQ(readFileBytes(path, 1000).bytes.toStdString(), name);
    }
    EXPECT_EQ(pathFromNativeBytes("タイミング.sbn"), u"タイミング.sbn"_s);

    std::set<std::string> written;
    DIR* folder = opendir(native(dir.path()).constData());
    ASSERT_NE(folder, nullptr);
    while (const dirent* entry = readdir(folder))
        if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
            written.insert(entry->d_name);
    closedir(folder);
    EXPECT_EQ(written, names);
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
            return writeFileAtomically(path, [&](ByteSink& sink) {
                       sink.write("half");
                       kill(getpid(), c.signal);
                       sink.write(" and the rest");
                   }).toStdString();
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

    EXPECT_EQ(writeFileAtomically(link, "new bytes"), QString());

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
    ASSERT_TRUE(writeTestFile(path, "old"));
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
