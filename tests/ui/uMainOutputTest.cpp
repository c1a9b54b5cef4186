// The output commands of the window with scripted dialogs against real files: the
// bitmap and metafile exports and the printout, which goes through a real QPrinter
// into a PDF file that poppler rasterises.

#include "document/Document.h"
#include "pictures/PictureFormats.h"
#include "ui/ChartGrid.h"
#include "ui/QtPrompts.h"
#include "ui/uMain.h"

#include "ProgramState.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WidgetTestMain.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <cerrno>
#include <memory>

using namespace solvena;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CommandId)

namespace {

uint32_t le32(const QByteArray& bytes, int at)
{
    return uint8_t(bytes[at]) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

// A picture file's size: a bitmap's from its header, a metafile's from its bounds.
QSize pictureFileSize(const QByteArray& bytes)
{
    if (bytes.startsWith("BM") && bytes.size() >= 54)
        return QSize(int(le32(bytes, 18)), int(le32(bytes, 22)));
    if (bytes.size() >= 108 && le32(bytes, 40) == 0x464D4520u)
        return QSize(int(le32(bytes, 16)) + 1, int(le32(bytes, 20)) + 1);
    return {};
}

// Rows of a greyscale page whose dark pixels form a run of at least `minRun`: the
// printed chart's horizontal lines, with where each run starts and ends.
struct PrintedLine {
    int y, left, right;
};
std::vector<PrintedLine> longLines(const QImage& page, int minRun)
{
    std::vector<PrintedLine> lines;
    for (int y = 0; y < page.height(); ++y) {
        int start = -1;
        for (int x = 0; x <= page.width(); ++x) {
            const bool dark = x < page.width() && qGray(page.pixel(x, y)) < 160;
            if (dark && start < 0)
                start = x;
            if (!dark && start >= 0) {
                if (x - start >= minRun)
                    lines.push_back({y, start, x - 1});
                start = -1;
            }
        }
    }
    return lines;
}

// Qt's real preview dialog on a printer that writes `pdf`; every other question scripted.
class PdfPreviewPrompts : public ScriptedPrompts {
public:
    PdfPreviewPrompts(QWidget* parent, QString pdf) : parent_(parent), pdf_(std::move(pdf)) {}

    void previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf_);
        QtPrompts(parent_).previewPrint(printer, paint);
    }

private:
    QWidget* parent_;
    QString pdf_;
};

}  // namespace

class OutputCommandsTest : public QObject, WindowFixture {
    Q_OBJECT

private:


    // Every signal low with a name, a pulse on signal 1.
    static void fillChart(int cols)
    {
        for (int r = 1; r < 5; ++r)
            document.signalName[r] = "SIG" + std::to_string(r);
        document.level[3][1] = 1;
        document.level[cols - 1][2] = 1;
        document.cellFlags[cols - 1][2] = kFlagFallingArrow;
    }

    // Prints through the window into a PDF file and rasterises it at `dpi`: the pages.
    QList<QImage> printToPdf(int dpi)
    {
        const QString pdf = path(u"printout.pdf"_s);
        prompts->printerAnswers.push_back(true);
        prompts->printerChoice = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        run(CommandId::actPrint);
        return rasterise(pdf, dpi);
    }

    QList<QImage> rasterise(const QString& pdf, int dpi)
    {
        const QString prefix = QFileInfo(pdf).completeBaseName();
        QProcess pdftoppm;
        pdftoppm.start(u"pdftoppm"_s, {u"-r"_s, QString::number(dpi), u"-gray"_s, u"-png"_s, pdf, path(prefix)});
        if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
            return {};
        QList<QImage> pages;
        for (const QString& name : QDir(dir->path()).entryList({prefix + u"-*.png"_s}, QDir::Files, QDir::Name))
            pages << QImage(path(name)).convertToFormat(QImage::Format_RGB32);
        return pages;
    }

private slots:
    void init()
    {
        makeFolder();
        openWindow();
    }

