// The real file dialogs behind the prompts seam: the entry and name the user chose
// come back, and the dialog opens again showing them.
#include "ui/Application.h"
#include "ui/QtPrompts.h"

#include "WidgetTestMain.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
};

SOLVENA_WIDGET_TEST_MAIN(QtPromptsTest)

#include "QtPromptsTest.moc"
