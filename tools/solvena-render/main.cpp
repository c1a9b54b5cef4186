// solvena-render: a chart file or WaveJSON to a picture or another chart file, with
// the editor's own renderer, chart reader and writers, on no display at all.
#include "Batch.h"
#include "RenderArguments.h"

#include "document/GridLayout.h"
#include "formats/ChartFormats.h"
#include "pictures/PictureFormats.h"
#include "render/FontSubstitutions.h"
#include "render/NameColumnFit.h"
#include "storage/FileIO.h"
#include "storage/NativePath.h"
#include "storage/ProgramArguments.h"
#include "storage/StandardStreams.h"
#include "storage/TemporaryFile.h"
#include "text/ReasonWords.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <functional>
#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr char kContext[] = "solvena-render";

// Set once at start; every message is worded in this language.
const ReasonWords* words = nullptr;
StandardStreams startStreams;
// The progress line of a run of many charts, which every message first takes away.
Progress* progress = nullptr;

// The file an argument names: its very bytes, whether or not they are UTF-8.
QString pathOf(const std::string& argument)
{
    return pathFromNativeBytes(argument);
}

// A message as standard error carries it: names with the bytes they were given; on
// Windows in the code page, as the console shows it.
QByteArray messageBytes(const QString& text)
{
#ifdef _WIN32
    return text.toLocal8Bit();
#else
    return nativePathBytes(text);
#endif
}

// One line on standard error; names in it are shown with the bytes they were given.
// Charts of one run are converted on several threads; their lines and the progress
// line take turns.
std::mutex saying;

void sayLine(const QString& text)
{
    const QByteArray line = messageBytes(u"solvena-render: "_s + text + u'\n');
    const std::lock_guard lock(saying);
    if (progress)
        progress->clear();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

void say(const QString& subject, const QString& text)
{
    sayLine(subject + u": "_s + text);
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
    bool namesToFit = false;  // an imported chart's name column follows its names
};

// Reads CHART in the format its name says (a chart file when it says none). Warnings
// and notes go to standard error; false (after saying why) when it cannot be read.
bool readInputChart(const RenderArguments& args, Chart& chart)
{
    const QString path = pathOf(args.chart);
    const ChartFormat* named = chartFormatOfPath(path);
    const ChartFormat& format = named ? *named : chartFormat(ChartFormatId::ChartFile);
    ChartFileRead read = format.read(path, args.read);
    for (const Reason& note : read.chart.notes)
        say(path, (*words)(note));
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
    chart.namesToFit = !format.document;
    return true;
}

int writeOutputChart(const RenderArguments& args, const Chart& chart)
{
    WrittenChart written;
    try {
        written = args.format.chart->write(*chart.cell, chart.layout);
    } catch (const ReasonError& e) {
        return fail(outputName(args), e.reason());
    }
    for (const Reason& note : written.notes)
        say(outputName(args), (*words)(note));
    return writeOutput(args, [&](ByteSink& sink) { sink.write(written.bytes); });
}

// The toolkit, started for the run's first picture and kept for every later one.
class Toolkit {
public:
    explicit Toolkit(char* programName) : argv_{programName, nullptr} {}

    void start()
    {
        if (app_)
            return;
        // Off screen whatever the environment says: the program never needs a display.
        // Qt is given no arguments of the user's to take as its own.
#ifdef _WIN32
        // Windows's Qt draws off screen through its minimal platform, with the system's
        // fonts (its offscreen platform needs FreeType, which it is built without).
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("minimal:enable_fonts"));
#else
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
#endif
        // Standard error is for this program's reasons and notices; the toolkit's
        // chatter (a missing XDG_RUNTIME_DIR, ...) would bury them in pipelines.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                sayLine(message);
        });
        app_.emplace(argc_, argv_);
        installFontSubstitutions();
        QGuiApplication::setFont(programFont());
    }

private:
    int argc_ = 1;
    char* argv_[2];
    std::optional<QGuiApplication> app_;
};

