// Which preferences file the program uses, over real folders made read-only with
// chmod, as an installed program's would be (CI runs the tests as root).
#include "storage/PreferencesLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
constexpr auto kWritable = kReadOnly | QFileDevice::WriteOwner;

enum class Beside { Absent, WritableFile, ReadOnlyFile, Folder };

// A temporary install: the executable's folder, maybe a file in the preferences'
// place, and an environment pointing at the per-user folders.
struct InstallFolder {
    QTemporaryDir root;
    QString bin = root.filePath(u"bin"_s);
    QString iniBeside = bin + u"/solvena.ini"_s;
    QProcessEnvironment environment;

    InstallFolder(Beside beside, bool folderWritable)
    {
        EXPECT_TRUE(QDir(root.path()).mkpath(u"bin"_s));
        if (beside == Beside::Folder) {
            EXPECT_TRUE(QDir(bin).mkdir(u"solvena.ini"_s));
        }
        if (beside == Beside::WritableFile || beside == Beside::ReadOnlyFile) {
            QFile file(iniBeside);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.close();
            EXPECT_TRUE(file.setPermissions(beside == Beside::WritableFile ? kWritable : kReadOnly));
        }
        EXPECT_TRUE(QFile::setPermissions(bin, folderWritable ? kWritable : kReadOnly));
        environment.insert(u"HOME"_s, root.filePath(u"home"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, root.filePath(u"xdg"_s));
    }
    ~InstallFolder() { QFile::setPermissions(bin, kWritable); }

    QString path() const { return preferencesFilePath(bin + u"/solvena.bin"_s, environment); }
};

TEST(PreferencesLocation, BesideTheExecutableOnlyWhereItCanBeReplaced)
{
    const struct {
        Beside beside;
        bool folderWritable;
        bool expectBeside;
    } cases[] = {
        {Beside::Absent, true, true},         {Beside::WritableFile, true, true},
        {Beside::Absent, false, false},       {Beside::ReadOnlyFile, true, false},
        {Beside::WritableFile, false, false}, {Beside::Folder, true, false},
    };
    for (const auto& c : cases) {
        const InstallFolder setup(c.beside, c.folderWritable);
        EXPECT_EQ(setup.path(), c.expectBeside ? setup.iniBeside : setup.root.filePath(u"xdg/solvena/solvena.ini"_s))
            << static_cast<int>(c.beside) << " folder writable " << c.folderWritable;
    }
}

TEST(PreferencesLocation, HomeConfigWhenXdgConfigHomeIsUnsetEmptyOrRelative)
{
    InstallFolder setup(Beside::Absent, false);
    for (const QString& xdg : {QString(), u""_s, u"relative/xdg"_s}) {
        if (xdg.isNull())
            setup.environment.remove(u"XDG_CONFIG_HOME"_s);
        else
            setup.environment.insert(u"XDG_CONFIG_HOME"_s, xdg);
        EXPECT_EQ(setup.path(), setup.root.filePath(u"home/.config/solvena/solvena.ini"_s)) << xdg.toStdString();
    }
}

}  // namespace
