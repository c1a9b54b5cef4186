#include "storage/TemporaryFile.h"

#ifndef _WIN32

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
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

TemporaryFile::TemporaryFile(QByteArray pattern) : path_(std::move(pattern))
{
    const EndingSignalsBlocked blocked;
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        const char* expected = nullptr;
        if (pendingNames[i].compare_exchange_strong(expected, path_.constData())) {
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
    if (!path_.isEmpty() && error_ == 0)
        ::unlink(path_.constData());
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

void installFileSignalHandling() {}

#endif

}  // namespace solvena
