// The view preferences file as the window reads it at creation and writes it at
// destruction, against real files, a FIFO, a folder and links, and in the files an
// installed program's folders give it.

#include "storage/PreferencesLocation.h"
#include "ui/ChartGrid.h"
#include "ui/ScreenFit.h"
#include "ui/uMain.h"

#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

// Hands its log over when the window destroys it, with the error box of its last step.
class KeptPrompts : public ScriptedPrompts {
public:
    explicit KeptPrompts(QStringList& keep) : keep_(keep) {}
    ~KeptPrompts() override { keep_ = log; }

private:
    QStringList& keep_;
};

// Every file under `root` by its relative path: a file's bytes, a link's target.
using Tree = QMap<QString, QByteArray>;

Tree treeOf(const QString& root)
{
    const QDir base(root);
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink())
            tree[base.relativeFilePath(info.filePath())] = "-> " + base.relativeFilePath(info.symLinkTarget()).toUtf8();
        else if (info.isFile())
            tree[base.relativeFilePath(info.filePath())] = readTestFile(info.filePath());
    }
    return tree;
}

enum class Install { DanglingLink, Chain, ReadOnlyFile };

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path = dir.filePath(u"solvena.ini"_s);
    QStringList promptLog;

    std::unique_ptr<TfrmMain> open(const PreferencesFiles& files)
    {
        return std::make_unique<TfrmMain>(std::make_unique<KeptPrompts>(promptLog), WindowFiles{files, {}});
    }
    std::unique_ptr<TfrmMain> open() { return open({path, {}}); }
    static QList<bool> options(const TfrmMain& window)
    {
        const GridLayout& grid = window.grid()->layout();
        return {window.command(CommandId::mnuVertLine)->isChecked(), grid.vertLines,
                window.command(CommandId::mnuHorzLine)->isChecked(), grid.horzLines,
                window.command(CommandId::mnuTerminalRight)->isChecked(), grid.namesRightAligned};
    }

