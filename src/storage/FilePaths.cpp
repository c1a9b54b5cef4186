#include "storage/FilePaths.h"

#include <QDir>
#include <QFileInfo>

namespace solvena {

QString absoluteChartPath(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = QFileInfo(file.path()).canonicalFilePath();
    if (folder.isEmpty() || file.fileName().isEmpty())
        return file.absoluteFilePath();
    return QDir(folder).filePath(file.fileName());
}

QString fileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace solvena
