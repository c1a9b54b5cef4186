// The real dialogs behind the prompts seam: what they show, and that the user's
// choice comes back.
#include "ui/Application.h"
#include "ui/QtPrompts.h"

#include "WidgetTestMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `act` on the dialog once it is up and running its own event loop.
template <typename Dialog>
void whenDialogShows(std::function<void(Dialog&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
        // A check that failed inside `act` must not leave the test waiting on the dialog.
        if (dialog->isVisible())
            dialog->reject();
    });
}

QComboBox* fileTypes(QFileDialog& dialog)
{
    return dialog.findChild<QComboBox*>(u"fileTypeCombo"_s);
}

QLineEdit* fileName(QFileDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(u"fileNameEdit"_s);
}

}  // namespace

class QtPromptsTest : public QObject {
    Q_OBJECT

private slots:
    void fileDialogsBringBackAndRememberTheChoice_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("filter");
        QTest::newRow("save") << true << u"ソルベナファイル(*.sbn)|*.sbn|テキストファイル(*.txt)|*.txt"_s;
        QTest::newRow("open") << false << u"ソルベナファイル（*.sbn）|*.sbn|テキストファイル（*.txt）|*.txt"_s;
    }

    void fileDialogsBringBackAndRememberTheChoice()
    {
        QFETCH(bool, save);
        QFETCH(QString, filter);
        QTemporaryDir dir;
        QtPrompts prompts(nullptr);
        FileDialogState state{filter, {}, 1};
        const auto run = [&] { return save ? prompts.saveFile(state) : prompts.openFile(state); };

        // The second entry chosen, a name of the other type typed, OK.
        const QString typed = dir.filePath(u"saved.sbn"_s);
        whenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(fileTypes(dialog)->count(), 2);
            fileTypes(dialog)->setCurrentIndex(1);
            fileName(dialog)->setText(typed);
            QTest::keyClick(fileName(dialog), Qt::Key_Return);
        });
        QVERIFY(run());
        QCOMPARE(state.filterIndex, 2);
        QCOMPARE(state.fileName, typed);

        // Opened again, the dialog shows that entry and that name; cancelling keeps both.
        whenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(fileTypes(dialog)->currentIndex(), 1);
            QCOMPARE(fileName(dialog)->text(), u"saved.sbn"_s);
            QCOMPARE(dialog.directory().absolutePath(), dir.path());
            dialog.reject();
        });
        QVERIFY(!run());
        QCOMPARE(state.filterIndex, 2);
        QCOMPARE(state.fileName, typed);
    }

    void inputBoxOffersTheTextAndBringsBackTheEntry()
    {
        QtPrompts prompts(nullptr);
        whenDialogShows<QInputDialog>([](QInputDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), u"列の横幅設定"_s);
            QCOMPARE(dialog.labelText(), u"列の横幅を入力してください"_s);
            auto* field = dialog.findChild<QLineEdit*>();
            QCOMPARE(field->text(), u"15"_s);
            field->selectAll();
            QTest::keyClicks(field, u"20"_s);
            QTest::keyClick(field, Qt::Key_Return);
        });
        QCOMPARE(prompts.inputBox(u"列の横幅設定"_s, u"列の横幅を入力してください"_s, u"15"_s),
                 std::optional<QString>(u"20"_s));
    }

    // The program's fonts name faces by their Windows names and sizes in pixels; the
    // dialog must still open on the face and size they get, not on its list's first.
    void fontDialogStartsOnTheGivenFontAndBringsBackTheChoice()
    {
        QtPrompts prompts(nullptr);
        QFont initial(u"ＭＳ Ｐゴシック"_s);
        initial.setPixelSize(12);
        whenDialogShows<QFontDialog>([&](QFontDialog& dialog) {
            QCOMPARE(dialog.currentFont().family(), QFontInfo(initial).family());
            QCOMPARE(dialog.currentFont().pointSize(), 9);
            // A family clicked in the list, a size typed, OK.
            auto* families = dialog.findChildren<QListView*>().value(0);
            const QModelIndexList found =
                families->model()->match(families->model()->index(0, 0), Qt::DisplayRole, u"IPAGothic"_s, 1,
                                         Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            families->setCurrentIndex(found[0]);
            auto* size = dialog.findChildren<QLineEdit*>().value(2);
            size->selectAll();
            QTest::keyClicks(size, u"16"_s);
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        const std::optional<QFont> font = prompts.chooseFont(initial);
        QVERIFY(font);
        QCOMPARE(font->family(), u"IPAGothic"_s);
        QCOMPARE(font->pointSize(), 16);
    }
};

SOLVENA_WIDGET_TEST_MAIN(QtPromptsTest)

#include "QtPromptsTest.moc"
