#pragma once
// The hidden file a write fills before it is renamed into place, and the signals that
// must not leave it behind or end the program in the middle of writing.

#include <string>

namespace solvena {

// Called once at start by each program, before anything is written. On POSIX, SIGXFSZ
// is ignored, so that a write beyond the file-size limit (ulimit -f) fails with EFBIG and
// is reported like a full disk instead of ending the program; SIGINT, SIGTERM, SIGHUP and
// SIGQUIT remove the temporary file of any write in progress and then end the program
// as they would have (a signal the program was started with ignored stays ignored). On
// Windows, Ctrl+C, Ctrl+Break and the closing of the console remove it before the
// program ends as it would have.
void installFileSignalHandling();

#ifndef _WIN32

// A new file made from a mkostemp pattern ("dir/.nameXXXXXX"), removed when this goes
// unless kept, and removed by the signals above when they end the program first.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string pattern);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }      // -1 when it could not be made
    int error() const { return error_; }  // errno of the failure to make it
    const std::string& path() const { return path_; }
    // Closes now and reports the result: a delayed write error may only show here.
    int close();
    // The file has been renamed into place: it is no longer temporary.
    void keep();

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    int slot_ = -1;
};

#else

// A new file "<folder>\.solvena-XXXXXX" (a free name found for the X), open for writing
// alone, removed when this goes unless kept, and removed by the console's Ctrl+C and
// close events when they end the program first.
class TemporaryFile {
public:
    // `folder` in UTF-16, with its separator at the end.
    explicit TemporaryFile(const std::wstring& folder);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void* handle() const { return handle_; }  // INVALID_HANDLE_VALUE when it could not be made
    unsigned long error() const { return error_; }  // GetLastError of the failure to make it
    const std::wstring& path() const { return path_; }
    // Closes now and reports whether that succeeded: a delayed write error may only show here.
    bool close();
    // The file has been moved into place: it is no longer temporary.
    void keep();

private:
    std::wstring path_;
    void* handle_;
    unsigned long error_ = 0;
    int slot_ = -1;
};

#endif

}  // namespace solvena
