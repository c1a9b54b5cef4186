#include "storage/FileIO.h"

#include "storage/NativePath.h"
#include "storage/SystemFile.h"

#include <string_view>

namespace solvena {

namespace {

std::string nativePathOf(const QString& path)
{
    return nativePathBytes(path).toStdString();
}

}  // namespace

FileReadResult readFileBytes(const QString& path, qint64 maxBytes)
{
    FileReadResult read;
    read.error = readRegularFile(nativePathOf(path), maxBytes, read.bytes, read.identity);
    if (!read.ok())
        return {{}, read.error, {}};
    return read;
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
    return regularFileIdentity(nativePathOf(path));
}

Reason writeFileAtomically(const QString& path, QByteArrayView bytes, FileIdentity* written)
{
    return writeFileAtomically(
        path,
        [bytes](ByteSink& sink) { sink.write(std::string_view(bytes.data(), static_cast<size_t>(bytes.size()))); },
        written);
}

Reason writeFileAtomically(const QString& path, const std::function<void(ByteSink&)>& produce,
                           FileIdentity* written)
{
    return writeRegularFile(nativePathOf(path), produce, written, SpecialTargets::Refuse);
}

Reason writeOutputFile(const QString& path, const std::function<void(ByteSink&)>& produce)
{
    return writeRegularFile(nativePathOf(path), produce, nullptr, SpecialTargets::WriteThrough);
}

}  // namespace solvena