private slots:
    void cleanup()
    {
        const QFileInfo left(path);
        if (left.exists() || left.isSymLink())
            QVERIFY(left.isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
    }

    void readsTheOptionsAndWritesThemBackInPlace()
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("; mine\n[Grid]\nRows=5\n\n[View]\nHorzLine=0\nVertLine=2\nAlignRight=yes\n[Z]\nA=1\n");
        file.close();
        auto window = open();
        QCOMPARE(options(*window), (QList<bool>{true, true, false, false, false, false}));
        window->command(CommandId::mnuTerminalRight)->trigger();
        window.reset();
        QCOMPARE(readTestFile(path), "; mine\n[Grid]\nRows=5\n\n[View]\nHorzLine=0\nVertLine=1\nAlignRight=1\n[Z]\nA=1\n");
        QVERIFY(promptLog.isEmpty());
    }

    // The start is not held up and gets the defaults where it cannot read; what cannot
    // be replaced stays as it was, and the end names it.
    void whatCannotBeWrittenIsKeptAndReported_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("read-only file") << 0;
        QTest::newRow("FIFO") << 1;
        QTest::newRow("folder") << 2;
    }
    void whatCannotBeWrittenIsKeptAndReported()
    {
        QFETCH(int, kind);
        const QByteArray before = "[View]\r\nHorzLine=0\r\n";
        QFile file(path);
        if (kind == 0) {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
        }
        QVERIFY(kind != 1 || ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        QVERIFY(kind != 2 || QDir(dir.path()).mkdir(u"solvena.ini"_s));
        auto window = open();
        QCOMPARE(window->grid()->layout().horzLines, kind != 0);
        window.reset();
        QCOMPARE(promptLog.size(), 1);
        QVERIFY2(promptLog[0].startsWith(u"error|ソルベナエディタ|%1 に書き込めません: "_s.arg(path)), qPrintable(promptLog[0]));
        QCOMPARE(QFileInfo(path).isFile(), kind == 0);
        if (kind == 0)
            QCOMPARE(readTestFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{u"solvena.ini"_s});
    }

    // An installed program's folders: "bin" with the executable and what lies beside
    // it, "etc" where links lead, and the per-user "xdg". The option the file beside
    // gives holds at start, the one changed is kept, no error box comes, and a second
    // start finds both.
    void keptWhereTheNextStartReadsThem_data()
    {
        QTest::addColumn<Install>("install");
        QTest::addColumn<bool>("horzLines");
        QTest::addColumn<Tree>("after");
        QTest::newRow("dangling link") << Install::DanglingLink << true
            << Tree{{u"bin/solvena.ini"_s, "-> etc/missing.ini"},
                    {u"xdg/solvena/solvena.ini"_s, "[View]\r\nVertLine=1\r\nHorzLine=1\r\nAlignRight=1\r\n"}};
        QTest::newRow("chain of links") << Install::Chain << false
            << Tree{{u"bin/solvena.ini"_s, "-> etc/middle.ini"}, {u"etc/middle.ini"_s, "-> etc/real.ini"},
                    {u"etc/real.ini"_s, "[View]\nHorzLine=0\nVertLine=1\nAlignRight=1\n"}};
        QTest::newRow("read-only file") << Install::ReadOnlyFile << false
            << Tree{{u"bin/solvena.ini"_s, "[View]\nHorzLine=0\nAlignRight=0\n"},
                    {u"xdg/solvena/solvena.ini"_s, "[View]\r\nVertLine=1\r\nAlignRight=1\r\n"}};
    }
    void keptWhereTheNextStartReadsThem()
    {
        QFETCH(Install, install);
        QFETCH(bool, horzLines);
        QFETCH(Tree, after);
        const QTemporaryDir root;
        const QString bin = root.filePath(u"bin"_s);
        const QString beside = bin + u"/solvena.ini"_s;
        QVERIFY(QDir(root.path()).mkpath(u"bin"_s) && QDir(root.path()).mkpath(u"etc"_s));
        switch (install) {
        case Install::DanglingLink:
            QVERIFY(QFile::link(u"../etc/missing.ini"_s, beside));
            break;
        case Install::Chain:
            QVERIFY(QFile::link(u"../etc/middle.ini"_s, beside));
            QVERIFY(QFile::link(root.filePath(u"etc/real.ini"_s), root.filePath(u"etc/middle.ini"_s)));
            QVERIFY(writeTestFile(root.filePath(u"etc/real.ini"_s), "[View]\nHorzLine=0\n"));
            break;
        case Install::ReadOnlyFile:
            QVERIFY(writeTestFile(beside, "[View]\nHorzLine=0\nAlignRight=0\n"));
            QVERIFY(QFile::setPermissions(beside, QFileDevice::ReadOwner | QFileDevice::ReadOther));
            break;
        }
        QProcessEnvironment environment;
        environment.insert(u"XDG_CONFIG_HOME"_s, root.filePath(u"xdg"_s));
        const PreferencesFiles files = preferencesFiles(bin + u"/solvena"_s, environment);

        auto window = open(files);
        QCOMPARE(options(*window), (QList<bool>{true, true, horzLines, horzLines, false, false}));
        window->command(CommandId::mnuTerminalRight)->trigger();
        window.reset();
        QCOMPARE(promptLog, QStringList());
        QCOMPARE(treeOf(root.path()), after);

        window = open(files);
        QCOMPARE(options(*window), (QList<bool>{true, true, horzLines, horzLines, true, true}));
        window.reset();
        QCOMPARE(promptLog, QStringList());
        QCOMPARE(treeOf(root.path()), after);
    }

    // Screens as (x, y, width, height) of their available areas, the primary first.
    void aKeptPlaceComesBackInsideTheScreens_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("placed");
        const QRect primary(0, 0, 1920, 1080);
        const QRect left(-1280, 0, 1280, 1024);
        QTest::newRow("that screen gone") << QRect(-1000, 200, 400, 300) << QList{primary} << QRect(760, 390, 400, 300);
        QTest::newRow("partly beyond the edges") << QRect(1800, -50, 400, 300) << QList{QRect(0, 32, 1920, 1048)}
                                                 << QRect(1520, 32, 400, 300);
        QTest::newRow("mostly on the second") << QRect(-500, 100, 600, 300) << QList{primary, left}
                                              << QRect(-600, 100, 600, 300);
        QTest::newRow("larger than the screen") << QRect(-50, -50, 3000, 2000) << QList{primary} << primary;
    }
    void aKeptPlaceComesBackInsideTheScreens()
    {
        QFETCH(QRect, saved);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, placed);
        QCOMPARE(fitToScreens(saved, screens), placed);
    }

    // The window's place as it closed comes back at the next start; one that the
    // screens of today cannot show comes back on the primary screen.
    void theWindowComesBackWhereItWas_data()
    {
        QTest::addColumn<QRect>("where");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("moved") << QRect(40, 50, 500, 300) << false;
        QTest::newRow("maximized") << QRect(30, 20, 600, 400) << true;
        QTest::newRow("on a monitor now gone") << QRect(5000, 60, 500, 300) << false;
    }
    void theWindowComesBackWhereItWas()
    {
        QFETCH(QRect, where);
        QFETCH(bool, maximized);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        auto window = open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->setGeometry(where);
        if (maximized)
            window->showMaximized();
        QApplication::processEvents();
        window->command(CommandId::actExit)->trigger();
        window.reset();

        window = open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->isMaximized(), maximized);
        QRect expected = where;
        if (!screen.contains(where))
            expected.moveCenter(screen.center());
        QCOMPARE(maximized ? window->normalGeometry() : window->geometry(), expected);
        QVERIFY(screen.contains(window->geometry()));
        window.reset();
        QVERIFY(promptLog.isEmpty());
    }
};

SOLVENA_WIDGET_TEST_MAIN(PreferencesTest)

#include "uMainPreferencesTest.moc"
