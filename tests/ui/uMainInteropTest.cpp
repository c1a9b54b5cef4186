// Charts leaving and entering the window in other forms: WaveJSON opened and written,
// and the chart put on the system clipboard as a picture.

#include "document/Document.h"
#include "pictures/PictureFormats.h"
#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

}  // namespace

class InteropTest : public QObject, WindowFixture {
    Q_OBJECT

private:
    QTemporaryDir dir;


private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // Opened through the Open dialog's third entry: a new chart, untitled and modified,
    // so that Save asks where to write it; what the chart cannot hold is named.
    void aWaveJsonFileOpensAsAnUntitledChart()
    {
        const QString path = dir.filePath(u"clock.json"_s);
        QVERIFY(writeTestFile(path, "{signal: [{name: 'CLK', wave: 'p..'}, {},"
                  " {name: 'DATA_OF_THE_MEMORY_CONTROLLER', wave: 'x=.0', data: ['a']}], config: {hscale: 2}}"));
        prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{path, 3});
        window->command(CommandId::actOpen)->trigger();

        // A clock makes every step two columns; the shorter clock keeps running.
        QCOMPARE(window->grid()->colCount(), 9);
        QCOMPARE(window->grid()->rowCount(), 4);
        QCOMPARE(document.signalName[1], std::string("CLK"));
        const int clock[] = {1, 0, 1, 0, 1, 0, 1, 0};
        const int data[] = {2, 2, 2, 2, 2, 2, 0, 0};
        for (int c = 1; c <= 8; ++c) {
            QCOMPARE(document.level[c][1], clock[c - 1]);
            QCOMPARE(document.level[c][2], 0);   // the spacer
            QCOMPARE(document.level[c][3], data[c - 1]);
        }
        // hscale widens the steps; the long name widens its column.
        QCOMPARE(window->grid()->colWidth(1), 30);
        QVERIFY(window->grid()->colWidth(0) > 80);
        QCOMPARE(window->windowTitle(), u"ソルベナエディタ - 無題"_s);
        QVERIFY(window->documentFileName().isEmpty());
        QVERIFY(modifiedFlag);
        QTRY_VERIFY(shownMessage().contains(u"データのラベル 1個"_s));

        prompts->saveAnswers.push_back(std::nullopt);
        window->command(CommandId::actSave)->trigger();
        QCOMPARE(prompts->asked(u"save"_s).size(), 1);
    }

    // A dump opens through the VCD dialog's choices, untitled and modified like WaveJSON;
    // Cancel in the dialog changes nothing.
    void aValueChangeDumpOpensThroughItsDialog()
    {
        const QString path = dir.filePath(u"run.vcd"_s);
        QVERIFY(writeTestFile(path, "$timescale 1ns $end\n$scope module tb $end\n"
                                    "$var wire 1 ! clk $end\n$var wire 1 \" rst $end\n"
                                    "$upscope $end\n$enddefinitions $end\n"
                                    "#0\n$dumpvars 0! 1\" $end\n#5\n1!\n#10\n0!\n0\"\n#15\n1!\n#20\n0!\n"));
        document.signalName[1] = "KEEP";
        prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{path, 4});
        prompts->vcdAnswers.push_back(std::nullopt);
        window->command(CommandId::actOpen)->trigger();
        QCOMPARE(prompts->asked(u"vcd"_s), QStringList{u"vcd|"_s + QFileInfo(path).canonicalFilePath()});
        QCOMPARE(document.signalName[1], std::string("KEEP"));
        QVERIFY(!modifiedFlag);

        VcdChoices choices;
        choices.stepFemtoseconds = 5'000'000;
        choices.steps = 4;
        prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{path, 1});   // the name says VCD
        prompts->vcdAnswers.push_back(choices);
        window->command(CommandId::actOpen)->trigger();
        QCOMPARE(window->grid()->colCount(), 5);
        QCOMPARE(document.signalName[1], std::string("clk"));
        const int clock[] = {0, 1, 0, 1};
        const int reset[] = {1, 1, 0, 0};
        for (int c = 1; c <= 4; ++c) {
            QCOMPARE(document.level[c][1], clock[c - 1]);
            QCOMPARE(document.level[c][2], reset[c - 1]);
        }
        QCOMPARE(window->windowTitle(), u"ソルベナエディタ - 無題"_s);
        QVERIFY(modifiedFlag);
    }

    void aRefusedWaveJsonFileChangesNothing()
    {
        const QString path = dir.filePath(u"bad.json"_s);
        QVERIFY(writeTestFile(path, "{signal: [{name: '😀', wave: '01'}]}"));
        document.signalName[1] = "KEEP";
        prompts->openAnswers.push_back(ScriptedPrompts::FileAnswer{path, 3});
        window->command(CommandId::actOpen)->trigger();

        QCOMPARE(prompts->asked(u"message"_s).size(), 1);
        QVERIFY(prompts->asked(u"message"_s)[0].contains(u"エラーです"_s));
        QCOMPARE(document.signalName[1], std::string("KEEP"));
        QCOMPARE(window->grid()->colCount(), 30);
        QVERIFY(!modifiedFlag);
    }

    // Written under the dialog's name with .json; the attributes WaveJSON cannot hold are
    // left out and named in one line.
    void theWaveJsonExportWritesLevelsAndNamesAndSaysWhatItLeavesOut()
    {
        document.signalName[1] = "CLK";
        document.level[2][1] = 1;
        document.delay[2][1] = 4;
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, 4); });
        window->changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 2); });
        prompts->saveAnswers.push_back(ScriptedPrompts::FileAnswer{dir.filePath(u"out.txt"_s), 1});
        window->command(CommandId::mnuOutWaveJson)->trigger();

        QCOMPARE(readTestFile(dir.filePath(u"out.json"_s)),
                 QByteArray("{\n  \"signal\": [\n    { \"name\": \"CLK\", \"wave\": \"010\" }\n  ]\n}\n"));
        QTRY_VERIFY(shownMessage().contains(u"遅延"_s));
        QVERIFY(!modifiedFlag);
    }

    // The system clipboard gets the exports' picture; the levels' clipboard is untouched.
    void copyAsPicturePutsThePngAndTheSvgOnTheClipboard()
    {
        clipboardBuffer = TCell{};
        clipboardBuffer.colCount = 2;
        clipboardBuffer.level[1][0] = 1;
        const TCell levelsBefore = clipboardBuffer;
        document.level[3][2] = 1;
        window->command(CommandId::actCopyPicture)->trigger();

        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QImage png;
        QVERIFY(png.loadFromData(mime->data(u"image/png"_s), "PNG"));
        const ChartPicture picture{document, window->grid()->layout(), chartFont, false};
        QCOMPARE(png.size(), bitmapPicture(layOutPicture(picture, PictureFormat::Png)).size());
        QCOMPARE(png.size(), QSize(565, 125));
        QXmlStreamReader svg(mime->data(u"image/svg+xml"_s));
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QVERIFY(clipboardBuffer == levelsBefore);
        QVERIFY(!modifiedFlag);
    }
};

SOLVENA_WIDGET_TEST_MAIN(InteropTest)
#include "uMainInteropTest.moc"
