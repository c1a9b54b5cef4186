// The "VCD の読み込み" dialog as a user meets it: the real modal dialog, driven with
// real keys, what it proposes for a new dump and what it remembers.
#include "storage/ByteSource.h"
#include "formats/VcdReader.h"
#include "formats/VcdTime.h"
#include "ui/dialogs/IntSpinField.h"
#include "ui/dialogs/uVcdImport.h"

#include "WidgetTestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace solvena;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::function<void(TfrmVcdImport&)>)

namespace {

const std::string kHeader = R"($timescale 1ps $end
$scope module counter_tb $end
$var wire 4 ! count [3:0] $end
$var reg 1 " clk $end
$var reg 1 # rst $end
$var wire 100 % wide [99:0] $end
$scope module dut $end
$var wire 1 " clk $end
$var wire 1 # rst $end
$var reg 4 $ count [3:0] $end
$upscope $end
$upscope $end
$enddefinitions $end
)";

VcdHeader counterHeader()
{
    MemorySource source(kHeader);
    VcdReader reader(source);
    if (!reader.readHeader()) qFatal("the test's header does not read");
    return reader.header();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void type(const QString& text)
{
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// Runs `act` on the dialog once its own event loop runs.
void whenShown(std::function<void(TfrmVcdImport&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<TfrmVcdImport*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        act(*dialog);
        // A check that failed inside `act` must not leave the test waiting on the dialog.
        if (dialog->isVisible()) dialog->reject();
    });
}

QStringList checkedPaths(const TfrmVcdImport& dialog)
{
    QStringList paths;
    for (const std::string& name : dialog.choices().signalNames) paths << QString::fromStdString(name);
    return paths;
}

}  // namespace

class VcdImportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void aNewDumpProposesItsOneBitSignalsAndItsClock()
    {
        const VcdHeader header = counterHeader();
        TfrmVcdImport dialog(header, TfrmVcdImport::firstChoices(header));
        QCOMPARE(dialog.windowTitle(), u"VCD の読み込み"_s);
        // The aliases under dut are the same signals as the testbench's own.
        QCOMPARE(checkedPaths(dialog), (QStringList{u"counter_tb.clk"_s, u"counter_tb.rst"_s}));
        QVERIFY(dialog.rdoClock->isChecked());
        QCOMPARE(dialog.cmbClock->currentText(), u"counter_tb.clk"_s);
        QCOMPARE(dialog.cmbClock->count(), 4);
        QVERIFY(!dialog.edtStep->isEnabled());
        QCOMPARE(dialog.lblSize->text(), u"2 信号 × 99 ステップ（0s から、counter_tb.clk のエッジごと）"_s);
        QVERIFY(dialog.btnOK->isEnabled());
    }

    void keysChooseTheSignalsAndTheDialogRemembersThem()
    {
        const VcdHeader header = counterHeader();
        QTemporaryDir dir;
        const QString path = dir.filePath(u"run.vcd"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        VcdChoiceMemory memory;

        whenShown([](TfrmVcdImport& dialog) {
            press(Qt::Key_Space);                                  // count, the first signal
            // A button's mnemonic clicks it as a user sees it pressed: a moment later.
            QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier);  // split it into bits
            QTRY_VERIFY(dialog.chkSplit->isChecked());
            QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);  // a time step instead of the clock
            QTRY_VERIFY(dialog.rdoStep->isChecked());
            press(Qt::Key_Tab);
            type(u"2.5ns"_s);
            QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
            type(u"10 ns"_s);
            QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
            type(u"40"_s);
            QCOMPARE(dialog.lblSize->text(), u"6 信号 × 40 ステップ（10ns から、2500ps 刻み）"_s);
            press(Qt::Key_Return);
        });
        const std::optional<VcdChoices> chosen = askVcdChoices(nullptr, path, header, memory);
        QVERIFY(chosen);
        VcdChoices expected;
        expected.signalNames = {"counter_tb.count[*]", "counter_tb.clk", "counter_tb.rst"};
        expected.stepFemtoseconds = 2'500'000;
        expected.startFemtoseconds = 10'000'000;
        expected.steps = 40;
        QCOMPARE(*chosen, expected);

        // The same file by another name opens with those choices; Escape keeps them.
        const QString samePath = dir.filePath(u"sub/../run.vcd"_s);
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        whenShown([](TfrmVcdImport& dialog) {
            QCOMPARE(checkedPaths(dialog),
                     (QStringList{u"counter_tb.count[*]"_s, u"counter_tb.clk"_s, u"counter_tb.rst"_s}));
            QVERIFY(dialog.rdoStep->isChecked());
            QCOMPARE(dialog.edtStep->text(), u"2500ps"_s);
            QCOMPARE(dialog.edtStart->text(), u"10ns"_s);
            QCOMPARE(dialog.edtSteps->value(), 40);
            press(Qt::Key_Down);   // clk
            press(Qt::Key_Space);  // unchecked, then given up on
            press(Qt::Key_Escape);
        });
        QVERIFY(!askVcdChoices(nullptr, samePath, header, memory));
        QCOMPARE(memory.recall(path), std::optional<VcdChoices>(expected));
    }

    void theFilterHidesOtherNamesAndKeepsTheirChecks()
    {
        const VcdHeader header = counterHeader();
        TfrmVcdImport dialog(header, TfrmVcdImport::firstChoices(header));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.edtFilter->setFocus();
        QTest::keyClicks(dialog.edtFilter, u"DUT"_s);
        QStringList shown;
        for (QTreeWidgetItemIterator it(dialog.tvwSignals, QTreeWidgetItemIterator::NotHidden); *it; ++it)
            shown << (*it)->text(0);
        QCOMPARE(shown, (QStringList{u"counter_tb"_s, u"dut"_s, u"clk"_s, u"rst"_s, u"count [3:0]"_s}));
        QCOMPARE(checkedPaths(dialog), (QStringList{u"counter_tb.clk"_s, u"counter_tb.rst"_s}));
        QTest::keyClicks(dialog.edtFilter, u"zzz"_s);
        QCOMPARE(QTreeWidgetItemIterator(dialog.tvwSignals, QTreeWidgetItemIterator::NotHidden).operator*(), nullptr);
    }

    void okWaitsForChoicesTheChartCanBeMadeOf_data()
    {
        QTest::addColumn<std::function<void(TfrmVcdImport&)>>("change");
        QTest::addColumn<QString>("says");
        const auto field = [](QLineEdit* const TfrmVcdImport::*edit, const QString& text) {
            return std::function<void(TfrmVcdImport&)>([edit, text](TfrmVcdImport& d) {
                (d.*edit)->setFocus();
                type(text);
            });
        };
        const auto stepTyped = [](const QString& text) {
            return std::function<void(TfrmVcdImport&)>([text](TfrmVcdImport& d) {
                d.rdoStep->click();
                d.edtStep->setFocus();
                type(text);
            });
        };
        QTest::newRow("start without a unit") << field(&TfrmVcdImport::edtStart, u"12"_s) << u"開始時刻: 時間に単位がありません"_s;
        QTest::newRow("start between ticks") << field(&TfrmVcdImport::edtStart, u"1500fs"_s)
                                             << u"開始時刻はダンプの時間の単位 1ps の整数倍にしてください"_s;
        QTest::newRow("step of zero") << stepTyped(u"0ns"_s) << u"時間刻みは 0 より長くしてください"_s;
        QTest::newRow("step in an unknown unit") << stepTyped(u"3 min"_s) << u"時間刻み: 時間の単位は"_s;
        QTest::newRow("no signal") << std::function<void(TfrmVcdImport&)>([](TfrmVcdImport& d) {
            for (QTreeWidgetItemIterator it(d.tvwSignals); *it; ++it)
                if ((*it)->flags() & Qt::ItemIsUserCheckable) (*it)->setCheckState(0, Qt::Unchecked);
        }) << u"取り込む信号を選んでください"_s;
        QTest::newRow("100 bits split") << std::function<void(TfrmVcdImport&)>([](TfrmVcdImport& d) {
            d.tvwSignals->findItems(u"wide [99:0]"_s, Qt::MatchExactly | Qt::MatchRecursive).front()->setCheckState(
                0, Qt::Checked);
            d.chkSplit->click();
        }) << u"99 行を超えます"_s;
    }

    void okWaitsForChoicesTheChartCanBeMadeOf()
    {
        QFETCH(std::function<void(TfrmVcdImport&)>, change);
        QFETCH(QString, says);
        const VcdHeader header = counterHeader();
        TfrmVcdImport dialog(header, TfrmVcdImport::firstChoices(header));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(dialog.btnOK->isEnabled());
        change(dialog);
        QVERIFY2(dialog.lblSize->text().startsWith(says), qPrintable(dialog.lblSize->text()));
        QVERIFY(!dialog.btnOK->isEnabled());
        // Enter does not close a dialog whose OK is off.
        press(Qt::Key_Return);
        QVERIFY(dialog.isVisible());
    }
};

SOLVENA_WIDGET_TEST_MAIN(VcdImportDialogTest)
#include "VcdImportDialogTest.moc"
