// solvena-render: a chart file or WaveJSON to a picture or another chart file, with
// the editor's own renderer, chart reader and writers, on no display at all.
#include "RenderArguments.h"

#include "document/GridLayout.h"
#include "render/ChartExport.h"
#include "render/FontSubstitutions.h"
#include "render/NameColumnFit.h"
#include "storage/ChartFileIO.h"
#include "storage/FileIO.h"
#include "storage/NativePath.h"
#include "storage/TemporaryFile.h"
#include "storage/WaveJson.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The file an argument names: its very bytes, whether or not they are UTF-8.
QString pathOf(const std::string& argument)
{
    return pathFromNativeBytes(argument);
}

void say(const std::string& subject, const std::string& text)
{
    std::fprintf(stderr, "solvena-render: %s: %s\n", subject.c_str(), text.c_str());
}

int fail(const std::string& subject, const QString& reason)
{
    // A name inside the reason is shown with the bytes it was given.
    say(subject, nativePathBytes(reason).toStdString());
    return kFailed;
}

// Standard output as a sink; remembers the first error.
class StandardOutput final : public ByteSink {
public:
    void write(std::string_view bytes) override
    {
        while (!bytes.empty() && error_ == 0) {
            const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno != EINTR)
                    error_ = errno;
                continue;
            }
            bytes.remove_prefix(size_t(n));
        }
    }
    int error() const { return error_; }

private:
    int error_ = 0;
};

// Writes OUTPUT, exactly the path given, all or nothing (a pipe or a device as it is);
// or standard output for "-".
int writeOutput(const RenderArguments& args, const std::function<void(ByteSink&)>& produce)
{
    QString error;
    try {
        if (args.output == "-") {
            StandardOutput out;
            produce(out);
            if (out.error())
                error = qt_error_string(out.error());
        } else {
            error = writeOutputFile(pathOf(args.output), produce);
        }
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error.isEmpty())
        return fail(args.output == "-" ? "standard output" : args.output, error);
    return 0;
}

struct Chart {
    std::unique_ptr<TCell> cell;
    GridLayout layout;
    bool namesToFit = false;  // a WaveJSON chart's name column follows its names
};

// Reads CHART: WaveJSON for a .json file, a chart file otherwise. Warnings go to
// standard error; false (after saying why) when it cannot be read.
bool readChart(const RenderArguments& args, Chart& chart)
{
    const QString path = pathOf(args.chart);
    if (path.endsWith(u".json"_s, Qt::CaseInsensitive)) {
        const FileReadResult file = readFileBytes(path, kMaxChartFileBytes);
        if (!file.ok()) {
            fail(args.chart, file.error);
            return false;
        }
        WaveJsonImportResult read =
            importWaveJson(std::string_view(file.bytes.constData(), size_t(file.bytes.size())));
        for (const std::string& warning : read.warnings)
            say(args.chart, warning);
        if (!read.ok) {
            say(args.chart, read.errorMessage);
            return false;
        }
        chart.cell = std::move(read.chart);
        applyChartExtent(chart.layout, read.colCount, read.rowCount, read.colWidths);
        chart.namesToFit = true;
        return true;
    }
    ChartFileRead read = readChartFile(path);
    if (!read.ok()) {
        fail(args.chart, read.error);
        return false;
    }
    if (!read.warning.isEmpty())
        say(args.chart, u"警告: %1（ファイルにあるステップはすべて使います）"_s.arg(read.warning).toStdString());
    chart.layout = read.chart.layout(chart.layout);
    chart.cell = std::move(read.chart.chart);
    return true;
}

int writeText(const RenderArguments& args, const Chart& chart)
{
    std::string bytes;
    try {
        if (args.kind == OutputKind::Json) {
            WaveJsonExport json = exportWaveJson(*chart.cell, chart.layout);
            if (!json.notice.empty())
                say(args.output, json.notice);
            bytes = std::move(json.text);
        } else {
            bytes = SaveChart(*chart.cell, chart.layout);
        }
    } catch (const std::exception& e) {
        return fail(args.output, QString::fromUtf8(e.what()));
    }
    return writeOutput(args, [&](ByteSink& sink) { sink.write(bytes); });
}

PictureFormat pictureFormatOf(OutputKind kind)
{
    switch (kind) {
    case OutputKind::Bmp: return PictureFormat::Bmp;
    case OutputKind::Emf: return PictureFormat::Emf;
    case OutputKind::Svg: return PictureFormat::Svg;
    case OutputKind::Pdf: return PictureFormat::Pdf;
    default: return PictureFormat::Png;
    }
}

int writePicture(const RenderArguments& args, char* programName, Chart& chart)
{
    if (args.rowHeight)
        applyRowHeight(chart.layout, *args.rowHeight);
    chart.layout.namesRightAligned = args.alignRight;
    if (args.fontFamily)
        chart.layout.gridFont.family = *args.fontFamily;
    if (args.fontPixels)
        chart.layout.gridFont.pixelSize = *args.fontPixels;
    ChartPicture picture{*chart.cell, chart.layout, grid_defaults::headerFont(), args.header};
    const PictureFormat format = pictureFormatOf(args.kind);
    try {
        // Refused before the toolkit starts or anything is written.
        checkPictureSize(pictureSize(picture, format));
    } catch (const PictureSizeError& e) {
        return fail(args.output, QString::fromUtf8(e.what()));
    }

    // Offscreen whatever the environment says: the program never needs a display. Qt
    // is given no arguments of the user's to take as its own.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    // Standard error is for this program's reasons and notices; the toolkit's chatter
    // (a missing XDG_RUNTIME_DIR, ...) would bury them in pipelines and scripts.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "solvena-render: %s\n", message.toLocal8Bit().constData());
    });
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    installFontSubstitutions();
    QGuiApplication::setFont(programFont());
    if (chart.namesToFit) {
        // Names are measured in the font they are drawn with, which needs the toolkit.
        fitNameColumn(picture.layout, picture.chart);
        try {
            checkPictureSize(pictureSize(picture, format));
        } catch (const PictureSizeError& e) {
            return fail(args.output, QString::fromUtf8(e.what()));
        }
    }
    return writeOutput(args, [&](ByteSink& sink) { ::writePicture(sink, picture, format); });
}

}  // namespace

int main(int argc, char** argv)
{
    installFileSignalHandling();
    const RenderArguments args = parseRenderArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.action) {
    case RenderArguments::Action::Help:
        std::fputs(renderUsage().c_str(), stdout);
        return 0;
    case RenderArguments::Action::Version:
        std::fputs(renderVersion().c_str(), stdout);
        return 0;
    case RenderArguments::Action::UsageError:
        std::fprintf(stderr, "solvena-render: %s\nTry 'solvena-render --help' for more information.\n",
                     args.error.c_str());
        return kUsage;
    case RenderArguments::Action::Render:
        break;
    }

    Chart chart;
    if (!readChart(args, chart))
        return kFailed;
    if (!isPicture(args.kind))
        return writeText(args, chart);
    return writePicture(args, argv[0], chart);
}
