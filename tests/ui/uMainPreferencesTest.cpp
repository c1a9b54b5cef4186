// The view preferences file as the window reads it at creation and writes it at
// destruction, against real files, FIFOs and folders in a temporary folder.

#include "ui/ChartGrid.h"
#include "ui/CommandTable.h"
#include "ui/uMain.h"

#include "ScriptedPrompts.h"
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

// Scripted prompts that hand their log over when the window destroys them, so the
// error box of the window's last step can be checked.
class KeptPrompts : public ScriptedPrompts {
public:
    explicit KeptPrompts(QStringList& keep) : keep_(keep) {}
    ~KeptPrompts() override { keep_ = log; }

private:
    QStringList& keep_;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TfrmMain> window;
    QStringList promptLog;

    void open(const QString& path)
    {
        window = std::make_unique<TfrmMain>(std::make_unique<KeptPrompts>(promptLog), path);
    }
    QList<bool> checks() const
    {
        return {window->command(CommandId::mnuVertLine)->isChecked(),
                window->command(CommandId::mnuHorzLine)->isChecked(),
                window->command(CommandId::mnuTerminalRight)->isChecked()};
    }
    QList<bool> gridOptions() const
    {
        const GridLayout& layout = window->grid()->layout();
        return {layout.vertLines, layout.horzLines, layout.namesRightAligned};
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        promptLog.clear();
    }
    void cleanup()
    {
        window.reset();
        dir.reset();
    }

    void firstRunCreatesTheFileAndItsFolder()
    {
        // As in the per-user configuration folder, which may not exist yet.
        const QString path = dir->filePath(u"config/solvena/solvena.ini"_s);
        open(path);
        QCOMPARE(checks(), (QList<bool>{true, true, false}));
        QCOMPARE(gridOptions(), checks());
        window.reset();
        QCOMPARE(readFile(path), QByteArray("[View]\r\nVertLine=1\r\nHorzLine=1\r\nAlignRight=0\r\n"));
        QVERIFY(promptLog.isEmpty());
    }

    void readsTheOptionsAndWritesThemBackInPlace()
    {
        const QString path = dir->filePath(u"solvena.ini"_s);
        QVERIFY(writeFile(path, "; mine\n[Grid]\nRows=5\n\n[View]\nHorzLine=0\nVertLine=2\nAlignRight=yes\n[Z]\nA=1\n"));
        open(path);
        // "2" is on, text is the default.
        QCOMPARE(checks(), (QList<bool>{true, false, false}));
        QCOMPARE(gridOptions(), checks());
        window->command(CommandId::mnuTerminalRight)->trigger();
        // The file is written at the end only.
        QVERIFY(readFile(path).contains("AlignRight=yes"));
        window.reset();
        QCOMPARE(readFile(path),
                 QByteArray("; mine\n[Grid]\nRows=5\n\n[View]\nHorzLine=0\nVertLine=1\nAlignRight=1\n[Z]\nA=1\n"));
        QVERIFY(promptLog.isEmpty());
    }

    // What cannot be replaced stays as it was; the start is not held up and the end
    // says which file could not be written.
    void whatCannotBeWrittenIsKeptAndReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only file") << u"read-only"_s;
        QTest::newRow("FIFO") << u"fifo"_s;
        QTest::newRow("folder") << u"folder"_s;
    }
    void whatCannotBeWrittenIsKeptAndReported()
    {
        QFETCH(QString, kind);
        const QString path = dir->filePath(u"solvena.ini"_s);
        const QByteArray before = "[View]\r\nHorzLine=0\r\n";
        if (kind == u"read-only") {
            QVERIFY(writeFile(path, before));
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        } else if (kind == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(QDir(dir->path()).mkdir(u"solvena.ini"_s));
        }
        open(path);
        QCOMPARE(checks(), (QList<bool>{true, kind != u"read-only", false}));
        window.reset();

        QCOMPARE(promptLog.size(), 1);
        QVERIFY2(promptLog[0].startsWith(u"error|ソルベナエディタ|%1 に書き込めません: "_s.arg(path)),
                 qPrintable(promptLog[0]));
        const QFileInfo after(path);
        QCOMPARE(after.isFile(), kind == u"read-only");
        QCOMPARE(after.isDir(), kind == u"folder");
        if (kind == u"read-only")
            QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{u"solvena.ini"_s});
    }
};

SOLVENA_WIDGET_TEST_MAIN(PreferencesTest)

#include "uMainPreferencesTest.moc"
