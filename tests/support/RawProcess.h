#pragma once
// A built program run as a shell runs it: arguments as bytes (a name need not be
// UTF-8), a file-size limit, an environment and a standard output of the test's, and
// real signals while it runs. Linux only, as the conditions it makes are.

#include <chrono>
#include <csignal>
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

namespace solvena {

struct RawOutcome {
    int status = -1;  // exit status; -1 when ended by a signal
    int signal = 0;   // the signal that ended it
    std::string out;  // empty when standard output went elsewhere
    std::string err;
};

struct RawOptions {
    std::vector<std::pair<std::string, std::string>> environment;  // set over the test's own
    long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes; -1 for none
    int standardOutput = -1;  // a descriptor of the test's, instead of a caught one
    bool standardOutputClosed = false;  // started as "program >&-" starts it
};

class RawProcess {
public:
    RawProcess(std::string program, std::vector<std::string> args, const RawOptions& options = {})
    {
        // Everything is made before fork: the child only makes async-signal-safe calls.
        for (char** e = environ; *e; ++e) {
            bool replaced = false;
            for (const auto& [key, value] : options.environment)
                replaced = replaced || std::string(*e).starts_with(key + "=");
            if (!replaced)
                environment_.emplace_back(*e);
        }
        for (const auto& [key, value] : options.environment)
            environment_.push_back(key + "=" + value);
        args.insert(args.begin(), std::move(program));
        std::vector<char*> argv, envp;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        for (std::string& entry : environment_)
            envp.push_back(entry.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        const int out = options.standardOutput >= 0 ? options.standardOutput : out_;

        pid_ = ::fork();
        if (pid_ == 0) {
            if (options.standardOutputClosed)
                ::close(STDOUT_FILENO);
            else
                ::dup2(out, STDOUT_FILENO);
            ::dup2(err_, STDERR_FILENO);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            if (options.fileSizeLimit >= 0)
                limit.rlim_cur = rlim_t(options.fileSizeLimit);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_DFL);  // as a shell leaves it, whatever the test's is
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
    }
    ~RawProcess()
    {
        if (!waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }
    RawProcess(const RawProcess&) = delete;
    RawProcess& operator=(const RawProcess&) = delete;

    pid_t pid() const { return pid_; }

    bool running() const
    {
        siginfo_t info{};
        return ::waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
    }

    // Waits for the end; a program still running after a minute is killed.
    RawOutcome wait()
    {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline)
                ::kill(pid_, SIGKILL);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        waited_ = true;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
                contents(out_), contents(err_)};
    }

private:
    static std::string contents(int fd)
    {
        std::string text;
        char buffer[4096];
        ssize_t n;
        while ((n = ::pread(fd, buffer, sizeof buffer, off_t(text.size()))) > 0)
            text.append(buffer, size_t(n));
        return text;
    }

    std::vector<std::string> environment_;
    int out_ = ::memfd_create("out", MFD_CLOEXEC);
    int err_ = ::memfd_create("err", MFD_CLOEXEC);
    pid_t pid_ = -1;
    bool waited_ = false;
};

inline RawOutcome runRaw(const std::string& program, const std::vector<std::string>& args,
                         const RawOptions& options = {})
{
    return RawProcess(program, args, options).wait();
}

// What a reader at the other end of a FIFO gets until the writer closes it, or within
// 30 s when no writer comes: a program that replaced the FIFO instead of writing into
// it must fail the test, not hang it.
inline std::string readFifo(const std::string& path)
{
    // Non-blocking, so that opening does not wait; poll reports neither data nor an
    // end until a writer has been there.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::string bytes;
    pollfd ready{fd, POLLIN, 0};
    while (fd >= 0) {
        if (::poll(&ready, 1, 30000) != 1) {
            bytes = "<no writer came>";
            break;
        }
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            break;
        if (n > 0)
            bytes.append(buffer, size_t(n));
    }
    ::close(fd);
    return bytes;
}

}  // namespace solvena
