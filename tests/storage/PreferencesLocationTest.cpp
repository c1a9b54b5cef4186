// Which preferences files the program uses, over real folders made read-only with
// chmod, as an installed program's would be (CI runs the tests as root), and real
// links: dangling, looping, and chains through another folder.
#include "storage/PreferencesLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

constexpr auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
constexpr auto kWritable = kReadOnly | QFileDevice::WriteOwner;

enum class Beside { Absent, WritableFile, ReadOnlyFile, Folder, DanglingLink, LinkLoop, ChainToWritable, ChainToReadOnly };

// A temporary install: the executable's folder "bin", maybe something in the
// preferences' place (links lead through "etc/middle.ini" to "etc/real.ini"), and an
// environment pointing at the per-user folders. `folderWritable` is that of the
// folder where the file ends: "etc" for a chain, "bin" otherwise.
struct InstallFolder {
    QTemporaryDir root;
    QString bin = root.filePath(u"bin"_s);
    QString etc = root.filePath(u"etc"_s);
    QString iniBeside = bin + u"/solvena.ini"_s;
    QString finalFolder;
    QProcessEnvironment environment;

    InstallFolder(Beside beside, bool folderWritable)
    {
        EXPECT_TRUE(QDir(root.path()).mkpath(u"bin"_s) && QDir(root.path()).mkpath(u"etc"_s));
        const bool chain = beside == Beside::ChainToWritable || beside == Beside::ChainToReadOnly;
        finalFolder = chain ? etc : bin;
        if (beside == Beside::Folder) {
            EXPECT_TRUE(QDir(bin).mkdir(u"solvena.ini"_s));
        }
        if (beside == Beside::DanglingLink) {
            EXPECT_TRUE(QFile::link(u"../etc/missing.ini"_s, iniBeside));
        }
        if (beside == Beside::LinkLoop) {
            EXPECT_TRUE(QFile::link(iniBeside, etc + u"/middle.ini"_s) && QFile::link(etc + u"/middle.ini"_s, iniBeside));
        }
        if (chain) {
            // One link relative, one absolute.
            EXPECT_TRUE(QFile::link(u"../etc/middle.ini"_s, iniBeside));
            EXPECT_TRUE(QFile::link(etc + u"/real.ini"_s, etc + u"/middle.ini"_s));
        }
        if (beside == Beside::WritableFile || beside == Beside::ReadOnlyFile || chain) {
            QFile file(chain ? etc + u"/real.ini"_s : iniBeside);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.close();
            const bool fileWritable = beside == Beside::WritableFile || beside == Beside::ChainToWritable;
            EXPECT_TRUE(file.setPermissions(fileWritable ? kWritable : kReadOnly));
        }
        EXPECT_TRUE(QFile::setPermissions(finalFolder, folderWritable ? kWritable : kReadOnly));
        environment.insert(u"HOME"_s, root.filePath(u"home"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, root.filePath(u"xdg"_s));
    }
    ~InstallFolder() { QFile::setPermissions(finalFolder, kWritable); }

    PreferencesFiles files() const { return preferencesFiles(bin + u"/solvena.bin"_s, environment); }
};

enum class Where { Beside, PerUser, PerUserOverBeside };

TEST(PreferencesLocation, BesideTheExecutableOnlyWhereItCanBeReplaced)
{
    const struct {
        Beside beside;
        bool folderWritable;
        Where expected;
    } cases[] = {
        {Beside::Absent, true, Where::Beside},
        {Beside::WritableFile, true, Where::Beside},
        {Beside::Absent, false, Where::PerUser},
        {Beside::ReadOnlyFile, true, Where::PerUserOverBeside},
        {Beside::WritableFile, false, Where::PerUserOverBeside},
        {Beside::Folder, true, Where::PerUser},
        {Beside::DanglingLink, true, Where::PerUser},
        {Beside::LinkLoop, true, Where::PerUser},
        {Beside::ChainToWritable, true, Where::Beside},
        {Beside::ChainToWritable, false, Where::PerUserOverBeside},
        {Beside::ChainToReadOnly, true, Where::PerUserOverBeside},
    };
    for (const auto& c : cases) {
        const InstallFolder setup(c.beside, c.folderWritable);
        const PreferencesFiles files = setup.files();
        const QString perUser = setup.root.filePath(u"xdg/solvena/solvena.ini"_s);
        EXPECT_EQ(files.file, c.expected == Where::Beside ? setup.iniBeside : perUser)
            << static_cast<int>(c.beside) << " folder writable " << c.folderWritable;
        EXPECT_EQ(files.defaults, c.expected == Where::PerUserOverBeside ? setup.iniBeside : QString())
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
        EXPECT_EQ(setup.files().file, setup.root.filePath(u"home/.config/solvena/solvena.ini"_s)) << xdg.toStdString();
    }
}

}  // namespace
