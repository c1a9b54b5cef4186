#include "pictures/VectorPicture.h"

#include "text/Reason.h"

#include "Version.h"
#include "render/PainterCanvas.h"
#include "pictures/PictureSize.h"
#include "render/SvgCanvas.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>

#include <cmath>
#include <optional>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr int kScreenDpi = 96;

// A write-only device over a sink: the PDF streams on as it is made instead of piling
// up in memory. The page's box, which the writer states in whole points, is stated
// again with the exact size: the same number of bytes, so every offset stays right.
class PdfSinkDevice final : public QIODevice {
public:
    PdfSinkDevice(ByteSink& sink, std::optional<QByteArray> mediaBox) : sink_(sink), mediaBox_(std::move(mediaBox))
    {
        open(QIODevice::WriteOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        // The page's dictionary comes in one piece, well after the drawing.
        static constexpr QByteArrayView kBox("/MediaBox [0 0 ");
        const QByteArrayView bytes(data, size);
        const qsizetype box = mediaBox_ ? bytes.indexOf(kBox) : -1;
        const qsizetype end = box < 0 ? -1 : bytes.indexOf(']', box);
        if (end < 0) {
            sink_.write(std::string_view(data, size_t(size)));
            return size;
        }
        const qsizetype from = box + kBox.size();
        QByteArray stated = *mediaBox_;
        if (stated.size() <= end - from) {
            stated.append(QByteArray(end - from - stated.size(), ' '));
            QByteArray patched(data, size);
            patched.replace(from, end - from, stated);
            sink_.write(std::string_view(patched.constData(), size_t(patched.size())));
        } else {
            sink_.write(std::string_view(data, size_t(size)));
        }
        mediaBox_.reset();
        return size;
    }

private:
    ByteSink& sink_;
    std::optional<QByteArray> mediaBox_;  // the width and height to state, until stated
};

// The drawing of `picture` on `device`, moved and scaled by `transform`.
template <typename Device>
void paintVector(Device& device, const ChartPicture& picture, EdgeStyle edges, const QTransform& transform)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw ReasonError(ReasonKind::PaintCannotStart);
    painter.setTransform(transform);
    {
        PainterCanvas canvas(painter);
        drawWholeChart(canvas, picture, edges);
    }
    if (!painter.end())
        throw ReasonError(ReasonKind::PaintCannotFinish);
}

// A number as short as it can be written, to the ten-thousandth of a point.
QByteArray points(double value)
{
    QByteArray text = QByteArray::number(value, 'f', 4);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text;
}

}  // namespace

void writeSvg(ByteSink& sink, const ChartPicture& picture, const VectorFrame& frame)
{
    SvgCanvas canvas(sink, frame.size, frame.top);
    drawWholeChart(canvas, picture, frame.edges);
    canvas.finish();
}

void writePdf(ByteSink& sink, const ChartPicture& picture, const VectorFrame& frame)
{
    const PdfPage page = pdfPage({frame.size.width(), frame.size.height()});
    // The writer takes pages of whole points: the page is made that large, rounded up,
    // the drawing put in its bottom-left corner, and the file then states the page the
    // drawing's exact size.
    const QSize whole(int(std::ceil(page.width)), int(std::ceil(page.height)));
    PdfSinkDevice device(sink, points(page.width) + ' ' + points(page.height));
    {
        QPdfWriter pdf(&device);
        pdf.setCreator(u"solvena "_s + QLatin1StringView(kSolvenaVersion));
        pdf.setResolution(kScreenDpi);
        const QPageSize size(whole, QString(), QPageSize::ExactMatch);
        pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        // A point is 96 / 72 of the writer's pixels.
        const double below = (whole.height() - page.height) * kScreenDpi / 72.0;
        QTransform transform;
        transform.translate(0, below);
        transform.scale(page.scale, page.scale);
        transform.translate(0, -frame.top);
        paintVector(pdf, picture, frame.edges, transform);
    }
}

}  // namespace solvena
