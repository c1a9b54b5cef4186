// solvena-render: a chart file or WaveJSON to a picture or another chart file, with
// the editor's own renderer, chart reader and writers, on no display at all.
#include "RenderArguments.h"

#include "document/GridLayout.h"
#include "pictures/ChartExport.h"
#include "render/FontSubstitutions.h"
#include "render/NameColumnFit.h"
#include "formats/ChartFileIO.h"
#include "storage/FileIO.h"
#include "storage/NativePath.h"
#include "storage/StandardStreams.h"
#include "storage/TemporaryFile.h"
#include "formats/WaveJson.h"
#include "text/ReasonWords.h"

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
constexpr char kContext[] = "solvena-render";

// Set once at start; every message is worded in this language.
const ReasonWords* words = nullptr;
StandardStreams startStreams;

// The file an argument names: its very bytes, whether or not they are UTF-8.
QString pathOf(const std::string& argument)
{
    return pathFromNativeBytes(argument);
}

// One line on standard error; names in it are shown with the bytes they were given.
void say(const QString& subject, const QString& text)
{
    const QByteArray line = nativePathBytes(u"solvena-render: "_s + subject + u": "_s + text + u'\n');
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

QString standardOutputName()
{
    return words->text(kContext, QT_TRANSLATE_NOOP("solvena-render", "標準出力"));
}

// How OUTPUT is spoken of in messages: standard output by that name.
QString outputName(const RenderArguments& args)
{
    return args.output == "-" ? standardOutputName() : pathOf(args.output);
}

int fail(const QString& subject, const Reason& reason)
{
    say(subject, (*words)(reason));
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

// Whether OUTPUT is this command's standard output: "-", or a name of its descriptor
// (/dev/stdout, /dev/fd/1), which is written as "-" is whatever the descriptor is.
bool writesStandardOutput(const RenderArguments& args)
{
    return args.output == "-" || ownDescriptorNamed(args.output) == STDOUT_FILENO;
}

// Why OUTPUT cannot be written at all, before anything is read or drawn: it is a
// standard stream the command was started without.
Reason outputUnavailable(const RenderArguments& args)
{
    const int fd = args.output == "-" ? STDOUT_FILENO : ownDescriptorNamed(args.output);
    if (fd >= 0 && fd <= 2 && startStreams.closed[size_t(fd)])
        return ReasonKind::StandardOutputClosed;
    return {};
}

// Writes OUTPUT, exactly the path given, all or nothing (a pipe or a device as it is);
// or standard output for "-".
int writeOutput(const RenderArguments& args, const std::function<void(ByteSink&)>& produce)
{
    Reason error;
    try {
        if (writesStandardOutput(args)) {
            StandardOutput out;
            produce(out);
            if (out.error())
                error = Reason(ReasonKind::System, {out.error()});
        } else {
            error = writeOutputFile(pathOf(args.output), produce);
        }
    } catch (const ReasonError& e) {
        error = e.reason();
    } catch (const std::exception& e) {
        error = Reason(ReasonKind::SystemText, {e.what()});
    }
    if (!error.empty())
        return fail(outputName(args), error);
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
            fail(path, file.error);
            return false;
        }
        LoadedChart read =
            importWaveJson(std::string_view(file.bytes.constData(), size_t(file.bytes.size())));
        for (const Reason& warning : read.notes)
            say(path, (*words)(warning));
        if (!read.ok) {
            fail(path, read.errorReason);
            return false;
        }
        chart.cell = std::move(read.chart);
        applyChartExtent(chart.layout, read.colCount, read.rowCount, read.colWidths);
        chart.namesToFit = true;
        return true;
    }
    ChartFileRead read = readChartFile(path);
    if (!read.ok()) {
        fail(path, read.error);
        return false;
    }
    if (!read.warning.empty())
        say(path, fillPlaces(words->text(kContext, QT_TRANSLATE_NOOP("solvena-render",
                                                                     "警告: %1（ファイルにあるステップはすべて使います）")),
                             {(*words)(read.warning)}));
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
                say(outputName(args), (*words)(json.notice));
            bytes = std::move(json.text);
        } else {
            bytes = SaveChart(*chart.cell, chart.layout);
        }
    } catch (const ReasonError& e) {
        return fail(outputName(args), e.reason());
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
        return fail(outputName(args), e.reason());
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
            return fail(outputName(args), e.reason());
        }
    }
    return writeOutput(args, [&](ByteSink& sink) { ::writePicture(sink, picture, format); });
}

// Prints a text of --help or --version; failing to is failing the command.
int printToStandardOutput(const QString& text)
{
    if (startStreams.closed[STDOUT_FILENO])
        return fail(standardOutputName(), ReasonKind::StandardOutputClosed);
    const QByteArray bytes = text.toUtf8();
    StandardOutput out;
    out.write(std::string_view(bytes.constData(), size_t(bytes.size())));
    if (out.error())
        return fail(standardOutputName(), Reason(ReasonKind::System, {out.error()}));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // First of all: no file opened later may take the place of a closed standard stream.
    startStreams = guardStandardStreams();
    installFileSignalHandling();
    const ReasonWords chosenWords(messageLanguageOfEnvironment());
    words = &chosenWords;

    const RenderArguments args = parseRenderArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.action) {
    case RenderArguments::Action::Help:
        return printToStandardOutput(renderUsage(chosenWords));
    case RenderArguments::Action::Version:
        return printToStandardOutput(QString::fromStdString(renderVersion()));
    case RenderArguments::Action::UsageError: {
        const QString line = u"solvena-render: "_s + chosenWords(args.error) + u'\n' +
                             chosenWords.text(kContext, QT_TRANSLATE_NOOP("solvena-render",
                                                                          "詳しくは 'solvena-render --help' を見てください。")) +
                             u'\n';
        const QByteArray bytes = nativePathBytes(line);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        return kUsage;
    }
    case RenderArguments::Action::Render:
        break;
    }

    if (const Reason unavailable = outputUnavailable(args); !unavailable.empty())
        return fail(outputName(args), unavailable);
    Chart chart;
    if (!readChart(args, chart))
        return kFailed;
    if (!isPicture(args.kind))
        return writeText(args, chart);
    return writePicture(args, argv[0], chart);
}
