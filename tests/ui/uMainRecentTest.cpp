// The recent files' submenu and files dropped onto the window, against a real
// preferences file, real charts and folders, and real drag events.

#include "document/Document.h"
#include "ui/uMain.h"

#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class RecentFilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString ini;
    std::unique_ptr<TfrmMain> window;
    ScriptedPrompts* prompts = nullptr;

    std::unique_ptr<TfrmMain> openWindow(ScriptedPrompts*& scripted)
    {
        auto owned = std::make_unique<ScriptedPrompts>();
        scripted = owned.get();
        return std::make_unique<TfrmMain>(std::move(owned), WindowFiles{{ini, {}}, {}});
    }
    QString chart(const QString& name)
    {
        const QString path = dir->filePath(name);
        if (!QFile::exists(path))
            writeTestFile(path, "80 0 15 0 15 1\r\nCLK\r\n0 0 0 1 0 0");
        return path;
    }
    static void open(TfrmMain& w, ScriptedPrompts& p, const QString& path)
    {
        p.openAnswers.push_back(ScriptedPrompts::FileAnswer{path, 1});
        w.command(CommandId::actOpen)->trigger();
    }
    // The submenu as it opens, and the same as expected for `paths`.
    static QStringList entries(TfrmMain& w)
    {
        emit w.menu("mnuRecent")->aboutToShow();
        QStringList texts;
        for (QAction* a : w.menu("mnuRecent")->actions())
            texts << (a->isSeparator() ? u"-"_s : a->text());
        return texts;
    }
    static QStringList listed(const QStringList& paths)
    {
        QStringList texts;
        for (qsizetype i = 0; i < paths.size(); ++i)
            texts << u"&%1 %2"_s.arg(i + 1).arg(QString(paths[i]).replace(u'&', u"&&"_s));
        return texts << u"-"_s << u"一覧を消去(&C)"_s;
    }
    void choose(int entry)
    {
        entries(*window);
        window->menu("mnuRecent")->actions().at(entry)->trigger();
    }
    // Drags `paths` over the window and drops them: whether the window took them.
    bool drop(const QStringList& paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent dropped(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        dropped.setAccepted(false);
        QApplication::sendEvent(window.get(), &enter);
        QApplication::sendEvent(window.get(), &dropped);
        QApplication::processEvents();   // the file opens once the drop has returned
        return enter.isAccepted() && dropped.isAccepted();
    }
    QString title() const { return window->windowTitle().section(u" - "_s, 1); }

private slots:
    void init()
    {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        ini = dir->filePath(u"solvena.ini"_s);
        window = openWindow(prompts);
    }
    void cleanup()
    {
        QVERIFY2(prompts->unexpected.isEmpty(), qPrintable(prompts->unexpected.join(u' ')));
        window.reset();
    }

    // Opened and saved alike, newest first, once each, eight at most, in a section of
    // their own beside the file's other lines; an editor running beside sees them all.
    void listsTheLastEightOpenedOrSavedNewestFirst()
    {
        QVERIFY(writeTestFile(ini, "; mine\n[View]\nHorzLine=0\n"));
        ScriptedPrompts* otherPrompts = nullptr;
        auto other = openWindow(otherPrompts);
        QStringList c;
        for (int i = 0; i < 9; ++i)
            c << chart(u"c%1%2.sbn"_s.arg(i).arg(i == 4 ? u"&" : u""));
        for (int i = 0; i < 8; ++i)
            open(*window, *prompts, c[i]);
        prompts->saveAnswers.push_back(ScriptedPrompts::FileAnswer{c[8], 1});
        window->command(CommandId::mnuSaveAs)->trigger();
        open(*other, *otherPrompts, c[2]);
        other.reset();   // its view options written at the end keep the list
        QCOMPARE(entries(*window), listed({c[2], c[8], c[7], c[6], c[5], c[4], c[3], c[1]}));
        const QByteArray file = readTestFile(ini);
        QVERIFY(file.startsWith("; mine\n[View]\nHorzLine=0\n") && file.contains("\n[Recent]\nFile1=" + c[2].toUtf8() + "\n"));
    }

    // As Open: the save question first while the chart is modified, Cancel opens
    // nothing; a file that is gone is reported and taken off without the question.
    void anEntryOpensItsFileAsOpenDoes()
    {
        const QString first = chart(u"first.sbn"_s), second = chart(u"second.sbn"_s);
        open(*window, *prompts, first);
        open(*window, *prompts, second);
        for (const Answer answer : {Answer::Cancel, Answer::No}) {
            modifiedFlag = true;
            prompts->confirmAnswers.push_back(answer);
            choose(1);
            QCOMPARE(title(), answer == Answer::No ? first : second);
        }
        QVERIFY(QFile::remove(second));
        modifiedFlag = true;
        choose(1);
        QCOMPARE(prompts->asked(u"confirm"_s).size(), 2);
        QCOMPARE(prompts->log.last(), u"warning|警告|%1 が見つかりません。最近使ったファイルの一覧から外しました"_s.arg(second));
        QCOMPARE(entries(*window), listed({first}));
        window->command(CommandId::mnuClearRecent)->trigger();
        QCOMPARE(entries(*window), listed({}));
        QVERIFY(!readTestFile(ini).contains("File"));
    }

    void aGoneEntryOfBytesThatAreNoUtf8IsTakenOffToo()
    {
        QVERIFY(writeTestFile(ini, "[Recent]\nFile1=/nowhere/\xff.sbn\n"));
        choose(0);
        QCOMPARE(entries(*window), listed({}));
    }

    // A folder where the file should be: the window keeps the list, and says so once.
    void aListThatCannotBeWrittenLivesOnInTheWindow()
    {
        QVERIFY(QDir(dir->path()).mkdir(u"solvena.ini"_s));
        open(*window, *prompts, chart(u"a.sbn"_s));
        auto* bar = window->findChild<QStatusBar*>(u"messageBar"_s);
        QVERIFY(bar && bar->currentMessage().startsWith(u"最近使ったファイルの一覧を %1 に書き込めません: "_s.arg(ini)));
        bar->clearMessage();
        open(*window, *prompts, chart(u"b.sbn"_s));
        QVERIFY(!window->findChild<QStatusBar*>(u"messageBar"_s));
        QCOMPARE(entries(*window), listed({dir->filePath(u"b.sbn"_s), dir->filePath(u"a.sbn"_s)}));
    }

    // One file of a format Open takes opens as Open opens it; anything else is refused
    // before the save question.
    void dropsOpenOneFileOfAFormatOpenTakes_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("chart") << QStringList{u"DROP.TXT"_s} << QString();
        QTest::newRow("two charts") << QStringList{u"a.sbn"_s, u"b.sbn"_s} << u"開けるのは一度に 1 つのファイルだけです"_s;
        QTest::newRow("folder") << QStringList{u"folder.sbn"_s} << u"%1 はフォルダです。開けるのはファイルだけです"_s;
        QTest::newRow("picture") << QStringList{u"x.png"_s} << u"%1 は開ける形式のファイルではありません"_s;
    }
    void dropsOpenOneFileOfAFormatOpenTakes()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, refusal);
        QVERIFY(QDir(dir->path()).mkdir(u"folder.sbn"_s));
        QStringList paths;
        for (const QString& name : names)
            paths << chart(name);
        modifiedFlag = true;
        prompts->confirmAnswers.push_back(Answer::No);
        QVERIFY(drop(paths));
        const QString asked = refusal.isEmpty() ? u"confirm|確認|現在の状態を保存しますか？"_s
                                                : u"warning|警告|"_s + refusal.replace(u"%1"_s, paths[0]);
        QCOMPARE(prompts->log, QStringList{asked});
        QCOMPARE(title(), refusal.isEmpty() ? paths[0] : u"無題"_s);
    }

    void noDropWhileADialogIsOpen()
    {
        QMessageBox box(QMessageBox::Information, u"ソルベナエディタ"_s, u"open"_s, QMessageBox::Ok, window.get());
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(!drop({chart(u"drop.sbn"_s)}));
        QCOMPARE(title(), u"無題"_s);
    }
};

SOLVENA_WIDGET_TEST_MAIN(RecentFilesTest)

#include "uMainRecentTest.moc"
