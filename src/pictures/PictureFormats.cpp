#include "pictures/PictureFormats.h"

#include "pictures/BmpWriter.h"
#include "pictures/PngWriter.h"
#include "pictures/VectorPicture.h"
#include "render/DrawChart.h"
#include "render/MetafileCanvas.h"
#include "render/PainterCanvas.h"
#include "render/RasterCanvas.h"
#include "storage/FileIO.h"
#include "text/TableRows.h"

#include <QPainter>

#include <algorithm>
#include <stdexcept>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

PictureSize rasterSize(const ChartPicture& picture)
{
    return bitmapSize(picture.layout, picture.withHeader);
}

PictureSize vectorPictureSize(const ChartPicture& picture)
{
    return vectorSize(picture.layout);
}

QSize qsizeOf(const LaidOutPicture& laidOut)
{
    return QSize(int(laidOut.size.width), int(laidOut.size.height));
}

void writeBmpPicture(ByteSink& sink, const LaidOutPicture& laidOut)
{
    writeBmp(sink, bitmapPicture(laidOut));
}

void writePngPicture(ByteSink& sink, const LaidOutPicture& laidOut)
{
    writePng(sink, bitmapPicture(laidOut));
}

void writeEmfPicture(ByteSink& sink, const LaidOutPicture& laidOut)
{
    MetafileCanvas canvas(int32_t(laidOut.size.width), int32_t(laidOut.size.height));
    drawWholeChart(canvas, laidOut.picture, EdgeStyle::ShortBottom);
    sink.write(canvas.finish());
}

void writeSvgPicture(ByteSink& sink, const LaidOutPicture& laidOut)
{
    writeSvg(sink, laidOut.picture, VectorFrame{qsizeOf(laidOut), 0, EdgeStyle::ShortBottom});
}

void writePdfPicture(ByteSink& sink, const LaidOutPicture& laidOut)
{
    writePdf(sink, laidOut.picture, VectorFrame{qsizeOf(laidOut), 0, EdgeStyle::ShortBottom});
}

void requireRaster(const LaidOutPicture& laidOut)
{
    if (!pictureFormat(laidOut.format).raster)
        throw std::logic_error("the bitmap of a picture laid out for a vector format");
}

}  // namespace

QString PictureFormatRow::extension() const
{
    return u"."_s + QString::fromLatin1(name.data(), qsizetype(name.size()));
}

QString PictureFormatRow::filter() const
{
    return description + u"|*"_s + extension();
}

const std::vector<PictureFormatRow>& pictureFormats()
{
    static const std::vector<PictureFormatRow> formats{
        {PictureFormat::Bmp, "bmp", u"ビットマップ(*.bmp)"_s, true, &rasterSize, &writeBmpPicture},
        {PictureFormat::Emf, "emf", u"エンハンスド メタファイル (*.emf)"_s, false, &vectorPictureSize,
         &writeEmfPicture},
        {PictureFormat::Png, "png", u"PNG 画像(*.png)"_s, true, &rasterSize, &writePngPicture},
        {PictureFormat::Svg, "svg", u"SVG 画像(*.svg)"_s, false, &vectorPictureSize, &writeSvgPicture},
        {PictureFormat::Pdf, "pdf", u"PDF 文書(*.pdf)"_s, false, &vectorPictureSize, &writePdfPicture},
    };
    return formats;
}

const PictureFormatRow& pictureFormat(PictureFormat id)
{
    return rowWithId(pictureFormats(), id);
}

const PictureFormatRow* pictureFormatNamed(std::string_view name)
{
    return rowNamed(pictureFormats(), name);
}

LaidOutPicture layOutPicture(const ChartPicture& picture, PictureFormat format)
{
    const PictureSize size = pictureFormat(format).size(picture);
    checkPictureSize(size);
    return LaidOutPicture{picture, format, size};
}

void writePicture(ByteSink& sink, const LaidOutPicture& laidOut)
{
    pictureFormat(laidOut.format).write(sink, laidOut);
}

void writePicture(ByteSink& sink, const ChartPicture& picture, PictureFormat format)
{
    writePicture(sink, layOutPicture(picture, format));
}

Reason writePictureFile(const QString& path, const LaidOutPicture& laidOut)
{
    try {
        return writeFileAtomically(path, [&](ByteSink& sink) { writePicture(sink, laidOut); });
    } catch (const ReasonError& e) {
        return e.reason();
    } catch (const std::exception& e) {
        return Reason(ReasonKind::SystemText, {e.what()});
    }
}

QImage bitmapPicture(const LaidOutPicture& bitmap)
{
    requireRaster(bitmap);
    const ChartPicture& picture = bitmap.picture;
    // A chart in greys (as every chart of this program is) needs a quarter of the
    // memory in 8-bit grey, with the same pixels.
    const bool grey = drawsInGreysOnly(renderOptionsFor(picture.layout, picture.headerFont, picture.withHeader));
    QImage image(qsizeOf(bitmap), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
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

void writeBitmapSvg(ByteSink& sink, const LaidOutPicture& bitmap)
{
    requireRaster(bitmap);
    const ChartPicture& picture = bitmap.picture;
    writeSvg(sink, picture,
             VectorFrame{qsizeOf(bitmap), picture.withHeader ? 0 : picture.layout.rowHeight(0), EdgeStyle::Full});
}

void paintChartPage(QPainter& painter, const LaidOutPicture& page, double printerDpi, QSizeF printable)
{
    const double scale = printScale(page.size, printerDpi, printable.width(), printable.height());
    painter.save();
    painter.scale(scale, scale);
    {
        PainterCanvas canvas(painter);
        drawWholeChart(canvas, page.picture);
    }
    painter.restore();
}

}  // namespace solvena