int writePictureOutput(const RenderArguments& args, Toolkit& toolkit, Chart& chart)
{
    if (args.rowHeight)
        applyRowHeight(chart.layout, *args.rowHeight);
    chart.layout.namesRightAligned = args.alignRight;
    if (args.fontFamily)
        chart.layout.gridFont.family = *args.fontFamily;
    if (args.fontPixels)
        chart.layout.gridFont.pixelSize = *args.fontPixels;
    ChartPicture picture{*chart.cell, chart.layout, grid_defaults::headerFont(), args.header};
    const PictureFormat format = args.format.picture->id;
    try {
        // Refused before the toolkit starts or anything is written.
        if (!chart.namesToFit)
            layOutPicture(picture, format);
    } catch (const PictureSizeError& e) {
        return fail(outputName(args), e.reason());
    }

    toolkit.start();
    // Names are measured in the font they are drawn with, which needs the toolkit; the
    // picture is laid out once its layout is final.
    if (chart.namesToFit)
        fitNameColumn(picture.layout, picture.chart);
    try {
        const LaidOutPicture laidOut = layOutPicture(picture, format);
        return writeOutput(args, [&](ByteSink& sink) { writePicture(sink, laidOut); });
    } catch (const PictureSizeError& e) {
        return fail(outputName(args), e.reason());
    }
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

// One chart to its output: read, then written as a chart or drawn as a picture.
int convert(const RenderArguments& args, Toolkit& toolkit)
{
    if (const Reason unavailable = outputUnavailable(args); !unavailable.empty())
        return fail(outputName(args), unavailable);
    Chart chart;
    if (!readInputChart(args, chart))
        return kFailed;
    if (args.format.chart)
        return writeOutputChart(args, chart);
    return writePictureOutput(args, toolkit, chart);
}

std::string_view formatName(const OutputFormat& format)
{
    return format.picture ? format.picture->name : format.chart->name;
}

// Every chart of --out-dir, each on its own: one that fails is said and the rest go on.
int convertAll(const RenderArguments& args, Toolkit& toolkit)
{
    const QString folder = pathOf(*args.outDir);
    std::vector<std::string> charts;
    for (const std::string& chart : args.charts) {
        if (chart != "-") {
            charts.push_back(chart);
            continue;
        }
        const QString standardInput = words->text(kContext, QT_TRANSLATE_NOOP("solvena-render", "標準入力"));
        if (startStreams.closed[STDIN_FILENO]) {
            say(standardInput, (*words)(ReasonKind::StandardOutputClosed));
            return kUsage;
        }
        if (const Reason error = readPathList(STDIN_FILENO, charts); !error.empty()) {
            say(standardInput, (*words)(error));
            return kUsage;
        }
    }
    // Refused before anything is read or written: a run that can only fail part way,
    // or that would replace one output with another, does nothing.
    if (const Reason unusable = outputFolderUnusable(*args.outDir); !unusable.empty()) {
        say(u"--out-dir "_s + folder, (*words)(unusable));
        return kUsage;
    }
    const BatchPlan plan = planBatch(*args.outDir, charts, formatName(args.format));
    if (!plan.ok()) {
        sayLine((*words)(plan.refusal));
        return kUsage;
    }

    // The toolkit starts on this thread, before the charts are drawn on any.
    if (args.format.picture)
        toolkit.start();
    Progress shown(plan.jobs.size());
    progress = &shown;
    // A chart's time is drawing and waiting for the disk to take its file (every file
    // is flushed before it replaces the old one): charts on a few threads overlap both.
    size_t next = 0;
    std::atomic<size_t> failed = 0;
    auto work = [&] {
        for (;;) {
            size_t i = 0;
            {
                const std::lock_guard lock(saying);
                if (next == plan.jobs.size())
                    return;
                i = next++;
                shown.show(i + 1, plan.jobs[i].chart);
            }
            RenderArguments one = args;
            one.chart = plan.jobs[i].chart;
            one.output = plan.jobs[i].output;
            try {
                if (convert(one, toolkit) != 0)
                    ++failed;
            } catch (const std::exception& e) {
                say(pathOf(one.chart), (*words)(Reason(ReasonKind::SystemText, {e.what()})));
                ++failed;
            }
        }
    };
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 2, 4);
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < std::min(threads, plan.jobs.size()); ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    {
        const std::lock_guard lock(saying);
        shown.clear();
        progress = nullptr;
    }
    if (failed == 0)
        return 0;
    sayLine(words->text(kContext, QT_TRANSLATE_N_NOOP("solvena-render", "%n 個の CHART を書き出せませんでした"),
                        int(failed)));
    return kFailed;
}

}  // namespace

}  // namespace solvena

using namespace solvena;

int main(int argc, char** argv)
{
    // First of all: no file opened later may take the place of a closed standard stream.
    startStreams = guardStandardStreams();
#ifdef _WIN32
    // A chart or a picture written to standard output is bytes: in the C library's
    // text mode every LF would come out as CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    installFileSignalHandling();
    const ReasonWords chosenWords(messageLanguageOfEnvironment());
    words = &chosenWords;

    const RenderArguments args = parseRenderArguments(programArguments(argc, argv));
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
        const QByteArray bytes = messageBytes(line);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        return kUsage;
    }
    case RenderArguments::Action::Render:
        break;
    }

    Toolkit toolkit(argv[0]);
    if (args.outDir)
        return convertAll(args, toolkit);
    return convert(args, toolkit);
}
