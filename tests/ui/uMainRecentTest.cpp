// The recent files' submenu and files dropped onto the window, against a real
// preferences file, real chart files and folders, and real drag events.

#include "document/Document.h"
#include "ui/uMain.h"

#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

Q_DECLARE_METATYPE(Prompts::Answer)

namespace {

const QByteArray kChart = "80 0 15 0 15 1\r\nCLK\r\n0 0 0 1 0 0";
const QString kQuestion = u"confirm|確認|現在の状態を保存しますか？"_s;

QString titleOf(const QString& path)
{
    return u"ソルベナエディタ - "_s + (path.isEmpty() ? u"無題"_s : path);
}

}  // namespace

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
            writeTestFile(path, kChart);
        return path;
    }

    static void openThroughDialog(TfrmMain& w, ScriptedPrompts& p, const QString& path)
    {
        p.openAnswers.push_back(ScriptedPrompts::FileAnswer{path, 1});
        w.command(CommandId::actOpen)->trigger();
    }

    // The submenu as the user sees it when it opens; "-" for its separator.
    static QStringList entries(TfrmMain& w)
    {
        QMenu* recent = w.menu("mnuRecent");
        emit recent->aboutToShow();
        QStringList texts;
        for (QAction* a : recent->actions())
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

    static void choose(TfrmMain& w, int entry) { w.menu("mnuRecent")->actions().at(entry)->trigger(); }

    // Drags `paths` onto the window and drops them: whether the window took the drag.
    bool drop(const QStringList& paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        mime.setUrls(urls);
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        dropped.setAccepted(false);
        QApplication::sendEvent(window.get(), &dropped);
        // The file opens once the drop has returned.
        QApplication::processEvents();
        return enter.isAccepted() && dropped.isAccepted();
    }

private slots:
    void init()
    {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        ini = dir->filePath(u"solvena.ini"_s);
        window = openWindow(prompts);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        if (prompts)
            QVERIFY2(prompts->unexpected.isEmpty(), qPrintable(prompts->unexpected.join(u' ')));
        window.reset();
        dir.reset();
    }

    // Opened and saved files alike, newest first, each once, eight at most; the
    // preferences file keeps them in a section of their own beside the other lines.
    void listsTheLastEightOpenedOrSavedNewestFirst()
    {
        QVERIFY(writeTestFile(ini, "; mine\n[View]\nHorzLine=0\n"));
        QStringList paths;
        for (int i = 0; i < 9; ++i)
            paths << chart(u"c%1%2.sbn"_s.arg(i).arg(i == 4 ? u"&" : u""));
        for (int i = 0; i < 8; ++i)
            openThroughDialog(*window, *prompts, paths[i]);
        prompts->saveAnswers.push_back(ScriptedPrompts::FileAnswer{paths[8], 1});
        window->command(CommandId::mnuSaveAs)->trigger();
        openThroughDialog(*window, *prompts, paths[2]);
        QCOMPARE(entries(*window), listed({paths[2], paths[8], paths[7], paths[6], paths[5], paths[4], paths[3], paths[1]}));
        const QByteArray file = readTestFile(ini);
        QVERIFY2(file.startsWith("; mine\n[View]\nHorzLine=0\n[Recent]\nFile1=" + paths[2].toUtf8() + "\n"), file.constData());
        QVERIFY(!file.contains("File9"));

        const QStringList fileMenu = [&] {
            QStringList names;
            for (QAction* a : window->menu("mnuFile")->actions())
                names << (a->isSeparator() ? u"-"_s : a->objectName());
            return names;
        }();
        QCOMPARE(fileMenu.mid(1, 3), (QStringList{u"actOpen"_s, u"mnuRecent"_s, u"-"_s}));
        QCOMPARE(fileMenu.mid(fileMenu.indexOf(u"mnuPrintPreview"_s), 2),
                 (QStringList{u"mnuPrintPreview"_s, u"actPrint"_s}));
    }

    // An entry opens its file as Open does: the save question first while the chart
    // is modified, and Cancel opens nothing.
    void anEntryOpensItsFileAsOpenDoes_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("opens");
        QTest::newRow("No") << Answer::No << true;
        QTest::newRow("Cancel") << Answer::Cancel << false;
    }
    void anEntryOpensItsFileAsOpenDoes()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, opens);
        const QString first = chart(u"first.sbn"_s);
        const QString second = chart(u"second.sbn"_s);
        openThroughDialog(*window, *prompts, first);
        openThroughDialog(*window, *prompts, second);
        modifiedFlag = true;
        prompts->confirmAnswers.push_back(answer);
        entries(*window);
        choose(*window, 1);
        QCOMPARE(prompts->asked(u"confirm"_s), QStringList{kQuestion});
        QCOMPARE(window->windowTitle(), titleOf(opens ? first : second));
        QCOMPARE(modifiedFlag, !opens);
        QCOMPARE(entries(*window), listed(opens ? QStringList{first, second} : QStringList{second, first}));
    }

    void aVanishedFileIsReportedAndTakenOff()
    {
        const QString gone = chart(u"gone.sbn"_s);
        const QString kept = chart(u"kept.sbn"_s);
        openThroughDialog(*window, *prompts, gone);
        openThroughDialog(*window, *prompts, kept);
        QVERIFY(QFile::remove(gone));
        modifiedFlag = true;
        entries(*window);
        choose(*window, 1);
        QCOMPARE(prompts->log.mid(prompts->log.size() - 1),
                 QStringList{u"warning|警告|%1 が見つかりません。最近使ったファイルの一覧から外しました"_s.arg(gone)});
        QVERIFY(modifiedFlag);
        QCOMPARE(window->windowTitle(), titleOf(kept));
        QCOMPARE(entries(*window), listed({kept}));
        QVERIFY(!readTestFile(ini).contains("gone"));
    }

    void clearingEmptiesTheListAndKeepsTheRestOfTheFile()
    {
        QVERIFY(writeTestFile(ini, "[View]\r\nVertLine=0\r\n"));
        openThroughDialog(*window, *prompts, chart(u"a.sbn"_s));
        entries(*window);
        window->command(CommandId::mnuClearRecent)->trigger();
        QCOMPARE(entries(*window), (QStringList{u"-"_s, u"一覧を消去(&C)"_s}));
        QVERIFY(!window->command(CommandId::mnuClearRecent)->isEnabled());
        const QByteArray file = readTestFile(ini);
        QVERIFY2(file.startsWith("[View]\r\nVertLine=0\r\n") && !file.contains("File"), file.constData());
    }

    // Each editor changes the list the file holds at that moment, and the view options
    // one writes at its end leave the list the others made as it is.
    void editorsRunningTogetherShareTheList()
    {
        ScriptedPrompts* otherPrompts = nullptr;
        auto other = openWindow(otherPrompts);
        const QString a = chart(u"a.sbn"_s), b = chart(u"b.sbn"_s), c = chart(u"c.sbn"_s);
        openThroughDialog(*window, *prompts, a);
        openThroughDialog(*other, *otherPrompts, b);
        openThroughDialog(*window, *prompts, c);
        QCOMPARE(entries(*other), listed({c, b, a}));
        other->command(CommandId::mnuHorzLine)->trigger();
        other.reset();
        QCOMPARE(entries(*window), listed({c, b, a}));
        QVERIFY(readTestFile(ini).contains("HorzLine=0"));
    }

    // A folder where the file should be: the list lives on in the window, and the
    // line at the bottom says so once, not at every file opened.
    void aListThatCannotBeWrittenLivesOnInTheWindow()
    {
        QVERIFY(QDir(dir->path()).mkdir(u"solvena.ini"_s));
        const QString a = chart(u"a.sbn"_s), b = chart(u"b.sbn"_s);
        openThroughDialog(*window, *prompts, a);
        auto* bar = window->findChild<QStatusBar*>(u"messageBar"_s);
        QVERIFY(bar);
        QVERIFY2(bar->currentMessage().startsWith(u"最近使ったファイルの一覧を %1 に書き込めません: "_s.arg(ini)),
                 qPrintable(bar->currentMessage()));
        bar->clearMessage();
        openThroughDialog(*window, *prompts, b);
        QVERIFY(!window->findChild<QStatusBar*>(u"messageBar"_s));
        QCOMPARE(entries(*window), listed({b, a}));
        QVERIFY(QFileInfo(ini).isDir());
        QCOMPARE(prompts->asked(u"warning"_s) + prompts->asked(u"error"_s), QStringList());
    }

    // A drop opens as Open does (the save question first), one file of a format Open
    // takes at a time; what it cannot open is refused before the question.
    void dropsOpenOneFileOfAFormatOpenTakes_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("chart") << QStringList{u"drop.sbn"_s} << QString();
        QTest::newRow("text chart, upper case") << QStringList{u"DROP.TXT"_s} << QString();
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
        if (refusal.isEmpty()) {
            QCOMPARE(prompts->log, QStringList{kQuestion});
            QCOMPARE(window->windowTitle(), titleOf(paths[0]));
            QCOMPARE(entries(*window), listed({paths[0]}));
        } else {
            QCOMPARE(prompts->log, QStringList{u"warning|警告|"_s + refusal.replace(u"%1"_s, paths[0])});
            QCOMPARE(window->windowTitle(), titleOf({}));
        }
    }

    void noDropWhileADialogIsOpen()
    {
        QMessageBox box(QMessageBox::Information, u"ソルベナエディタ"_s, u"open"_s, QMessageBox::Ok, window.get());
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(!drop({chart(u"drop.sbn"_s)}));
        box.close();
        QApplication::processEvents();
        QCOMPARE(window->windowTitle(), titleOf({}));
        QVERIFY(prompts->log.isEmpty());
    }
};

SOLVENA_WIDGET_TEST_MAIN(RecentFilesTest)

#include "uMainRecentTest.moc"
