#pragma once
// What an independent reader makes of a metafile, against the chart's bitmap: the
// reader's raster (Inkscape run on the file) and the share of the bitmap's line pixels
// it inks. Shared by the reader tests and bench/reader_recall, which also measures
// LibreOffice.

#include "render/ChartOutput.h"
#include "pictures/PictureSize.h"

#include "RecordingCanvas.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace solvena {

namespace reader_raster {

// A pixel counts as inked by the reader when it is at least this dark (0 white, 255
// black) after the raster is laid on white. A reader that strokes a one-pixel line
// centred on the pixels' common edge (Inkscape) gives each of the two rows or columns
// it crosses about half the ink, 119 to 136; one that strokes through the pixels'
// centres (LibreOffice) all of it. Half of half takes those, and leaves out the
// lighter fringe that antialiasing spreads around slanted lines, arrows and text.
inline constexpr int kInked = 64;

// The chart's pictures in the metafile's coordinates (the header band kept at the
// top): the bitmap's line pixels, drawn without texts, and where the texts go.
struct ExpectedLines {
    QImage lines;              // Grayscale8, 0 where a line, an edge, a hatch or an arrow is
    QImage textInk;            // Grayscale8, 1 within a pixel of the bitmap's text, else 0
    std::vector<QRect> texts;  // the boxes the texts are placed in, with a margin
};

inline ExpectedLines expectedLines(const ChartPicture& picture)
{
    auto textless = std::make_unique<TCell>(picture.chart);
    for (int r = 0; r < kMaxRows; ++r) {
        textless->signalName[r].clear();
        for (int c = 0; c < kMaxCols; ++c)
            textless->cellFlags[c][r] &= uint8_t(~kFlagShowNumber);
    }
    const PictureSize size = vectorSize(picture.layout);
    const QSize pixels(int(size.width), int(size.height));
    ExpectedLines expected;
    expected.lines = chartImage(ChartPicture{*textless, picture.layout, picture.headerFont, picture.withHeader}, pixels)
                         .convertToFormat(QImage::Format_Grayscale8);
    // Line pixels that the text touches are the text's as much as the line's.
    const QImage whole = chartImage(picture, pixels).convertToFormat(QImage::Format_Grayscale8);
    expected.textInk = QImage(pixels, QImage::Format_Grayscale8);
    expected.textInk.fill(0);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            if (whole.constScanLine(y)[x] >= 128 || expected.lines.constScanLine(y)[x] < 128)
                continue;
            for (int ty = std::max(0, y - 1); ty <= std::min(pixels.height() - 1, y + 1); ++ty)
                for (int tx = std::max(0, x - 1); tx <= std::min(pixels.width() - 1, x + 1); ++tx)
                    expected.textInk.scanLine(ty)[tx] = 1;
        }
    }

    RecordingCanvas texts;
    drawWholeChart(texts, picture);
    for (const RecordedText& text : texts.texts) {
        const CanvasRect& r = text.rect;
        // A text at a point spreads right and down from it; readers set it in faces of
        // their own, a little wider or taller than ours.
        const QRect box = text.kind == RecordedText::Kind::TextOut
                              ? QRect(text.at.x, text.at.y, 120, 24)
                              : QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
        expected.texts.push_back(box.adjusted(-2, -2, 2, 2));
    }
    return expected;
}

// How much of the bitmap's drawing a reader's raster shows.
struct LineRecall {
    int64_t linePixels = 0;  // the bitmap's line pixels away from its texts
    int64_t recalled = 0;    // those the reader inks
    int64_t inked = 0;       // the reader's inked pixels outside the texts' boxes
    int64_t stray = 0;       // those more than a pixel from any line of the bitmap
    QPoint halfShift;        // where the reader's raster lies on the bitmap's, in half pixels

    double recall() const { return linePixels ? double(recalled) / double(linePixels) : 1.0; }
    double precision() const { return inked ? 1.0 - double(stray) / double(inked) : 1.0; }
};

