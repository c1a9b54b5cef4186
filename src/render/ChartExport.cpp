#include "render/ChartExport.h"

#include "Version.h"
#include "render/BmpWriter.h"
#include "render/DrawChart.h"
#include "render/MetafileCanvas.h"
#include "render/PainterCanvas.h"
#include "render/PngWriter.h"
#include "render/QtFont.h"
#include "render/RasterCanvas.h"
#include "storage/FileIO.h"

#include <QBuffer>
#include <QFont>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

constexpr int kScreenDpi = 96;

// A write-only device over a sink: the vector writers' output streams on as they make
// it instead of piling up in memory.
class SinkDevice final : public QIODevice {
public:
    explicit SinkDevice(ByteSink& sink) : sink_(sink) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        sink_.write(std::string_view(data, size_t(size)));
        return size;
    }

private:
    ByteSink& sink_;
};

// A vector surface's drawing: real lines and text in the metafile's geometry.
template <typename Device>
void paintVector(Device& device, const ChartPicture& picture)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw ReasonError(ReasonKind::PaintCannotStart);
    {
        PainterCanvas canvas(painter);
        drawWholeChart(canvas, picture);
    }
    if (!painter.end())
        throw ReasonError(ReasonKind::PaintCannotFinish);
}

// Each font family the SVG names followed by the faces that stand in for it here
// (IPAGothic for "ＭＳ ゴシック", ...): a reader without the Windows faces then sets
// the text in the face it was measured with.
void addStandIns(QByteArray& svg, const ChartPicture& picture)
{
    for (const FontDesc& desc : {picture.headerFont, picture.layout.gridFont}) {
        const QString family = toQFont(desc).family();
        const QStringList standIns = QFont::substitutes(family);
        if (standIns.isEmpty())
            continue;
        const QString list = u"'"_s + family + u"', '"_s + standIns.join(u"', '"_s) + u"'"_s;
        svg.replace(u"font-family=\"%1\""_s.arg(family).toUtf8(), u"font-family=\"%1\""_s.arg(list).toUtf8());
    }
}

void writeSvg(ByteSink& sink, const ChartPicture& picture, QSize size)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kScreenDpi);
    paintVector(svg, picture);
    QByteArray bytes = buffer.buffer();
    addStandIns(bytes, picture);
    sink.write(std::string_view(bytes.constData(), size_t(bytes.size())));
}

void writePdf(ByteSink& sink, const ChartPicture& picture, QSize size)
{
    SinkDevice device(sink);
    {
        QPdfWriter pdf(&device);
        pdf.setCreator(u"solvena "_s + QLatin1StringView(kSolvenaVersion));
        pdf.setResolution(kScreenDpi);
        // One page of the picture's size: a pixel is 3/4 of a point, and the page,
        // which has whole points only, is rounded up so that nothing is cut.
        const QSize points((size.width() * 3 + 3) / 4, (size.height() * 3 + 3) / 4);
        const QPageSize page(points, QString(), QPageSize::ExactMatch);
        pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
        paintVector(pdf, picture);
    }
}

}  // namespace

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
        writeSvg(sink, picture, qsize);
        return;
    case PictureFormat::Pdf:
        writePdf(sink, picture, qsize);
        return;
    }
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
