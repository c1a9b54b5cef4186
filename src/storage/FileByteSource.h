#pragma once
// A file read piece by piece, for the streaming readers: a regular file by path, or an
// open descriptor such as a pipe or standard input.

#include "storage/ByteSource.h"
#include "storage/SystemFile.h"

#include "text/Reason.h"

#include <QString>

#include <memory>
#include <string>

namespace solvena {

class FileByteSource final : public ByteSource {
public:
    // Opens a regular file. Folders, FIFOs, devices and sockets are refused without
    // being read (a FIFO is never waited on); `error` then says why.
    static std::unique_ptr<FileByteSource> open(const QString& path, Reason& error);
    // Reads a descriptor the caller opened and closes (a pipe, standard input).
    static std::unique_ptr<FileByteSource> fromDescriptor(int fd);

    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    size_t read(char* buffer, size_t capacity) override;
    Reason failure() const override { return failure_; }

private:
    FileByteSource(std::unique_ptr<InputFile> file, int fd) : file_(std::move(file)), fd_(fd) {}

    std::unique_ptr<InputFile> file_;  // a file by path, or
    int fd_;                           // the caller's descriptor
    Reason failure_;
};

}  // namespace solvena
