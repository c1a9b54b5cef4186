#pragma once
// A built program run as a shell runs it: its arguments are bytes (a name need not be
// UTF-8), it can be given a limit, an environment and a standard output of the test's,
// and it can be sent a real signal while it runs. Linux only, as the conditions it
// makes are.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// How the program ended and what it said.
struct RawOutcome {
    int status = -1;  // exit status; -1 when it did not exit
    int signal = 0;   // the signal that ended it, 0 when it exited
    std::string out;  // empty when standard output went elsewhere
    std::string err;
};

struct RawOptions {
    std::vector<std::pair<std::string, std::string>> environment;  // set (an empty value removes)
    long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes, -1 for none
    int standardOutput = -1;  // a descriptor to write to instead of a caught one
};

class RawProcess {
public:
    RawProcess(const std::string& program, const std::vector<std::string>& args, const RawOptions& options = {})
    {
        out_ = ::memfd_create("out", MFD_CLOEXEC);
        err_ = ::memfd_create("err", MFD_CLOEXEC);
        // Everything the child needs is made here: between fork and exec only
        // async-signal-safe calls are made.
        std::vector<std::string> environment;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const bool replaced = std::any_of(options.environment.begin(), options.environment.end(),
                                              [&](const auto& kv) { return entry.rfind(kv.first + "=", 0) == 0; });
            if (!replaced)
                environment.push_back(entry);
        }
        for (const auto& [key, value] : options.environment)
            if (!value.empty())
                environment.push_back(key + "=" + value);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        const int standardOutput = options.standardOutput >= 0 ? options.standardOutput : out_;

        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(standardOutput, STDOUT_FILENO);
            ::dup2(err_, STDERR_FILENO);
            if (options.fileSizeLimit >= 0) {
                rlimit limit{};
                ::getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = rlim_t(options.fileSizeLimit);
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            ::signal(SIGXFSZ, SIG_DFL);  // as a shell starts a program
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
    }
    ~RawProcess()
    {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }
    RawProcess(const RawProcess&) = delete;
    RawProcess& operator=(const RawProcess&) = delete;

    pid_t pid() const { return pid_; }

    // Whether it is still running (it has not ended, or not been waited for).
    bool running() const { return pid_ > 0 && ::kill(pid_, 0) == 0 && !ended(); }

    // Waits for the end, killing it after `timeout`.
    RawOutcome wait(std::chrono::milliseconds timeout = std::chrono::seconds(60))
    {
        RawOutcome outcome;
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        waited_ = true;
        if (WIFEXITED(status))
            outcome.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status))
            outcome.signal = WTERMSIG(status);
        outcome.out = contents(out_);
        outcome.err = contents(err_);
        return outcome;
    }

private:
    bool ended() const
    {
        siginfo_t info{};
        return ::waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_;
    }

    // pread, so that the program's own place in the file it shares is left alone.
    static std::string contents(int fd)
    {
        std::string text;
        char buffer[4096];
        ssize_t n;
        while ((n = ::pread(fd, buffer, sizeof buffer, off_t(text.size()))) > 0)
            text.append(buffer, size_t(n));
        return text;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool waited_ = false;
};

inline RawOutcome runRaw(const std::string& program, const std::vector<std::string>& args,
                         const RawOptions& options = {})
{
    return RawProcess(program, args, options).wait();
}

// What a reader at the other end of a FIFO gets until the writer closes it, or within
// `timeout` when no writer comes (a program that replaced the FIFO instead of writing
// into it must fail the test, not hang it).
inline std::string readFifo(const std::string& path, std::chrono::milliseconds timeout = std::chrono::seconds(30))
{
    std::string bytes;
    // Non-blocking, so that opening does not wait for a writer that never comes; poll
    // reports neither data nor an end until a writer has been there.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return "<cannot open>";
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, int(left.count())) != 1) {
            bytes = "<no writer came>";
            break;
        }
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n > 0)
            bytes.append(buffer, size_t(n));
        else if (errno != EAGAIN && errno != EINTR)
            break;
    }
    ::close(fd);
    return bytes;
}
