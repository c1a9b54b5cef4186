#include "storage/PreferencesIO.h"

#include "storage/FileIO.h"
#include "storage/NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace solvena {

namespace {

// A preferences file is a few lines; far more is not one the program made.
constexpr qint64 kMaxPreferencesBytes = 1024 * 1024;

}  // namespace

std::optional<std::string> readPreferencesFile(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    const FileReadResult read = readFileBytes(path, kMaxPreferencesBytes);
    if (!read.ok())
        return std::nullopt;
    return read.bytes.toStdString();
}

Reason updatePreferencesFile(const QString& path, const std::function<std::string(std::string)>& change)
{
    std::string bytes;
    const QFileInfo file(path);
    const bool present = file.exists() || file.isSymLink();
    if (present) {
        const FileReadResult read = readFileBytes(path, kMaxPreferencesBytes);
        if (!read.ok())
            return read.error;
        bytes = read.bytes.toStdString();
    }
    bytes = change(std::move(bytes));
    if (!present && bytes.empty())
        return {};
    if (!QDir().mkpath(file.absolutePath()))
        return Reason(ReasonKind::CannotMakeFolder, {nativePathBytes(QDir::toNativeSeparators(file.absolutePath())).toStdString()});
    return writeFileAtomically(path, QByteArrayView(bytes));
}

}  // namespace solvena
