// The output commands of the main window: the bitmap and metafile exports, the
// printout and its preview. Each lays the whole chart out from the grid's layout
// value (never from what the window shows), draws it through the shared output
// functions and changes neither the chart nor the modified flag nor the history.

#include "ui/uMain.h"

#include "document/Document.h"
#include "pictures/PictureFormats.h"
#include "pictures/PngWriter.h"
#include "storage/FileIO.h"
#include "storage/PathExtension.h"
#include "formats/ChartFormats.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

#include <memory>
#include <stdexcept>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

ChartPicture windowPicture(const GridLayout& layout)
{
    return ChartPicture{document, layout, chartFont, false};
}

[[noreturn]] void failCreate(const QString& path, const QString& reason)
{
    throw std::runtime_error(
        u"ファイル %1 を作成できません: %2"_s.arg(QDir::toNativeSeparators(path), reason).toStdString());
}

// The job's name in the printer's queue; a file printer offers it as the file name.
QString printJobName(const QString& documentFile)
{
    return documentFile.isEmpty() ? applicationTitle() : QFileInfo(documentFile).completeBaseName();
}

// The printed page: the chart laid out as the vector pictures are, refused before a
// job is started, so that nothing is sent for a picture too large.
LaidOutPicture printedPage(const ChartPicture& picture)
{
    try {
        return layOutPicture(picture, PictureFormat::Pdf);
    } catch (const PictureSizeError& e) {
        throw std::runtime_error(u"印刷できません: %1"_s.arg(reasonText(e.reason())).toStdString());
    }
}

}  // namespace

void TfrmMain::mnuOutBitmapClick()
{
    exportPicture(SavePictureDialog1, pictureFormat(PictureFormat::Bmp));
}

void TfrmMain::mnuOutMetaClick()
{
    exportPicture(SavePictureDialog2, pictureFormat(PictureFormat::Emf));
}

void TfrmMain::exportPicture(FileDialogState& dialog, const PictureFormatRow& format)
{
    if (!prompts().savePicture(dialog))
        return;
    const QString path = QString::fromStdString(
        replaceExtension(dialog.fileName.toStdString(), format.extension().toStdString()));
    const ChartPicture picture = windowPicture(gridLayout_);
    Reason error;
    try {
        error = writePictureFile(path, layOutPicture(picture, format.id));
    } catch (const PictureSizeError& e) {
        error = e.reason();
    }
    if (!error.empty())
        failCreate(path, reasonText(error));
}

void TfrmMain::mnuOutWaveJsonClick()
{
    if (!prompts().saveFile(SaveWaveJsonDialog))
        return;
    const ChartFormat& json = chartFormat(ChartFormatId::WaveJson);
    const QString path = QString::fromStdString(
        replaceExtension(SaveWaveJsonDialog.fileName.toStdString(), json.extension().toStdString()));
    std::vector<Reason> notes;
    const Reason error = writeChartAs(path, json, document, gridLayout_, &notes);
    if (!error.empty())
        failCreate(path, reasonText(error));
    for (const Reason& note : notes)
        showTransientMessage(reasonText(note));
}

void TfrmMain::actCopyPictureExecute()
{
    // Every flavour is the one picture the bitmap export writes: a program that takes
    // the SVG shows what one that takes the PNG shows, at the same size.
    const ChartPicture picture = windowPicture(gridLayout_);
    const LaidOutPicture laidOut = layOutPicture(picture, PictureFormat::Png);
    const QImage bitmap = bitmapPicture(laidOut);
    StringSink png;
    writePng(png, bitmap);
    StringSink svg;
    writeBitmapSvg(svg, laidOut);
    auto mime = std::make_unique<QMimeData>();
    mime->setData(u"image/png"_s, QByteArray::fromStdString(png.bytes()));
    mime->setData(u"image/svg+xml"_s, QByteArray::fromStdString(svg.bytes()));
    // For programs that take only the toolkit's own image.
    mime->setImageData(bitmap.convertToFormat(QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(mime.release());
}

void TfrmMain::actPrintExecute()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(printJobName(documentFileName_));
    if (!prompts().choosePrinter(printer))
        return;
    printChart(printer);
}

void TfrmMain::mnuPrintPreviewClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(printJobName(documentFileName_));
    // A chart that cannot be printed is refused before the dialog, not on its page.
    printedPage(windowPicture(gridLayout_));
    // The preview paints inside Qt's signal, which an error must not pass through.
    prompts().previewPrint(printer, [this](QPrinter& target) { runGuarded([&] { printChart(target); }); });
}

void TfrmMain::printChart(QPrinter& printer)
{
    const ChartPicture picture = windowPicture(gridLayout_);
    const LaidOutPicture page = printedPage(picture);
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("印刷を開始できません");
    const QRectF printable = printer.pageLayout().paintRectPixels(printer.resolution());
    paintChartPage(painter, page, printer.resolution(), printable.size());
    if (!painter.end())
        throw std::runtime_error("印刷を終了できません");
}

}  // namespace solvena
