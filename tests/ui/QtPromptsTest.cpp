// The real dialogs behind the prompts seam: what they show, and that the user's
// choice comes back.
#include "pictures/PictureFormats.h"
#include "ui/Application.h"
#include "ui/PicturePreview.h"
#include "ui/QtPrompts.h"

#include "WidgetTestMain.h"

#include <QAbstractItemView>
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
#include <QScopeGuard>

#include <cstdlib>
#include <functional>
#include <limits>

using namespace solvena;

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

    // The save-picture dialog: its one filter, and a preview of the picture under the
    // cursor, so that a file about to be replaced can be recognised.
    void savePictureDialogPreviewsTheFileUnderTheCursor_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("other");
        QTest::newRow("bitmap") << u"ビットマップ(*.bmp)|*.bmp"_s << u"bmp"_s << u"565 × 125"_s << u"1670 × 125"_s;
        QTest::newRow("metafile") << u"エンハンスド メタファイル (*.emf)|*.emf"_s << u"emf"_s << u"565 × 175"_s
                                  << u"1670 × 175"_s;
    }

    // The save-picture dialog: its one filter, and a preview of the file it opens with
    // and then of the file under the cursor, so that a picture about to be replaced
    // can be recognised.
    void savePictureDialogPreviewsTheFileUnderTheCursor()
    {
        QFETCH(QString, filter);
        QFETCH(QString, extension);
        QFETCH(QString, remembered);
        QFETCH(QString, other);
        QTemporaryDir dir;
        TCell chart;
        const PictureFormat format = extension == u"bmp"_s ? PictureFormat::Bmp : PictureFormat::Emf;
        GridLayout wide;
        setColCount(wide, 100);
        const QString old = dir.filePath(u"old."_s + extension);
        const ChartPicture narrowPicture{chart, GridLayout(), grid_defaults::headerFont(), false};
        const ChartPicture widePicture{chart, wide, grid_defaults::headerFont(), false};
        QVERIFY(writePictureFile(old, layOutPicture(narrowPicture, format)).empty());
        QVERIFY(writePictureFile(dir.filePath(u"wide."_s + extension), layOutPicture(widePicture, format)).empty());
        QtPrompts prompts(nullptr);
        // Remembered as typed, without its extension: the preview shows the file the
        // export writes, with it.
        FileDialogState state{filter, dir.filePath(u"old"_s), 1};

        const QString chosen = dir.filePath(u"wide."_s + extension);
        whenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
            // Whatever fails below, the dialog closes and the test goes on.
            const auto close = qScopeGuard([&] {
                if (dialog.isVisible())
                    dialog.reject();
            });
            QCOMPARE(fileTypes(dialog)->count(), 1);
            auto* preview = dialog.findChild<PicturePreview*>(u"picturePreview"_s);
            QVERIFY(preview && preview->isVisible());
            QCOMPARE(preview->sizeText(), remembered);
            auto* view = dialog.findChild<QAbstractItemView*>(u"treeView"_s);
            QVERIFY(view);
            QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) == 2);
            view->setFocus();
            view->keyboardSearch(u"wide"_s);
            QCOMPARE(preview->sizeText(), other);
            // Replacing the picture under the cursor.
            QTest::keyClick(fileName(dialog), Qt::Key_Return);
        });
        QVERIFY(prompts.savePicture(state));
        QCOMPARE(state.fileName, chosen);
        QCOMPARE(state.filterIndex, 1);
    }

    void metafilePreviewShowsOnlySizesAPictureCanHave_data()
    {
        constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
        constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
        QTest::addColumn<QList<int32_t>>("bounds");  // left, top, right, bottom, inclusive
        QTest::addColumn<QString>("size");
        QTest::newRow("a chart's") << QList<int32_t>{0, 0, 564, 174} << u"565 × 175"_s;
        QTest::newRow("the widest a size holds") << QList<int32_t>{0, -5, kMax - 1, 5} << u"2147483647 × 11"_s;
        QTest::newRow("every 32-bit column") << QList<int32_t>{kMin, 0, kMax, 10} << QString();
        QTest::newRow("one column beyond") << QList<int32_t>{-1, 0, kMax - 1, 0} << QString();
        QTest::newRow("every 32-bit row") << QList<int32_t>{0, kMin, 10, kMax} << QString();
        QTest::newRow("right of its right") << QList<int32_t>{5, 0, 4, 0} << QString();
    }

    // A metafile's header is read for its size only: the size of bounds no picture can
    // have (their width overflowed 32 bits) is not shown.
    void metafilePreviewShowsOnlySizesAPictureCanHave()
    {
        QFETCH(QList<int32_t>, bounds);
        QFETCH(QString, size);
        QByteArray header(88, '\0');
        auto put = [&](int at, int32_t value) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = char((uint32_t(value) >> (8 * i)) & 0xFF);
        };
        put(0, 1);  // EMR_HEADER
        put(4, 108);
        for (int i = 0; i < 4; ++i)
            put(8 + 4 * i, bounds[i]);
        put(40, 0x464D4520);  // " EMF"
        QTemporaryDir dir;
        QFile file(dir.filePath(u"crafted.emf"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(header) == header.size());
        file.close();
        PicturePreview preview;
        preview.show();
        preview.showFile(file.fileName());
        QCOMPARE(preview.sizeText(), size);
    }
};

SOLVENA_WIDGET_TEST_MAIN(QtPromptsTest)

#include "QtPromptsTest.moc"