    void cleanup() { closeWindow(); }

    void exportsTheWholeChartWhateverTheWindowShows_data()
    {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("cols");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bitmap, start grid") << CommandId::mnuOutBitmap << u"chart"_s << u"chart.bmp"_s << 30 << QSize(565, 125);
        QTest::newRow("bitmap, other extension") << CommandId::mnuOutBitmap << u"chart.emf"_s << u"chart.bmp"_s << 30 << QSize(565, 125);
        QTest::newRow("bitmap, 100 columns") << CommandId::mnuOutBitmap << u"wide.x.bmp"_s << u"wide.x.bmp"_s << 100 << QSize(1670, 125);
        QTest::newRow("metafile, start grid") << CommandId::mnuOutMeta << u"chart"_s << u"chart.emf"_s << 30 << QSize(565, 175);
        QTest::newRow("metafile, 100 columns") << CommandId::mnuOutMeta << u"wide.bmp"_s << u"wide.emf"_s << 100 << QSize(1670, 175);
    }

    void exportsTheWholeChartWhateverTheWindowShows()
    {
        QFETCH(CommandId, command);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(int, cols);
        QFETCH(QSize, size);
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, cols); });
        fillChart(cols);
        // Scrolled to the far right: output still starts at the chart's top-left.
        window->grid()->horizontalScrollBar()->setValue(window->grid()->horizontalScrollBar()->maximum());
        const auto history = std::make_unique<TCell>(historySlots[5]);
        const int undo = undoCount;

        prompts->pictureAnswers.push_back(ScriptedPrompts::FileAnswer{path(typed)});
        run(command);

        const QString filter = command == CommandId::mnuOutBitmap ? u"ビットマップ(*.bmp)|*.bmp"_s
                                                                  : u"エンハンスド メタファイル (*.emf)|*.emf"_s;
        QCOMPARE(prompts->asked(u"picture"_s), QStringList{u"picture|"_s + filter + u'|'});
        QVERIFY2(prompts->asked(u"error"_s).isEmpty(), qPrintable(prompts->asked(u"error"_s).join(u'\n')));
        const QByteArray bytes = readTestFile(path(written));
        QCOMPARE(pictureFileSize(bytes), size);
        if (command == CommandId::mnuOutBitmap) {
            const ChartPicture picture{document, window->grid()->layout(), chartFont, false};
            const QImage drawn = chartImage(picture, QSize(size.width(), size.height() + 25));
            QCOMPARE(QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32),
                     drawn.copy(0, 25, size.width(), size.height()));
        }
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{written});
        QVERIFY(!modifiedFlag);
        QCOMPARE(undoCount, undo);
        QVERIFY(historySlots[5] == *history);
    }

    void copyAsPictureGivesOnePictureInEveryFlavour_data()
    {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<QSize>("size");
        QTest::newRow("start grid") << 30 << 5 << 25 << QSize(565, 125);
        QTest::newRow("tall rows, more signals") << 12 << 9 << 40 << QSize(295, 360);
    }

    // PNG, SVG and the toolkit's image are the bitmap export's picture: its size, the
    // header band cut away, its edges. Drawn, the SVG covers the PNG's lines exactly.
    void copyAsPictureGivesOnePictureInEveryFlavour()
    {
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(int, rowHeight);
        QFETCH(QSize, size);
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, cols); });
        window->changeGridLayout([&](GridLayout& layout) { setRowCount(layout, rows); });
        window->changeGridLayout([&](GridLayout& layout) { setDefaultRowHeight(layout, rowHeight); });
        // Lines along the pixel grid only (levels, edges, delays both ways, a timing
        // line), which a vector reader covers exactly.
        for (int c = 1; c < cols; ++c) {
            document.level[c][1] = c % 2;
            document.level[c][rows - 1] = c / 3 % 2;
            document.delay[c][rows - 1] = c % 6 == 0 ? 4 : c % 6 == 3 ? -3 : 0;
        }
        document.timingLine[2] = 1;
        run(CommandId::actCopyPicture);

        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QImage png;
        QVERIFY(png.loadFromData(mime->data(u"image/png"_s), "PNG"));
        QCOMPARE(png.size(), size);
        QCOMPARE(qvariant_cast<QImage>(mime->imageData()).size(), size);
        const QByteArray svg = mime->data(u"image/svg+xml"_s);
        QVERIFY2(svg.contains(u"<svg width=\"%1px\" height=\"%2px\""_s.arg(size.width()).arg(size.height()).toUtf8()),
                 svg.left(200).constData());
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.defaultSize(), size);
        QImage drawn(size, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter painter(&drawn);
            renderer.render(&painter);
        }
        const int names = window->grid()->layout().colWidths[0] + 1;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = names; x < size.width(); ++x) {
                const bool line = qGray(png.pixel(x, y)) < 128;
                if (line != (qGray(drawn.pixel(x, y)) < 128))
                    QFAIL(qPrintable(u"the SVG differs from the PNG at %1, %2"_s.arg(x).arg(y)));
            }
        }
    }

    void picturesDialogsKeepTheirNamesApartAndThroughNew()
    {
        prompts->pictureAnswers.push_back(ScriptedPrompts::FileAnswer{path(u"one"_s)});
        run(CommandId::mnuOutBitmap);
        run(CommandId::actNew);
        prompts->pictureAnswers.push_back(std::nullopt);
        run(CommandId::mnuOutMeta);
        QCOMPARE(prompts->lastPictureShown.fileName, QString());
        prompts->pictureAnswers.push_back(std::nullopt);
        run(CommandId::mnuOutBitmap);
        QCOMPARE(prompts->lastPictureShown.fileName, path(u"one"_s));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{u"one.bmp"_s});
    }

    void failuresShowTheErrorBoxAndWriteNothing_data()
    {
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such folder") << CommandId::mnuOutBitmap << 15 << u"missing/out"_s
                                        << u"を作成できません: "_s + qt_error_string(ENOENT) + u'.';
        QTest::newRow("too large, bitmap") << CommandId::mnuOutBitmap << 10000 << u"big"_s
                                           << u"を作成できません: 画像が大きすぎます (290130 × 125 ピクセル"_s;
    }

    void failuresShowTheErrorBoxAndWriteNothing()
    {
        QFETCH(CommandId, command);
        QFETCH(int, width);
        QFETCH(QString, file);
        QFETCH(QString, message);
        window->changeGridLayout([&](GridLayout& layout) { setDefaultColWidth(layout, width); });
        window->changeGridLayout([&](GridLayout& layout) { setColWidth(layout, 0, 80); });
        prompts->pictureAnswers.push_back(ScriptedPrompts::FileAnswer{path(file)});
        run(command);
        const QStringList errors = prompts->asked(u"error"_s);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(u"error|ソルベナエディタ|ファイル "_s + QDir::toNativeSeparators(path(file))),
                 qPrintable(errors[0]));
        QVERIFY2(errors[0].contains(message), qPrintable(errors[0]));
        QVERIFY(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
    }

    // The printout at 96 dots per inch shows the chart at the screen's own pixels.
    void printsTheChartOnOnePageAtTheScreensProportions()
    {
        QVERIFY(window->toolBar("tbarFile")->actions().contains(window->command(CommandId::actPrint)));
        fillChart(30);
        const QList<QImage> pages = printToPdf(96);
        QCOMPARE(pages.size(), 1);
        const std::vector<PrintedLine> lines = longLines(pages[0], 200);
        // Each signal's low line crosses the 29 steps of 15 pixels and their grid
        // lines, 464 pixels, one row 26 pixels below the other; signal 1 leaves it for
        // its pulse at step 3, signal 2 for its last step.
        QCOMPARE(lines.size(), size_t(4));
        const int lengths[] = {26 * 16, 28 * 16 + 1, 464, 464};
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QCOMPARE(lines[i].y - lines[i - 1].y, 26);
            QVERIFY2(std::abs(lines[i].right - lines[i].left + 1 - lengths[i]) <= 1,
                     qPrintable(u"line %1 from %2 to %3"_s.arg(i).arg(lines[i].left).arg(lines[i].right)));
        }
        QVERIFY(!modifiedFlag);
    }

    // A chart wider than the page is shrunk, both ways alike, until the page holds it.
    void printsAChartWiderThanThePageWholeOnOnePage()
    {
        window->changeGridLayout([&](GridLayout& layout) { setColCount(layout, 100); });
        window->changeGridLayout([&](GridLayout& layout) { setDefaultColWidth(layout, 30); });
        window->changeGridLayout([&](GridLayout& layout) { setColWidth(layout, 0, 80); });
        fillChart(100);
        const QList<QImage> pages = printToPdf(300);
        QCOMPARE(pages.size(), 1);
        const std::vector<PrintedLine> lines = longLines(pages[0], 1000);
        QVERIFY(lines.size() >= 4);
        // Lines print a few rows deep at this scale: take the first row of each.
        std::vector<PrintedLine> rows{lines.front()};
        for (const PrintedLine& line : lines) {
            if (line.y > rows.back().y + 3)
                rows.push_back(line);
        }
        QCOMPARE(rows.size(), size_t(4));
        const double spacing = (rows[3].y - rows[0].y) / 3.0;
        // Signal 4's low line crosses all 99 steps of 30 pixels and their grid lines:
        // as long against the rows' spacing of 26 as on screen.
        const double length = rows[3].right - rows[3].left + 1;
        QVERIFY2(std::abs(length / spacing - 99 * 31 / 26.0) < 2.5, qPrintable(QString::number(length / spacing)));
        QVERIFY(rows[3].right < pages[0].width() - 1);
    }

    // Qt's preview dialog shows one page, painted as 印刷 paints it, and printing from
    // there gives the printout 印刷 gives.
    void previewShowsThePrintoutAndPrintsIt()
    {
        fillChart(30);
        const QList<QImage> printed = printToPdf(150);
        QCOMPARE(printed.size(), 1);
        window->setPrompts(std::make_unique<PdfPreviewPrompts>(window.get(), path(u"preview.pdf"_s)));
        prompts = nullptr;
        int previewPages = -1;
        QTimer::singleShot(0, this, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            // Its print button asks for the printer first: the one set up is taken.
            QTimer::singleShot(0, this, [] {
                if (auto* printDialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()))
                    printDialog->accept();
            });
            for (QAction* action : preview->findChildren<QAction*>()) {
                if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                    action->trigger();
            }
            preview->reject();   // still open only when it printed nothing
        });
        run(CommandId::mnuPrintPreview);
        QCOMPARE(previewPages, 1);
        const QList<QImage> fromPreview = rasterise(path(u"preview.pdf"_s), 150);
        QCOMPARE(fromPreview.size(), 1);
        QCOMPARE(fromPreview[0], printed[0]);
    }

    void printErrorsAndCancelShowWhatHappened()
    {
        prompts->printerAnswers.push_back(false);
        run(CommandId::actPrint);
        QVERIFY(prompts->asked(u"error"_s).isEmpty());

        prompts->printerAnswers.push_back(true);
        const QString unwritable = path(u"missing/printout.pdf"_s);
        prompts->printerChoice = [unwritable](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(unwritable);
        };
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u".*"_s));
        run(CommandId::actPrint);
        QCOMPARE(prompts->asked(u"error"_s), QStringList{u"error|ソルベナエディタ|印刷を開始できません."_s});
    }
};

SOLVENA_WIDGET_TEST_MAIN(OutputCommandsTest)

#include "uMainOutputTest.moc"
