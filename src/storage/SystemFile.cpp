// What is the same on every system, over the parts that differ.
#include "storage/SystemFile.h"

#include <algorithm>

namespace solvena {

namespace {

FileBytes readFailure(Reason reason)
{
    FileBytes read;
    read.error = std::move(reason);
    return read;
}

}  // namespace

FileBytes readRegularFile(const std::string& path, int64_t maxBytes)
{
    Reason error;
    const std::unique_ptr<InputFile> file = InputFile::open(path, error);
    if (!file)
        return readFailure(error);
    const std::optional<FileIdentity> opened = file->identity(error);
    if (!opened)
        return readFailure(error);
    if (opened->size > maxBytes)
        return readFailure(ReasonKind::FileTooLarge);

    // The size may change while reading; read to the end, but never past the cap. One
    // byte more than the size, so that the end shows without growing the buffer.
    const size_t cap = static_cast<size_t>(maxBytes);
    std::string bytes(static_cast<size_t>(opened->size) + 1, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > cap)
                return readFailure(ReasonKind::FileTooLarge);
            bytes.resize(std::min(bytes.size() * 2, cap + 1));
        }
        const size_t n = file->read(bytes.data() + filled, bytes.size() - filled, error);
        if (!error.empty())
            return readFailure(error);
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > cap)
        return readFailure(ReasonKind::FileTooLarge);
    bytes.resize(filled);
    // Taken after reading, so that a change while reading shows as a change later.
    const std::optional<FileIdentity> read = file->identity(error);
    if (!read)
        return readFailure(error);
    return {std::move(bytes), {}, *read};
}

}  // namespace solvena
