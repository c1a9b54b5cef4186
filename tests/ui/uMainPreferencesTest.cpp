// The view preferences file as the window reads it at creation and writes it at
// destruction, against real files, a FIFO and a folder.

#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

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

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path = dir.filePath(u"solvena.ini"_s);
    QStringList promptLog;

    std::unique_ptr<TfrmMain> open()
    {
        return std::make_unique<TfrmMain>(std::make_unique<KeptPrompts>(promptLog), WindowFiles{path, {}});
    }
    static QList<bool> options(const TfrmMain& window)
    {
        const GridLayout& grid = window.grid()->layout();
        return {window.command(CommandId::mnuVertLine)->isChecked(), grid.vertLines,
                window.command(CommandId::mnuHorzLine)->isChecked(), grid.horzLines,
                window.command(CommandId::mnuTerminalRight)->isChecked(), grid.namesRightAligned};
    }

private slots:
    void cleanup() { QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path)); }

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
        QCOMPARE(window->grid()->horzLines(), kind != 0);
        window.reset();
        QCOMPARE(promptLog.size(), 1);
        QVERIFY2(promptLog[0].startsWith(u"error|ソルベナエディタ|%1 に書き込めません: "_s.arg(path)), qPrintable(promptLog[0]));
        QCOMPARE(QFileInfo(path).isFile(), kind == 0);
        if (kind == 0)
            QCOMPARE(readTestFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{u"solvena.ini"_s});
    }
};

SOLVENA_WIDGET_TEST_MAIN(PreferencesTest)

#include "uMainPreferencesTest.moc"
