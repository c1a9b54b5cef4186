// How independent readers draw our metafiles: for each chart file, the metafile the
// export writes is drawn by Inkscape and, with --libreoffice, by LibreOffice Draw
// (bench/lo-raster.py), and each raster is compared with the chart's bitmap
// (tests/render/ReaderRaster.h says how). Prints, per chart and reader, the line
// recall with the reader's ink on the very pixel and within one pixel, the share of
// the reader's ink that lies on the bitmap's lines, and the shift that aligned them.
//
//   reader_recall [--libreoffice] [--keep DIR] CHART...
#include "pictures/PictureFormats.h"
#include "render/FontSubstitutions.h"
#include "formats/ChartFileIO.h"
#include "text/ReasonWords.h"

#include "ReaderRaster.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

struct Chart {
    QString name;
    std::unique_ptr<TCell> cell;
    GridLayout layout;
    std::string emf;
    QString emfPath;
};

void report(const Chart& chart, const char* reader, const reader_raster::ExpectedLines& expected, const QImage& raster,
            const QString& keep)
{
    if (raster.isNull()) {
        std::printf("%-22s %-12s no picture\n", qPrintable(chart.name), reader);
        return;
    }
    QImage misses;
    const reader_raster::LineRecall exact =
        reader_raster::compareWithReader(expected, raster, 0, 2, keep.isEmpty() ? nullptr : &misses);
    if (!keep.isEmpty())
        misses.save(QDir(keep).filePath(chart.name + u"-"_s + QString::fromLatin1(reader) + u"-misses.png"_s));
    const reader_raster::LineRecall near = reader_raster::compareWithReader(expected, raster, 1);
    std::printf("%-22s %-12s %9lld %8.4f %8.4f %9.4f %+4.1f,%+4.1f\n", qPrintable(chart.name), reader,
                static_cast<long long>(exact.linePixels), exact.recall(), near.recall(), exact.precision(),
                exact.halfShift.x() / 2.0, exact.halfShift.y() / 2.0);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    QGuiApplication::setFont(programFont());

    bool libreOffice = false;
    QString keep;
    std::vector<Chart> charts;
    const QStringList args = QGuiApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--libreoffice"_s) {
            libreOffice = true;
        } else if (args[i] == u"--keep"_s && i + 1 < args.size()) {
            keep = args[++i];
        } else {
            ChartFileRead read = readChartFile(args[i]);
            if (!read.ok()) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(args[i]), qPrintable(ReasonWords(Language::English)(read.error)));
                return 1;
            }
            Chart chart;
            chart.name = QFileInfo(args[i]).completeBaseName();
            chart.layout = read.chart.layout(GridLayout{});
            chart.cell = std::move(read.chart.chart);
            charts.push_back(std::move(chart));
        }
    }
    if (charts.empty()) {
        std::fputs("usage: reader_recall [--libreoffice] [--keep DIR] CHART...\n", stderr);
        return 2;
    }

    QTemporaryDir temporary;
    const QDir out(keep.isEmpty() ? temporary.path() : keep);
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out.path()));
        return 1;
    }
    QStringList loArgs{QStringLiteral(SOLVENA_LO_RASTER)};
    for (Chart& chart : charts) {
        StringSink sink;
        writePicture(sink, ChartPicture{*chart.cell, chart.layout, grid_defaults::headerFont(), false},
                     PictureFormat::Emf);
        chart.emf = sink.take();
        chart.emfPath = out.filePath(chart.name + u".emf"_s);
        QFile file(chart.emfPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(chart.emf.data(), qint64(chart.emf.size())) !=
                                                    qint64(chart.emf.size()) || !file.flush()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(chart.emfPath), qPrintable(file.errorString()));
            return 1;
        }
        loArgs << chart.emfPath << out.filePath(chart.name + u"-libreoffice.png"_s);
    }
    if (libreOffice) {
        QProcess lo;
        lo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        lo.start(u"/usr/bin/python3"_s, loArgs);
        if (!lo.waitForFinished(600000) || lo.exitCode() != 0) {
            std::fputs("LibreOffice did not draw the metafiles\n", stderr);
            return 1;
        }
    }

    std::printf("%-22s %-12s %9s %8s %8s %9s %6s\n", "chart", "reader", "lines px", "recall", "recall+1",
                "precision", "shift");
    for (const Chart& chart : charts) {
        const ChartPicture picture{*chart.cell, chart.layout, grid_defaults::headerFont(), false};
        const reader_raster::ExpectedLines expected = reader_raster::expectedLines(picture);
        QString error;
        const QImage inkscape = reader_raster::inkscapeRaster(chart.emf, error);
        if (inkscape.isNull())
            std::fprintf(stderr, "%s: %s\n", qPrintable(chart.name), qPrintable(error));
        else if (!keep.isEmpty())
            inkscape.save(out.filePath(chart.name + u"-inkscape.png"_s));
        report(chart, "Inkscape", expected, inkscape, keep);
        if (libreOffice)
            report(chart, "LibreOffice", expected, QImage(out.filePath(chart.name + u"-libreoffice.png"_s)),
                   keep);
        std::fflush(stdout);
    }
    return 0;
}
