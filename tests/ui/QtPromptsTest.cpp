// The real file dialogs behind the prompts seam: the entry and name the user chose
// come back, and the dialog opens again showing them.
#include "render/ChartExport.h"
#include "ui/Application.h"
#include "ui/PicturePreview.h"
#include "ui/QtPrompts.h"

#include "WidgetTestMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QScopeGuard>

#include <cstdlib>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `act` on the file dialog once it is up and running its own event loop.
void whenDialogShows(std::function<void(QFileDialog&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
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
        whenDialogShows([&](QFileDialog& dialog) {
            QCOMPARE(fileTypes(dialog)->count(), 2);
            fileTypes(dialog)->setCurrentIndex(1);
            fileName(dialog)->setText(typed);
            QTest::keyClick(fileName(dialog), Qt::Key_Return);
        });
        QVERIFY(run());
        QCOMPARE(state.filterIndex, 2);
        QCOMPARE(state.fileName, typed);

        // Opened again, the dialog shows that entry and that name; cancelling keeps both.
        whenDialogShows([&](QFileDialog& dialog) {
            QCOMPARE(fileTypes(dialog)->currentIndex(), 1);
            QCOMPARE(fileName(dialog)->text(), u"saved.sbn"_s);
            QCOMPARE(dialog.directory().absolutePath(), dir.path());
            dialog.reject();
        });
        QVERIFY(!run());
        QCOMPARE(state.filterIndex, 2);
        QCOMPARE(state.fileName, typed);
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
        QCOMPARE(savePictureFile(old, {chart, GridLayout(), grid_defaults::headerFont(), false}, format), QString());
        QCOMPARE(savePictureFile(dir.filePath(u"wide."_s + extension), {chart, wide, grid_defaults::headerFont(), false},
                                 format),
                 QString());
        QtPrompts prompts(nullptr);
        // Remembered as typed, without its extension: the preview shows the file the
        // export writes, with it.
        FileDialogState state{filter, dir.filePath(u"old"_s), 1};

        const QString chosen = dir.filePath(u"wide."_s + extension);
        whenDialogShows([&](QFileDialog& dialog) {
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
};

SOLVENA_WIDGET_TEST_MAIN(QtPromptsTest)

#include "QtPromptsTest.moc"
