#include "storage/PreferencesLocation.h"

#include "storage/PathExtension.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// Root passes the system's check on anything, so the owner's bit decides too.
bool writable(const QFileInfo& info)
{
    return info.isWritable() && info.permissions().testFlag(QFileDevice::WriteOwner);
}

QString configHome(const QProcessEnvironment& environment)
{
    const QString xdg = environment.value(u"XDG_CONFIG_HOME"_s);
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    QString home = environment.value(u"HOME"_s);
    if (home.isEmpty())
        home = QDir::homePath();
    return home + u"/.config"_s;
}

}  // namespace

QString preferencesFilePath(const QString& executablePath, const QProcessEnvironment& environment)
{
    const QString beside =
        QString::fromStdString(replaceExtension(executablePath.toStdString(), ".ini"));
    // The file is replaced through a temporary file beside it, so its folder must
    // take new files even where the file itself is writable.
    const QFileInfo file(beside);
    if (writable(QFileInfo(file.absolutePath())) && (!file.exists() || (file.isFile() && writable(file))))
        return beside;
    return QDir::cleanPath(configHome(environment) + u"/solvena/"_s + file.fileName());
}

QString preferencesFilePath()
{
    return preferencesFilePath(QCoreApplication::applicationFilePath(),
                               QProcessEnvironment::systemEnvironment());
}
