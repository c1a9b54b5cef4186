#include "storage/TemporaryFile.h"

#include <atomic>

#ifndef _WIN32

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#else
#include <cstdint>
#include <windows.h>
#endif

namespace solvena {

#ifndef _WIN32

namespace {

// The names the handler removes. A program writes one file at a time; a few slots
// keep a second thread's write from going unprotected.
constexpr int kSlots = 8;
std::atomic<const char*> pendingNames[kSlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void removePendingAndEnd(int signal)
{
    for (std::atomic<const char*>& slot : pendingNames)
        if (const char* name = slot.load())
            ::unlink(name);
    // Ended by the signal itself, so that a shell or a parent sees the usual status.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);  // not reached: the default action ends the program
}

// Blocks the ending signals while a name is made and registered, so that none can
// come between the two.
class EndingSignalsBlocked {
public:
    EndingSignalsBlocked()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : kEndingSignals)
            sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~EndingSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsBlocked(const EndingSignalsBlocked&) = delete;
    EndingSignalsBlocked& operator=(const EndingSignalsBlocked&) = delete;

private:
    sigset_t previous_;
};

}  // namespace

void installFileSignalHandling()
{
    ::signal(SIGXFSZ, SIG_IGN);
    for (int signal : kEndingSignals) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;  // nohup, or a background job of a shell: stays as it was started
        struct sigaction action {};
        action.sa_handler = removePendingAndEnd;
        sigemptyset(&action.sa_mask);
        for (int other : kEndingSignals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

TemporaryFile::TemporaryFile(std::string pattern) : path_(std::move(pattern))
{
    const EndingSignalsBlocked blocked;
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        const char* expected = nullptr;
        if (pendingNames[i].compare_exchange_strong(expected, path_.c_str())) {
            slot_ = i;
            break;
        }
    }
}

TemporaryFile::~TemporaryFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    // Removed before it is forgotten: a signal in between removes a name already gone.
    if (!path_.empty() && error_ == 0)
        ::unlink(path_.c_str());
    if (slot_ >= 0)
        pendingNames[slot_].store(nullptr);
}

int TemporaryFile::close()
{
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
}

void TemporaryFile::keep()
{
    if (slot_ >= 0)
        pendingNames[slot_].store(nullptr);
    slot_ = -1;
    path_.clear();
}

#else

namespace {

// The names the console handler removes, as on POSIX.
constexpr int kSlots = 8;
std::atomic<const wchar_t*> pendingNames[kSlots];

// Runs on a thread of its own when the console asks the program to end; the writer may
// be in the middle of the file, which was opened to let it be removed all the same.
BOOL WINAPI removePendingOnConsoleEnd(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        for (std::atomic<const wchar_t*>& slot : pendingNames)
            if (const wchar_t* name = slot.load())
                ::DeleteFileW(name);
        break;
    default:
        break;
    }
    return FALSE;  // the next handler, in the end the system's, ends the program as usual
}

// A name no one can guess and no two calls share, without a random device the C library
// may lack.
std::wstring uniqueSuffix()
{
    static std::atomic<uint64_t> calls{0};
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    uint64_t x = uint64_t(now.QuadPart) ^ (uint64_t(::GetCurrentProcessId()) << 32) ^
                 (uint64_t(::GetCurrentThreadId()) << 16) ^ (calls.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    // splitmix64: every bit of the input reaches every letter.
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring suffix;
    for (int i = 0; i < 6; ++i, x /= 62)
        suffix += kLetters[x % 62];
    return suffix;
}

}  // namespace

void installFileSignalHandling()
{
    ::SetConsoleCtrlHandler(removePendingOnConsoleEnd, TRUE);
}

TemporaryFile::TemporaryFile(const std::wstring& folder) : handle_(INVALID_HANDLE_VALUE)
{
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        path_ = folder + L".solvena-" + uniqueSuffix();
        // Shared for removal alone, so that the console handler can take it away while
        // it is being written; nobody else reads a half-made file.
        handle_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ != INVALID_HANDLE_VALUE)
            break;
        error_ = ::GetLastError();
        if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS)
            break;
    }
    if (handle_ == INVALID_HANDLE_VALUE) {
        path_.clear();
        return;
    }
    error_ = 0;
    for (int i = 0; i < kSlots; ++i) {
        const wchar_t* expected = nullptr;
        if (pendingNames[i].compare_exchange_strong(expected, path_.c_str())) {
            slot_ = i;
            break;
        }
    }
}

TemporaryFile::~TemporaryFile()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle_);
    if (!path_.empty())
        ::DeleteFileW(path_.c_str());
    if (slot_ >= 0)
        pendingNames[slot_].store(nullptr);
}

bool TemporaryFile::close()
{
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
}

void TemporaryFile::keep()
{
    if (slot_ >= 0)
        pendingNames[slot_].store(nullptr);
    slot_ = -1;
    path_.clear();
}

#endif

}  // namespace solvena
