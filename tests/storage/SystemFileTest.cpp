// The system's side of the file layer against the real file system, the same cases on
// Linux and on Windows (under Wine in CI). What a case checks is looked at through the
// standard library's own file functions, never through the layer under test.
#include "storage/SystemFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace solvena;

namespace fs = std::filesystem;

namespace {

std::string utf8Of(const std::u8string& text)
{
    return std::string(text.begin(), text.end());
}

std::string nativeOf(const fs::path& path)
{
    return utf8Of(path.u8string());
}

std::string contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own for each case, taken away with everything in it.
class Folder {
public:
    Folder()
    {
        static std::atomic<int> count{0};
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = fs::temp_directory_path() / ("solvena-system-" + std::to_string(now) + "-" + std::to_string(++count));
        fs::create_directories(path_);
    }
    ~Folder()
    {
        std::error_code ignored;
        // Windows removes nothing marked read-only.
        for (const fs::directory_entry& entry : fs::directory_iterator(path_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    std::set<std::string> entries() const
    {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path_))
            names.insert(nativeOf(entry.path().filename()));
        return names;
    }

private:
    fs::path path_;
};

#ifdef _WIN32
const std::string kDevice = "NUL";
#else
const std::string kDevice = "/dev/null";
#endif

Reason notRegular(ReasonKind kind)
{
    return Reason(ReasonKind::NotRegularOfKind, {Reason(kind)});
}

enum class Before { Nothing, OldFile, ReadOnlyFile, Folder };

}  // namespace

// A write replaces the file whole or leaves it as it was, and never leaves a temporary
// file beside it.
TEST(SystemFileWrite, ReplacesWholeOrNotAtAll)
{
    const struct {
        const char* label;
        Before before;
        std::u8string name = u8"chart.sbn";
        bool producerThrows = false;
        Reason expected = {};
    } cases[] = {
        {"a new file", Before::Nothing},
        {"an old file keeps nothing of its own", Before::OldFile},
        {"a file marked read-only", Before::ReadOnlyFile, u8"chart.sbn", false, ReasonKind::FileReadOnly},
        {"a folder", Before::Folder, u8"chart.sbn", false, notRegular(ReasonKind::FileFolder)},
        {"a producer that throws", Before::OldFile, u8"chart.sbn", true},
        {"a Japanese name", Before::Nothing, u8"タイミング図①.sbn"},
    };
    const std::string old = "the old file, longer than the new one";
    const std::string fresh = "new";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Folder folder;
        const fs::path path = folder.path() / c.name;
        if (c.before == Before::OldFile || c.before == Before::ReadOnlyFile)
            put(path, old);
        if (c.before == Before::ReadOnlyFile)
            fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        if (c.before == Before::Folder)
            fs::create_directory(path);

        FileIdentity written;
        const auto produce = [&](ByteSink& sink) {
            sink.write(fresh.substr(0, 1));
            if (c.producerThrows)
                throw std::runtime_error("cannot make the rest");
            sink.write(fresh.substr(1));
        };
        if (c.producerThrows) {
            EXPECT_THROW(writeRegularFile(nativeOf(path), produce, &written), std::runtime_error);
        } else {
            EXPECT_EQ(writeRegularFile(nativeOf(path), produce, &written), c.expected);
        }

        const bool wrote = c.expected.empty() && !c.producerThrows;
        EXPECT_EQ(folder.entries(), std::set<std::string>{utf8Of(c.name)}) << "no temporary file is left";
        if (c.before == Before::Folder) {
            EXPECT_TRUE(fs::is_directory(path));
            continue;
        }
        EXPECT_EQ(contentOf(path), wrote ? fresh : old);
        if (wrote) {
            EXPECT_EQ(written.size, int64_t(fresh.size()));
            EXPECT_EQ(regularFileIdentity(nativeOf(path)), written);
        }
    }
}

// A device is never replaced; a command line's output goes into it as it is.
TEST(SystemFileWrite, ADeviceIsRefusedOrWrittenInto)
{
    const struct {
        SpecialTargets special;
        Reason expected;
    } cases[] = {
        {SpecialTargets::Refuse, notRegular(ReasonKind::FileDevice)},
        {SpecialTargets::WriteThrough, {}},
    };
    for (const auto& c : cases) {
        bool produced = false;
        const auto produce = [&](ByteSink& sink) {
            produced = true;
            sink.write("bytes");
        };
        EXPECT_EQ(writeRegularFile(kDevice, produce, nullptr, c.special), c.expected);
        EXPECT_EQ(produced, c.expected.empty());
    }
}

