#include "storage/PreferencesLocation.h"

#include "storage/NativePath.h"
#include "storage/PathExtension.h"
#include "storage/SystemFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

// The system decides (on Windows the toolkit would look at the read-only attribute
// alone); root passes its check on anything, so the owner's bit decides too.
bool writable(const QFileInfo& info)
{
    return mayWrite(nativePathBytes(info.absoluteFilePath()).toStdString()) &&
           info.permissions().testFlag(QFileDevice::WriteOwner);
}

QString userFolder(const QProcessEnvironment& environment)
{
    return pathFromNativeBytes(userPreferencesFolder([&environment](std::string_view name) {
        return nativePathBytes(environment.value(QString::fromUtf8(name.data(), qsizetype(name.size())))).toStdString();
    }));
}

}  // namespace

PreferencesFiles preferencesFiles(const QString& executablePath, const QProcessEnvironment& environment)
{
    const QString beside =
        QString::fromStdString(replaceExtension(executablePath.toStdString(), ".ini"));
    const QFileInfo entry(beside);
    const QString perUser = QDir::cleanPath(userFolder(environment) + u'/' + entry.fileName());
    // QFileInfo follows links for exists(): a dangling link is an entry all the same.
    if (!entry.exists() && !entry.isSymLink())
        return {writable(QFileInfo(entry.absolutePath())) ? beside : perUser, {}};

    // The whole chain of links, resolved; empty where it dangles or loops.
    const QString target = entry.canonicalFilePath();
    const QFileInfo resolved(target);
    if (target.isEmpty() || !resolved.isFile())
        return {perUser, {}};
    // The file is replaced through a temporary file beside it, so its folder must
    // take new files even where the file itself is writable.
    if (writable(resolved) && writable(QFileInfo(resolved.absolutePath())))
        return {beside, {}};
    return {perUser, beside};
}

PreferencesFiles preferencesFiles()
{
    return preferencesFiles(QCoreApplication::applicationFilePath(),
                            QProcessEnvironment::systemEnvironment());
}

}  // namespace solvena
