// The output commands of the main window: the bitmap and metafile exports and the
// printout. Each lays the whole chart out from the grid's layout value (never from
// what the window shows), draws it through the shared output functions and changes
// neither the chart nor the modified flag nor the history.

#include "ui/uMain.h"

#include "document/Document.h"
#include "render/ChartExport.h"
#include "storage/PathExtension.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

ChartPicture windowPicture(const ChartGrid& grid)
{
    return ChartPicture{document, grid.layout(), chartFont, false};
}

[[noreturn]] void failCreate(const QString& path, const QString& reason)
{
    throw std::runtime_error(
        u"ファイル %1 を作成できません: %2"_s.arg(QDir::toNativeSeparators(path), reason).toStdString());
}

}  // namespace

void TfrmMain::mnuOutBitmapClick()
{
    exportPicture(SavePictureDialog1, ".bmp", PictureFormat::Bmp);
}

void TfrmMain::mnuOutMetaClick()
{
    exportPicture(SavePictureDialog2, ".emf", PictureFormat::Emf);
}

void TfrmMain::exportPicture(FileDialogState& dialog, const char* extension, PictureFormat format)
{
    if (!prompts().savePicture(dialog))
        return;
    const QString path =
        QString::fromStdString(replaceExtension(dialog.fileName.toStdString(), extension));
    const QString error = savePictureFile(path, windowPicture(*dgdMain), format);
    if (!error.isEmpty())
        failCreate(path, error);
}

void TfrmMain::actPrintExecute()
{
    QPrinter printer(QPrinter::HighResolution);
    // The job's name in the printer's queue; a file printer offers it as the file name.
    printer.setDocName(documentFileName_.isEmpty() ? applicationTitle()
                                                   : QFileInfo(documentFileName_).completeBaseName());
    if (!prompts().choosePrinter(printer))
        return;
    const ChartPicture picture = windowPicture(*dgdMain);
    // Refused before a job is started, so nothing is sent for a picture too large.
    try {
        checkPictureSize(vectorSize(picture.layout));
    } catch (const PictureSizeError& e) {
        throw std::runtime_error(u"印刷できません: %1"_s.arg(QString::fromUtf8(e.what())).toStdString());
    }
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("印刷を開始できません");
    const QRectF printable = printer.pageLayout().paintRectPixels(printer.resolution());
    paintChartPage(painter, picture, printer.resolution(), printable.size());
    if (!painter.end())
        throw std::runtime_error("印刷を終了できません");
}
