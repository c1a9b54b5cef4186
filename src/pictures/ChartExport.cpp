#include "pictures/ChartExport.h"

#include "pictures/BmpWriter.h"
#include "render/DrawChart.h"
#include "render/MetafileCanvas.h"
#include "render/PainterCanvas.h"
#include "pictures/PngWriter.h"
#include "render/RasterCanvas.h"
#include "pictures/VectorPicture.h"
#include "storage/FileIO.h"

#include <QPainter>

#include <stdexcept>

using namespace Qt::StringLiterals;

PictureSize pictureSize(const ChartPicture& picture, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
    case PictureFormat::Png:
        return bitmapSize(picture.layout, picture.withHeader);
    case PictureFormat::Emf:
    case PictureFormat::Svg:
    case PictureFormat::Pdf:
        break;
    }
    return vectorSize(picture.layout);
}

QImage bitmapPicture(const ChartPicture& picture)
{
    const PictureSize size = pictureSize(picture, PictureFormat::Bmp);
    checkPictureSize(size);
    // A chart in greys (as every chart of this program is) needs a quarter of the
    // memory in 8-bit grey, with the same pixels.
    const bool grey = drawsInGreysOnly(renderOptionsFor(picture.layout, picture.headerFont, picture.withHeader));
    QImage image(int(size.width), int(size.height), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        throw PictureSizeError(ReasonKind::PictureNoMemory);
    image.fill(Qt::white);
    QPainter painter(&image);
    // Drawn as if on a picture of row 0's height more, of which the top band is then
    // cut away: nothing is drawn there without the header row, so this is the same.
    if (!picture.withHeader)
        painter.translate(0, -picture.layout.rowHeight(0));
    {
        RasterCanvas canvas(painter);
        drawWholeChart(canvas, picture);
    }
    return image;
}

void writePicture(ByteSink& sink, const ChartPicture& picture, PictureFormat format)
{
    const PictureSize size = pictureSize(picture, format);
    checkPictureSize(size);
    const QSize qsize(int(size.width), int(size.height));
    switch (format) {
    case PictureFormat::Bmp:
        writeBmp(sink, bitmapPicture(picture));
        return;
    case PictureFormat::Png:
        writePng(sink, bitmapPicture(picture));
        return;
    case PictureFormat::Emf: {
        MetafileCanvas canvas(qsize.width(), qsize.height());
        drawWholeChart(canvas, picture, EdgeStyle::ShortBottom);
        sink.write(canvas.finish());
        return;
    }
    case PictureFormat::Svg:
        writeSvg(sink, picture, VectorFrame{qsize, 0, EdgeStyle::ShortBottom});
        return;
    case PictureFormat::Pdf:
        writePdf(sink, picture, VectorFrame{qsize, 0, EdgeStyle::ShortBottom});
        return;
    }
}

void writeBitmapSvg(ByteSink& sink, const ChartPicture& picture)
{
    const PictureSize size = pictureSize(picture, PictureFormat::Bmp);
    checkPictureSize(size);
    writeSvg(sink, picture,
             VectorFrame{QSize(int(size.width), int(size.height)), picture.withHeader ? 0 : picture.layout.rowHeight(0),
                         EdgeStyle::Full});
}

Reason savePictureFile(const QString& path, const ChartPicture& picture, PictureFormat format)
{
    try {
        // Refused before a temporary file is made.
        checkPictureSize(pictureSize(picture, format));
        return writeFileAtomically(path, [&](ByteSink& sink) { writePicture(sink, picture, format); });
    } catch (const ReasonError& e) {
        return e.reason();
    } catch (const std::exception& e) {
        return Reason(ReasonKind::SystemText, {e.what()});
    }
}

void paintChartPage(QPainter& painter, const ChartPicture& picture, double printerDpi, QSizeF printable)
{
    const PictureSize size = vectorSize(picture.layout);
    checkPictureSize(size);
    const double scale = printScale(size, printerDpi, printable.width(), printable.height());
    painter.save();
    painter.scale(scale, scale);
    {
        PainterCanvas canvas(painter);
        drawWholeChart(canvas, picture);
    }
    painter.restore();
}