// Nothing but a regular file is read, and none beyond the size it may have.
TEST(SystemFileRead, TakesRegularFilesUpToTheCap)
{
    const Folder folder;
    const fs::path file = folder.path() / u8"タイミング図.sbn";
    put(file, std::string(100, 'x'));
    const struct {
        std::string path;
        int64_t cap;
        Reason expected;
    } cases[] = {
        {nativeOf(file), 100, {}},
        {nativeOf(file), 99, ReasonKind::FileTooLarge},
        {nativeOf(folder.path()), 100, notRegular(ReasonKind::FileFolder)},
        {kDevice, 100, notRegular(ReasonKind::FileDevice)},
        {nativeOf(folder.path() / "absent.sbn"), 100, Reason(ReasonKind::System, {ENOENT})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " at most " + std::to_string(c.cap));
        const FileBytes read = readRegularFile(c.path, c.cap);
        EXPECT_EQ(read.error, c.expected);
        EXPECT_EQ(read.bytes, c.expected.empty() ? std::string(100, 'x') : std::string());
        if (c.expected.empty())
            EXPECT_EQ(read.identity, regularFileIdentity(c.path));
        else
            EXPECT_EQ(regularFileIdentity(c.path).has_value(), c.expected == ReasonKind::FileTooLarge);
    }
}

// A rewrite of the same size tells itself apart by its time, and reading sees what the
// write reported.
TEST(SystemFileRead, IdentityFollowsEachRewrite)
{
    const Folder folder;
    const std::string path = nativeOf(folder.path() / "chart.sbn");
    FileIdentity first;
    ASSERT_EQ(writeRegularFile(path, [](ByteSink& sink) { sink.write("12345"); }, &first), Reason());
    const fs::path native = folder.path() / "chart.sbn";
    fs::last_write_time(native, fs::last_write_time(native) - std::chrono::hours(24));
    EXPECT_NE(regularFileIdentity(path), first);

    FileIdentity second;
    ASSERT_EQ(writeRegularFile(path, [](ByteSink& sink) { sink.write("54321"); }, &second), Reason());
    EXPECT_NE(second, first);
    EXPECT_EQ(readRegularFile(path, 100).identity, second);
}

// The lock is the first taker's until it lets go; a folder in its place is never locked.
TEST(SystemFileLock, OneHolderAtATime)
{
    const Folder folder;
    const std::string path = nativeOf(folder.path() / "editor.lock");
    auto first = std::make_unique<FileLock>(path);
    EXPECT_TRUE(first->isHeld());
    EXPECT_FALSE(FileLock(path).isHeld()) << "while the first holds it";
    first.reset();
    EXPECT_TRUE(FileLock(path).isHeld()) << "once the first let go";

    fs::create_directory(folder.path() / "folder.lock");
    EXPECT_FALSE(FileLock(nativeOf(folder.path() / "folder.lock")).isHeld());
}

// What may be written is what the system lets be written; finding out leaves nothing.
TEST(SystemFileAccess, MayWriteWhatTheSystemLetsBeWritten)
{
    const Folder folder;
    put(folder.path() / "file", "x");
    put(folder.path() / "read-only", "x");
    fs::permissions(folder.path() / "read-only", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const struct {
        const char* what;
        fs::path path;
        bool may;
    } cases[] = {
        {"a folder", folder.path(), true},
        {"a file", folder.path() / "file", true},
        {"nothing", folder.path() / "missing", false},
        {"a name in no folder", folder.path() / "missing" / "file", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mayWrite(nativeOf(c.path)), c.may) << c.what;
#ifndef _WIN32
    // Root may write a file marked read-only; Windows lets nobody.
    if (::geteuid() == 0)
        return;
#endif
    EXPECT_FALSE(mayWrite(nativeOf(folder.path() / "read-only")));
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"file", "read-only"})) << "the probe is gone";
}

#ifdef _WIN32
// The per-user folders come from %APPDATA% and %LOCALAPPDATA% when they name one, else
// from the system, which Windows (and Wine) then agree with.
TEST(SystemFileFolders, FromTheEnvironmentOrTheSystem)
{
    const struct {
        std::string appData, localAppData, preferences, recovery;
    } cases[] = {
        {"C:\\Users\\ユーザー\\AppData\\Roaming", "D:\\local", "C:\\Users\\ユーザー\\AppData\\Roaming\\solvena",
         "D:\\local\\solvena"},
        {"relative", "", processEnvironment("APPDATA") + "\\solvena", processEnvironment("LOCALAPPDATA") + "\\solvena"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.appData);
        const EnvironmentLookup environment = [&](std::string_view name) {
            return name == "APPDATA" ? c.appData : name == "LOCALAPPDATA" ? c.localAppData : std::string();
        };
        EXPECT_EQ(userPreferencesFolder(environment), c.preferences);
        EXPECT_EQ(userRecoveryFolder(environment), c.recovery);
    }
}
#endif
