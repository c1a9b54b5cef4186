// The files the program keeps, on Windows: the system's wide functions, so that every
// name reaches it as given whatever the code page.
#include "storage/SystemFile.h"

#include "storage/TemporaryFile.h"
#include "storage/WindowsSystem.h"

#include <algorithm>
#include <utility>

#include <windows.h>
#include <shlobj.h>
#include <knownfolders.h>

namespace solvena {

namespace {

// FILETIME counts 100 ns from 1601; identities count nanoseconds from 1970.
constexpr int64_t kUnixEpochTicks = 116444736000000000;

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    const int64_t size = int64_t((uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    const int64_t ticks =
        int64_t((uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime);
    return {size, (ticks - kUnixEpochTicks) * 100};
}

Reason lastReason()
{
    return windowsReason(::GetLastError());
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle()
    {
        if (valid())
            ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    // Closes now and reports whether that succeeded.
    bool close() { return ::CloseHandle(release()) != 0; }

private:
    HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens what stands at `path`, links followed; folders too, so that they can be told apart.
HANDLE openExisting(const std::wstring& path, DWORD access)
{
    return ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Why what an open handle names is not a regular file; none when it is one. `info`
// receives what the system says of a regular file.
Reason notRegular(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info)
{
    switch (::GetFileType(handle)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_PIPE:
        return Reason(ReasonKind::NotRegularOfKind, {Reason(ReasonKind::FileFifo)});
    default:  // NUL, CON, COM1, a printer port, ...
        return Reason(ReasonKind::NotRegularOfKind, {Reason(ReasonKind::FileDevice)});
    }
    if (!::GetFileInformationByHandle(handle, &info))
        return lastReason();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Reason(ReasonKind::NotRegularOfKind, {Reason(ReasonKind::FileFolder)});
    return {};
}

// Writes everything it is given to a handle, or remembers the first error.
class HandleSink final : public ByteSink {
public:
    explicit HandleSink(HANDLE handle) : handle_(handle) {}
    void write(std::string_view bytes) override
    {
        while (!bytes.empty() && error_ == 0) {
            const DWORD piece = DWORD(std::min<size_t>(bytes.size(), size_t{1} << 30));
            DWORD done = 0;
            if (!::WriteFile(handle_, bytes.data(), piece, &done, nullptr)) {
                error_ = ::GetLastError();
                break;
            }
            bytes.remove_prefix(done);
        }
    }
    DWORD error() const { return error_; }

private:
    HANDLE handle_;
    DWORD error_ = 0;
};

// Writes everything `produce` makes into a pipe or a device that is already there.
Reason writeThrough(const std::wstring& path, const std::function<void(ByteSink&)>& produce)
{
    Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastReason();
    HandleSink sink(file.get());
    produce(sink);
    if (sink.error())
        return windowsReason(sink.error());
    if (!file.close())
        return lastReason();
    return {};
}

// The name of the file at the end of the links an open handle was reached through.
std::wstring finalPathOf(HANDLE handle)
{
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), DWORD(path.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
    return {};
}

// The folder of a name, with its separator: where its temporary file is made.
std::wstring folderOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

bool isAbsolute(const std::string& path)
{
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                       separator(path[2]);
    const bool share = path.size() >= 2 && separator(path[0]) && separator(path[1]);
    return drive || share;
}

std::string knownFolder(REFKNOWNFOLDERID id)
{
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = toUtf8(path);
    ::CoTaskMemFree(path);
    return folder;
}

// %`variable` when it is an absolute path, else the system's folder of that kind, else
// the usual place in the user's profile.
std::string baseFolder(const EnvironmentLookup& environment, std::string_view variable, REFKNOWNFOLDERID id,
                       const char* inProfile)
{
    std::string base = environment(variable);
    if (isAbsolute(base))
        return base;
    base = knownFolder(id);
    if (!base.empty())
        return base;
    return environment("USERPROFILE") + inProfile;
}

}  // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path, Reason& error)
{
    std::wstring wide;
    if (!toWide(path, wide, error))
        return nullptr;
    // A pipe is connected to and let go at once, never read: opening one does not wait.
    const HANDLE handle = openExisting(wide, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        error = lastReason();
        return nullptr;
    }
    std::unique_ptr<InputFile> file(new InputFile(intptr_t(handle)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (Reason refused = notRegular(handle, info); !refused.empty()) {
        error = std::move(refused);
        return nullptr;
    }
    return file;
}

InputFile::~InputFile()
{
    ::CloseHandle(HANDLE(handle_));
}

size_t InputFile::read(char* buffer, size_t capacity, Reason& error)
{
    DWORD done = 0;
    if (!::ReadFile(HANDLE(handle_), buffer, DWORD(std::min<size_t>(capacity, size_t{1} << 30)), &done, nullptr)) {
        if (::GetLastError() == ERROR_HANDLE_EOF || ::GetLastError() == ERROR_BROKEN_PIPE)
            return 0;
        error = lastReason();
        return 0;
    }
    return done;
}

std::optional<FileIdentity> InputFile::identity(Reason& error) const
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(HANDLE(handle_), &info)) {
        error = lastReason();
        return std::nullopt;
    }
    return identityOf(info);
}

std::optional<FileIdentity> regularFileIdentity(const std::string& path)
{
    std::wstring wide;
    Reason error;
    if (!toWide(path, wide, error))
        return std::nullopt;
    const Handle file(openExisting(wide, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !notRegular(file.get(), info).empty())
        return std::nullopt;
    return identityOf(info);
}

Reason writeRegularFile(const std::string& path, const std::function<void(ByteSink&)>& produce,
                        FileIdentity* written, SpecialTargets special)
{
    Reason error;
    std::wstring target;
    if (!toWide(path, target, error))
        return error;

    bool replace = false;
    {
        const Handle existing(openExisting(target, FILE_READ_ATTRIBUTES));
        if (!existing.valid()) {
            const DWORD failure = ::GetLastError();
            if (failure == ERROR_CANT_RESOLVE_FILENAME)
                return Reason(ReasonKind::LinkLoop, {path});
            if (failure != ERROR_FILE_NOT_FOUND && failure != ERROR_PATH_NOT_FOUND)
                return windowsReason(failure);
            // A link at the name that leads to nothing: its target is not ours to make.
            const DWORD own = ::GetFileAttributesW(target.c_str());
            if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT))
                return Reason(ReasonKind::TargetUnknown, {path});
            // Nothing there yet; a missing folder shows when the temporary file is made.
        } else {
            const DWORD type = ::GetFileType(existing.get());
            if (special == SpecialTargets::WriteThrough && (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE))
                return writeThrough(target, produce);
            BY_HANDLE_FILE_INFORMATION info{};
            if (Reason refused = notRegular(existing.get(), info); !refused.empty())
                return refused;
            if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                return ReasonKind::FileReadOnly;
            // Links stay: the file at their end is the one replaced.
            const DWORD own = ::GetFileAttributesW(target.c_str());
            if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT)) {
                target = finalPathOf(existing.get());
                if (target.empty())
                    return Reason(ReasonKind::TargetUnknown, {path});
            }
            replace = true;
        }
    }

    TemporaryFile temporary(folderOf(target));
    if (temporary.handle() == INVALID_HANDLE_VALUE)
        return windowsReason(temporary.error());
    HandleSink sink(temporary.handle());
    produce(sink);
    if (sink.error())
        return windowsReason(sink.error());
    if (!::FlushFileBuffers(temporary.handle()))
        return lastReason();
    if (!temporary.close())
        return lastReason();
    // The old file keeps its name, attributes and security and takes the new bytes; a new
    // file is moved into place only while nothing else has taken the name.
    const bool moved = replace ? ::ReplaceFileW(target.c_str(), temporary.path().c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                               : ::MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!moved)
        return lastReason();
    temporary.keep();
    if (written) {
        const Handle done(openExisting(target, FILE_READ_ATTRIBUTES));
        BY_HANDLE_FILE_INFORMATION info{};
        *written = done.valid() && ::GetFileInformationByHandle(done.get(), &info) ? identityOf(info) : FileIdentity{};
    }
    return {};
}

bool mayWrite(const std::string& path)
{
    Reason ignored;
    std::wstring wide;
    if (!toWide(path, wide, ignored))
        return false;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    // A file marked read-only is not written, as writeRegularFile refuses it.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return !(attributes & FILE_ATTRIBUTE_READONLY) && Handle(openExisting(wide, GENERIC_WRITE)).valid();
    if (wide.back() != L'\\' && wide.back() != L'/')
        wide += L'\\';
    // Removed again when it goes.
    const TemporaryFile probe(wide);
    return probe.handle() != INVALID_HANDLE_VALUE;
}

FileLock::FileLock(std::string path) : path_(std::move(path)), handle_(intptr_t(INVALID_HANDLE_VALUE))
{
    std::wstring wide;
    Reason error;
    if (!toWide(path_, wide, error))
        return;
    // Removable while held, as the lock's owner removes it before letting go. A link
    // planted under the name is opened as itself, and refused, never followed.
    Handle file(::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
        return;
    OVERLAPPED start{};
    if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start))
        return;
    handle_ = intptr_t(file.release());
}

FileLock::~FileLock()
{
    if (isHeld())
        ::CloseHandle(HANDLE(handle_));  // lets go of the lock
}

bool FileLock::isHeld() const
{
    return HANDLE(handle_) != INVALID_HANDLE_VALUE;
}

std::string processEnvironment(std::string_view name)
{
    std::wstring wide;
    Reason error;
    if (!toWide(name, wide, error))
        return {};
    std::wstring value(256, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), DWORD(value.size()));
        if (length == 0)
            return {};
        if (length < value.size()) {
            value.resize(length);
            return toUtf8(value);
        }
        value.resize(length);
    }
    return {};
}

std::string userPreferencesFolder(const EnvironmentLookup& environment)
{
    return baseFolder(environment, "APPDATA", FOLDERID_RoamingAppData, "\\AppData\\Roaming") + "\\solvena";
}

std::string userRecoveryFolder(const EnvironmentLookup& environment)
{
    return baseFolder(environment, "LOCALAPPDATA", FOLDERID_LocalAppData, "\\AppData\\Local") + "\\solvena";
}

}  // namespace solvena
