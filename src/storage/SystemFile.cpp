// What is the same on every system, over the parts that differ.
#include "storage/SystemFile.h"

namespace solvena {

FileBytes readRegularFile(const std::string& path, int64_t maxBytes)
{
    FileBytes read;
    read.error = readRegularFile(path, maxBytes, read.bytes, read.identity);
    if (!read.ok()) {
        read.bytes.clear();
        read.identity = {};
    }
    return read;
}

}  // namespace solvena