// Compares a reader's raster of the metafile with the bitmap's lines.
//
// The raster is aligned first, in steps of half a pixel up to `search` pixels either
// way: the shift under which it inks the most line pixels. Half steps matter: a reader
// that strokes a line of one unit centred on the pixels' common edge, as Inkscape
// does, draws the whole picture half a pixel up and left of the bitmap, and no whole
// shift lies it on both the horizontal and the vertical lines.
//
// A line pixel is recalled when the reader inks (kInked) one of its pixels that the
// line pixel's square covers once shifted: one pixel, or two or four under a half
// shift; with `slack` 1, also the pixels around those. Reader ink counts as stray
// when no line pixel lies within a pixel of it.
//
// `misses`, when given, receives the reader's raster with the line pixels it misses in
// red and its stray ink in blue.
inline LineRecall compareWithReader(const ExpectedLines& expected, const QImage& raster, int slack = 0,
                                    int search = 2, QImage* misses = nullptr)
{
    QImage reader(raster.size(), QImage::Format_ARGB32);
    reader.fill(Qt::white);
    {
        QPainter painter(&reader);
        painter.drawImage(0, 0, raster);
    }
    const QImage dark = reader.convertToFormat(QImage::Format_Grayscale8);
    const QImage& lines = expected.lines;
    QImage inTextBox(lines.size(), QImage::Format_Grayscale8);
    inTextBox.fill(0);
    for (const QRect& box : expected.texts) {
        const QRect inside = box & lines.rect();
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            std::fill_n(inTextBox.scanLine(y) + inside.left(), inside.width(), 1);
    }

    auto isLine = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < lines.width() && y < lines.height() && lines.constScanLine(y)[x] < 128;
    };
    auto inkAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < dark.width() && y < dark.height() ? 255 - dark.constScanLine(y)[x] : 0;
    };
    // The reader's pixels that the square of the pixel from `at` covers once shifted
    // by `half` half pixels, widened by `wide`: from .first to .second.
    auto covered = [](int at, int half, int wide) {
        const int from = at + (half >= 0 ? half / 2 : -((1 - half) / 2));
        return std::pair{from - wide, from + (half % 2 != 0) + wide};
    };
    auto count = [&](QPoint half, int wide, LineRecall& result, QImage* mark) {
        for (int y = 0; y < lines.height(); ++y) {
            const auto [y0, y1] = covered(y, half.y(), wide);
            for (int x = 0; x < lines.width(); ++x) {
                if (!isLine(x, y) || expected.textInk.constScanLine(y)[x])
                    continue;
                ++result.linePixels;
                const auto [x0, x1] = covered(x, half.x(), wide);
                bool found = false;
                for (int ry = y0; ry <= y1 && !found; ++ry)
                    for (int rx = x0; rx <= x1 && !found; ++rx)
                        found = inkAt(rx, ry) >= kInked;
                result.recalled += found;
                if (!found && mark && mark->rect().contains(x0, y0))
                    mark->setPixel(x0, y0, qRgb(255, 0, 0));
            }
        }
    };

    // Nearer shifts first, so that of shifts that ink as much the nearest is taken.
    std::vector<QPoint> shifts;
    for (int hy = -2 * search; hy <= 2 * search; ++hy)
        for (int hx = -2 * search; hx <= 2 * search; ++hx)
            shifts.emplace_back(hx, hy);
    std::stable_sort(shifts.begin(), shifts.end(),
                     [](QPoint a, QPoint b) { return a.manhattanLength() < b.manhattanLength(); });
    LineRecall best;
    best.recalled = -1;
    for (const QPoint shift : shifts) {
        LineRecall trial;
        trial.halfShift = shift;
        count(trial.halfShift, 0, trial, nullptr);
        if (trial.recalled > best.recalled)
            best = trial;
    }
    LineRecall result;
    result.halfShift = best.halfShift;
    if (misses)
        *misses = reader.convertToFormat(QImage::Format_RGB32);
    count(result.halfShift, slack, result, misses);

    for (int y = 0; y < dark.height(); ++y) {
        // The bitmap's pixels this reader pixel's square covers when shifted back.
        const auto [by0, by1] = covered(y, -result.halfShift.y(), 1);
        for (int x = 0; x < dark.width(); ++x) {
            if (inkAt(x, y) < kInked)
                continue;
            const auto [bx0, bx1] = covered(x, -result.halfShift.x(), 1);
            bool text = false;
            bool near = false;
            for (int by = by0; by <= by1; ++by) {
                for (int bx = bx0; bx <= bx1; ++bx) {
                    near = near || isLine(bx, by);
                    text = text || (lines.rect().contains(bx, by) && inTextBox.constScanLine(by)[bx]);
                }
            }
            if (text)
                continue;
            ++result.inked;
            result.stray += !near;
            if (!near && misses)
                misses->setPixel(x, y, qRgb(0, 0, 255));
        }
    }
    return result;
}

// Inkscape's raster of a metafile, at the file's own size; a null image, and why in
// `error`, when it could not be made.
inline QImage inkscapeRaster(const std::string& emf, QString& error)
{
    const QString inkscape = QStandardPaths::findExecutable(QStringLiteral("inkscape"));
    if (inkscape.isEmpty()) {
        error = QStringLiteral("inkscape is not on PATH");
        return {};
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("chart.emf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(emf.data(), qint64(emf.size())) != qint64(emf.size()) ||
        !file.flush()) {
        error = file.errorString();
        return {};
    }
    file.close();
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());  // keep the user's preferences out of it
    process.setProcessEnvironment(env);
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    process.start(inkscape, {QStringLiteral("--export-type=png"), QStringLiteral("--export-filename=") + png,
                             file.fileName()});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("inkscape failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    QImage image(png);
    if (image.isNull())
        error = QStringLiteral("inkscape wrote no picture");
    return image;
}

}  // namespace reader_raster

}  // namespace solvena
