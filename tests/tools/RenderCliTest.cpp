// solvena-render as its users run it: the built program on real files, its outputs,
// exit statuses and what it leaves behind.
#include "pictures/PictureFormats.h"
#include "formats/ChartFileIO.h"
#include "formats/WaveJson.h"

#include "RawProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

const QString kExample = QStringLiteral(TEST_DATA_DIR "/charts/example.sbn");
const std::string kRender = SOLVENA_RENDER;

std::string bytesOf(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

struct Outcome {
    int status = -1;
    QByteArray out;
    QString err;
};

// The environment of an English-speaking user, whatever the test's is.
const std::vector<std::pair<std::string, std::string>> kEnglish = {
    {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "C"}};

Outcome render(const QStringList& args, const QString& stdoutFile = {}, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);  // it never needs one, whatever the platform asked for
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    for (const auto& [key, value] : kEnglish)
        env.insert(QString::fromStdString(key), QString::fromStdString(value));
    process.setProcessEnvironment(env);
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(QStringLiteral(SOLVENA_RENDER), args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

uint32_t le32(const QByteArray& bytes, int at)
{
    return uint8_t(bytes[at]) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

// A format, and what its bytes must be for the example chart.
struct Format {
    const char* extension;
    std::function<void(const QByteArray&)> check;
};

}  // namespace

TEST(RenderCli, WritesEveryFormatToTheGivenPathAndToStandardOutput)
{
    const QByteArray example = readTestFile(kExample);
    const ChartFileRead read = readChartFile(kExample);
    ASSERT_TRUE(read.ok());
    const GridLayout layout = read.chart.layout();
    const ChartPicture picture{*read.chart.chart, layout, grid_defaults::headerFont(), false};
    // What the window's bitmap export writes for the same chart.
    StringSink windowBitmap;
    writePicture(windowBitmap, picture, PictureFormat::Bmp);
    const QImage bitmap = QImage::fromData(QByteArray::fromStdString(windowBitmap.bytes()), "BMP");
    ASSERT_EQ(bitmap.size(), QSize(175, 75));

    const Format formats[] = {
        {"bmp", [&](const QByteArray& b) { EXPECT_EQ(b.toStdString(), windowBitmap.bytes()); }},
        {"png",
         [&](const QByteArray& b) {
             EXPECT_EQ(QImage::fromData(b, "PNG").convertToFormat(QImage::Format_RGB32), bitmap.convertToFormat(QImage::Format_RGB32));
         }},
        {"emf",
         [&](const QByteArray& b) {
             ASSERT_GE(b.size(), 108);
             EXPECT_EQ(le32(b, 40), 0x464D4520u);
             EXPECT_EQ(le32(b, 16), 174u) << "right bound";
             EXPECT_EQ(le32(b, 20), 124u) << "bottom bound: the metafile keeps the header band";
         }},
        {"svg", [&](const QByteArray& b) { EXPECT_TRUE(b.contains("viewBox=\"0 0 175 125\"")); }},
        {"pdf", [&](const QByteArray& b) { EXPECT_TRUE(b.startsWith("%PDF-") && b.contains("/MediaBox [0 0 131.25 93.75")); }},
        {"json", [&](const QByteArray& b) { EXPECT_EQ(b.toStdString(), writeWaveJson(*read.chart.chart, layout).text); }},
        {"sbn", [&](const QByteArray& b) { EXPECT_EQ(b, example) << "byte for byte"; }},
        {"txt", [&](const QByteArray& b) { EXPECT_EQ(b, example); }},
    };
    QTemporaryDir dir;
    for (const Format& format : formats) {
        SCOPED_TRACE(format.extension);
        const QString output = dir.filePath(u"chart."_s + QLatin1StringView(format.extension));
        const Outcome toFile = render({kExample, output});
        EXPECT_EQ(toFile.status, 0) << toFile.err.toStdString();
        format.check(readTestFile(output));
        const Outcome toStdout = render({u"--format"_s, QString::fromLatin1(format.extension).toUpper(), kExample, u"-"_s});
        EXPECT_EQ(toStdout.status, 0) << toStdout.err.toStdString();
        format.check(toStdout.out);
    }
}

TEST(RenderCli, DrawingOptionsChangeThePicture)
{
    struct Case {
        QStringList options;
        QSize size;
        bool samePixels;  // as without options
    };
    const Case cases[] = {
        {{}, {175, 75}, true},
        {{u"--header"_s}, {175, 100}, false},
        {{u"--row-height"_s, u"40"_s}, {175, 105}, false},  // the header row stays 25
        {{u"--row-height=7"_s}, {175, 39}, false},
        {{u"--align-right"_s}, {175, 75}, false},
        {{u"--font-px"_s, u"20"_s}, {175, 75}, false},
        {{u"--font"_s, u"DejaVu Serif"_s}, {175, 75}, false},
    };
    QTemporaryDir dir;
    QImage plain;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const QString output = dir.filePath(u"chart.png"_s);
        const Outcome run = render(c.options + QStringList{kExample, output});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QImage image(output);
        EXPECT_EQ(image.size(), c.size);
        if (plain.isNull())
            plain = image;
        EXPECT_EQ(image == plain, c.samePixels);
    }
}

TEST(RenderCli, ConvertsWaveJsonAndSaysWhatItLeftOut)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(u"in.json"_s);
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ signal: [ { name: 'clk', wave: 'p...' }, { name: 'd', wave: 'x.10', node: '..a' } ] }");
    file.close();
    const Outcome run = render({json, dir.filePath(u"out.sbn"_s)});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.contains(u"in.json: Left out, as a chart cannot hold them: nodes: 1"_s)) << run.err.toStdString();
    const ChartFileRead read = readChartFile(dir.filePath(u"out.sbn"_s));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.chart.rowCount, 3);
    EXPECT_EQ(read.chart.chart->signalName[1], "clk");

    const Outcome back = render({dir.filePath(u"out.sbn"_s), dir.filePath(u"back.json"_s)});
    EXPECT_EQ(back.status, 0);
    EXPECT_TRUE(readTestFile(dir.filePath(u"back.json"_s)).contains("\"clk\""));
}

// A dump becomes a chart through the --vcd-* options: a clock's edges make the steps,
// a vector is split into bits; a wrong option is a usage error.
TEST(RenderCli, ConvertsAValueChangeDumpByItsOptions)
{
    QTemporaryDir dir;
    const QString dump = dir.filePath(u"sim.vcd"_s);
    ASSERT_TRUE(writeTestFile(dump, "$timescale 1ns $end\n$scope module tb $end\n"
                                    "$var reg 1 ! clk $end\n$var reg 2 # bus [1:0] $end\n"
                                    "$upscope $end\n$enddefinitions $end\n"
                                    "#0\n$dumpvars\n0!\nb00 #\n$end\n#5\n1!\nb01 #\n#10\n0!\n#15\n1!\nb1x #\n#20\n0!\n"));
    const Outcome run = render({u"--vcd-signals"_s, u"clk,bus[*]"_s, u"--vcd-clock"_s, u"clk"_s, u"--vcd-steps"_s,
                                u"4"_s, dump, dir.filePath(u"out.sbn"_s)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const ChartFileRead read = readChartFile(dir.filePath(u"out.sbn"_s));
    ASSERT_TRUE(read.ok());
    const TCell& chart = *read.chart.chart;
    ASSERT_EQ(read.chart.rowCount, 4);
    EXPECT_EQ(chart.signalName[1], "clk");
    EXPECT_EQ(chart.signalName[2], "bus[1]");
    EXPECT_EQ(chart.signalName[3], "bus[0]");
    // The steps start at the clock's edges from the start on: 5, 10, 15 and 20 ns.
    const std::vector<std::vector<int>> levels = {{1, 0, 1, 0}, {0, 0, 1, 1}, {1, 1, 2, 2}};
    for (int row = 0; row < 3; ++row)
        for (int step = 0; step < 4; ++step)
            EXPECT_EQ(chart.level[step + 1][row + 1], levels[row][step]) << "row " << row << " step " << step;

    const Outcome wrong = render({u"--vcd-clock"_s, u"clk"_s, u"--vcd-step"_s, u"5ns"_s, dump, dir.filePath(u"x.sbn"_s)});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"x.sbn"_s)));
}

// A chart cut short is converted whole, with a warning that names the line.
TEST(RenderCli, WarnsOfAnInconsistentChartAndConvertsEveryStep)
{
    QTemporaryDir dir;
    const QString cut = dir.filePath(u"cut.sbn"_s);
    ASSERT_TRUE(writeTestFile(cut, "80 0 15 0 15 0 15 0\r\nA\r\n1 0 0 1 0 0 1 0 0\r\nB\r\n1 0 0 1"));
    const Outcome run = render({cut, dir.filePath(u"out.sbn"_s)});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.contains(u"cut.sbn: warning: line 5: "_s)) << run.err.toStdString();
    EXPECT_EQ(readTestFile(dir.filePath(u"out.sbn"_s)),
              "80 0 15 0 15 0 15 0\r\nA\r\n1 0 0 1 0 0 1 0 0\r\nB\r\n1 0 0 1 0 0 0 0 0");
}

TEST(RenderCli, ExitStatusesAndNothingLeftBehind)
{
    QTemporaryDir dir;
    const auto put = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString bad = put(u"bad.sbn"_s, "80 0 x");
    QByteArray hugeChart = "10000 0";
    for (int c = 1; c < 100; ++c)
        hugeChart += " 10000 0";
    const QString huge = put(u"huge.sbn"_s, hugeChart);
    const QString badJson = put(u"bad.json"_s, "{ reg: [ { bits: 8 } ] }");
    const QString badName = put(u"badname.sbn"_s, "80 0 15 0\r\nA\r\n0 0 0\r\n\xFF\r\n1 0 0");
    const QStringList inputs = entries(dir);
    const QString out = dir.filePath(u"out.png"_s);

    struct Case {
        QStringList args;
        int status;
        QString message;  // part of what standard error says
    };
    const Case cases[] = {
        {{}, 2, u"CHART and OUTPUT are needed"_s},
        {{kExample}, 2, u"1 argument was given"_s},
        {{u"--bogus"_s, kExample, out}, 2, u"unknown option --bogus"_s},
        {{u"--row-height"_s, u"1001"_s, kExample, out}, 2, u"from 1 to 1000, not '1001'"_s},
        {{u"--font-px"_s, u"12px"_s, kExample, out}, 2, u"not '12px'"_s},
        {{kExample, u"--row-height"_s}, 2, u"needs a number"_s},
        {{u"--header=yes"_s, kExample, out}, 2, u"takes no value"_s},
        {{kExample, dir.filePath(u"out.gif"_s)}, 2, u"use --format"_s},
        {{kExample, u"-"_s}, 2, u"--format is needed"_s},
        {{u"--format"_s, u"gif"_s, kExample, out}, 2, u"unknown format 'gif'"_s},
        {{dir.filePath(u"missing.sbn"_s), out}, 1, u"missing.sbn"_s},
        {{dir.path(), out}, 1, u"Not a regular file (a folder)"_s},
        {{bad, out}, 1, u"bad.sbn: line 1: "_s},
        {{badJson, out}, 1, u"bad.json"_s},
        {{huge, out}, 1, u"1000105 × 25"_s},
        {{badName, dir.filePath(u"out.json"_s)}, 1, u"signal name of row 2"_s},
        {{kExample, dir.filePath(u"no/such/folder/out.png"_s)}, 1, u"no/such/folder/out.png"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Outcome run = render(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(entries(dir), inputs) << "nothing written, nothing left";
    }

    // A full disk behind standard output is a failure, not a success.
    const Outcome full = render({u"--format"_s, u"png"_s, kExample, u"-"_s}, u"/dev/full"_s);
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.err.contains(u"standard output"_s)) << full.err.toStdString();

    const Outcome help = render({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: solvena-render [OPTION]... CHART OUTPUT"));
    const Outcome version = render({kExample, u"--version"_s});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "solvena-render " SOLVENA_VERSION "\n");
}

// Many charts into one folder: each as the one-chart form writes it, a chart that fails
// said by its name while the rest are written; what cannot work as a whole (two charts
// for one output, an output that is a chart, a folder that is not one) writes nothing.
TEST(RenderCli, WritesManyChartsIntoAFolder)
{
    struct Case {
        const char* label;
        QStringList args;           // "@" stands for the folder of the charts
        QByteArray input;           // standard input
        int status;
        QStringList written;        // in out/, besides what was there
        QStringList says;           // parts of standard error
    };
    const Case cases[] = {
        {"GoodAndDamaged",
         {u"--out-dir"_s, u"out"_s, u"--format"_s, u"png"_s, u"@/a.sbn"_s, u"@/bad.sbn"_s, u"@/b.json"_s,
          u"@/missing.sbn"_s, u"@/c.sbn"_s},
         {},
         1,
         {u"a.png"_s, u"b.png"_s},
         {u"@/bad.sbn: line 1: A value is not a whole number"_s, u"@/missing.sbn: No such file or directory"_s,
          u"out/c.png: Not a regular file (a folder)"_s, u"3 CHARTs were not written"_s}},
        {"ListOnStandardInput",
         {u"--format"_s, u"svg"_s, u"--out-dir=out/"_s, u"-"_s},
         "@/a.sbn\n\n@/b.json\n@/sub/c.sbn",
         0,
         {u"a.svg"_s, u"b.svg"_s, u"c.svg"_s},
         {}},
        {"SameOutputName",
         {u"--out-dir"_s, u"out"_s, u"--format"_s, u"png"_s, u"@/a.sbn"_s, u"@/c.sbn"_s, u"@/sub/c.sbn"_s},
         {},
         2,
         {},
         {u"@/c.sbn and @/sub/c.sbn would both be written to out/c.png"_s}},
        {"OutputIsAChart",
         {u"--out-dir"_s, u"@"_s, u"--format"_s, u"sbn"_s, u"@/b.json"_s, u"@/a.sbn"_s},
         {},
         2,
         {},
         {u"@/a.sbn is the CHART @/a.sbn itself"_s}},
        {"FolderIsAFile", {u"--out-dir"_s, u"@/a.sbn"_s, u"--format"_s, u"png"_s, u"@/c.sbn"_s}, {}, 2, {},
         {u"--out-dir @/a.sbn: Not a directory"_s}},
        {"FolderUnderAFile", {u"--out-dir"_s, u"@/a.sbn/x"_s, u"--format"_s, u"png"_s, u"@/c.sbn"_s}, {}, 2, {},
         {u"--out-dir @/a.sbn/x: Not a directory"_s}},
        {"FolderMissing", {u"--out-dir"_s, u"none"_s, u"--format"_s, u"png"_s, u"@/c.sbn"_s}, {}, 2, {},
         {u"--out-dir none: No such file or directory"_s}},
        {"NoFormat", {u"--out-dir"_s, u"out"_s, u"@/c.sbn"_s}, {}, 2, {}, {u"--out-dir needs --format"_s}},
        {"TwoLists", {u"--out-dir"_s, u"out"_s, u"--format"_s, u"png"_s, u"-"_s, u"-"_s}, {}, 2, {},
         {u"can be given only once"_s}},
    };
    const QByteArray example = readTestFile(kExample);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QTemporaryDir dir;
        const QString in = dir.filePath(u"in"_s);
        ASSERT_TRUE(QDir(dir.path()).mkpath(u"in/sub"_s) && QDir(dir.path()).mkpath(u"out/c.png"_s));
        ASSERT_TRUE(writeTestFile(in + u"/a.sbn"_s, example) && writeTestFile(in + u"/c.sbn"_s, example) &&
                    writeTestFile(in + u"/sub/c.sbn"_s, example) && writeTestFile(in + u"/bad.sbn"_s, "80 0 x") &&
                    writeTestFile(in + u"/b.json"_s, "{ signal: [ { name: 'clk', wave: 'p...' } ] }"));
        QStringList args = c.args;
        for (QString& arg : args)
            arg.replace(u'@', in);
        const QStringList before = QDir(in).entryList(QDir::Files);
        const Outcome run = [&] {
            // The relative folders are the temporary folder's.
            const QString here = QDir::currentPath();
            QDir::setCurrent(dir.path());
            const Outcome outcome = render(args, {}, QByteArray(c.input).replace('@', in.toUtf8()));
            QDir::setCurrent(here);
            return outcome;
        }();
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        for (QString says : c.says)
            EXPECT_TRUE(run.err.contains(says.replace(u'@', in))) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(u'\r')) << "no progress line off a terminal";
        EXPECT_EQ(QDir(dir.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden), c.written);
        EXPECT_EQ(QDir(in).entryList(QDir::Files), before);
        // Each picture is what the one-chart form writes.
        for (const QString& name : c.written) {
            if (!name.startsWith(u"a."_s))
                continue;
            const QString single = dir.filePath(u"single."_s) + name.mid(2);
            ASSERT_EQ(render({kExample, single}).status, 0);
            EXPECT_EQ(readTestFile(dir.filePath(u"out/"_s) + name), readTestFile(single));
        }
    }
}

// On a terminal, standard error shows how far the run is, on one line rewritten in
// place and taken away at the end; a message takes the line's place.
TEST(RenderCli, ShowsProgressOnATerminal)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeTestFile(dir.filePath(u"bad.sbn"_s), "80 0 x"));
    const std::string example = bytesOf(kExample);
    int terminal = -1;
    int side = -1;
    ASSERT_EQ(openpty(&terminal, &side, nullptr, nullptr, nullptr), 0);
    const std::vector<std::string> args = {kRender, "--out-dir", bytesOf(dir.path()), "--format", "png", example,
                                           bytesOf(dir.filePath(u"bad.sbn"_s))};
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(side, STDERR_FILENO);
        setenv("LC_ALL", "C", 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(side);
    std::string shown;
    char buffer[4096];
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;)  // EIO once the child is gone
        shown.append(buffer, size_t(n));
    close(terminal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string erase = "\r\x1b[K";
    EXPECT_TRUE(shown.starts_with("\rsolvena-render: 1/2 " + example + "\x1b[K" + "\rsolvena-render: 2/2 ")) << shown;
    EXPECT_NE(shown.find("bad.sbn\x1b[K" + erase + "solvena-render: " + bytesOf(dir.filePath(u"bad.sbn"_s)) +
                         ": line 1: "),
              std::string::npos)
        << shown;
    EXPECT_TRUE(shown.ends_with("number\r\nsolvena-render: 1 CHART was not written\r\n")) << shown;
}

// Names are the bytes given: two names that are not UTF-8 are two files under exactly
// those bytes (not one mangled name written twice), and an input named in Shift_JIS is
// read.
TEST(RenderCli, TakesNamesAsTheirBytes)
{
    QTemporaryDir dir;
    const std::string at = bytesOf(dir.path()) + "/";
    const std::string input = at + "\x83\x5e\x83\x43.sbn";
    ASSERT_EQ(runRaw(kRender, {bytesOf(kExample), input}).status, 0);
    for (const std::string output : {"\xff.sbn", "\xfe.sbn"}) {
        const RawOutcome run = runRaw(kRender, {input, at + output});
        EXPECT_EQ(run.status, 0) << run.err;
    }
    // Each under its own bytes, the two outputs being two files.
    for (const char* name : {"\x83\x5e\x83\x43.sbn", "\xff.sbn", "\xfe.sbn"}) {
        std::ifstream file(at + name, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), readTestFile(kExample).toStdString()) << name;
        // QTemporaryDir cannot remove a name that is not UTF-8.
        unlink((at + name).c_str());
    }
}

// Under a file-size limit (ulimit -f) a write that would pass it fails as on a full
// disk: status 1 with the reason, the old file as it was, nothing left behind.
TEST(RenderCli, AFileSizeLimitFailsTheWriteNotTheProgram)
{
    QTemporaryDir dir;
    const QString output = dir.filePath(u"out.bmp"_s);  // about 39 KB
    ASSERT_TRUE(writeTestFile(output, "old"));
    RawOptions limited;
    limited.fileSizeLimit = 5000;
    limited.environment = kEnglish;
    const RawOutcome run = runRaw(kRender, {bytesOf(kExample), bytesOf(output)}, limited);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("out.bmp: File too large"), std::string::npos) << run.err;
    EXPECT_EQ(readTestFile(output), "old");
    EXPECT_EQ(entries(dir), QStringList{u"out.bmp"_s});
}

// Ended by SIGINT or SIGTERM (Ctrl+C, timeout) while it writes, it removes its
// temporary file and ends by that signal; the old file is as it was.
TEST(RenderCli, AnInterruptedRunLeavesNoTemporaryFile)
{
    QTemporaryDir inputs;
    QByteArray chart = "80 0" + QByteArray(" 100 0").repeated(40);  // a 38 MB bitmap: time to catch it
    for (int r = 0; r < 99; ++r)
        chart += "\r\nS\r\n" + QByteArray("1 0 0 ").repeated(39) + "0 0 0";
    const QString big = inputs.filePath(u"big.sbn"_s);
    ASSERT_TRUE(writeTestFile(big, chart));

    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        QTemporaryDir dir;
        const QString output = dir.filePath(u"out.bmp"_s);
        ASSERT_TRUE(writeTestFile(output, "old"));
        const int watch = inotify_init1(IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(watch, bytesOf(dir.path()).c_str(), IN_CREATE), 0);

        RawProcess run(kRender, {"--row-height", "30", bytesOf(big), bytesOf(output)});
        // The moment any other file appears beside the output, the signal goes.
        alignas(inotify_event) char event[sizeof(inotify_event) + NAME_MAX + 1];
        pollfd ready{watch, POLLIN, 0};
        ASSERT_EQ(poll(&ready, 1, 30000), 1) << "no temporary file was made";
        ASSERT_GT(read(watch, event, sizeof event), 0);
        kill(run.pid(), signal);
        close(watch);

        const RawOutcome outcome = run.wait();
        EXPECT_EQ(outcome.signal, signal) << outcome.err;
        EXPECT_EQ(readTestFile(output), "old");
        EXPECT_EQ(entries(dir), QStringList{u"out.bmp"_s});
    }
}

// /dev/stdout is written into, never replaced: into a pipe, and into a file it was
// redirected to, after what the file holds (as "{ echo; solvena-render ...; } > file").
TEST(RenderCli, WritesIntoStandardOutputByName)
{
    QTemporaryDir dir;
    const QByteArray chart = readTestFile(kExample);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const QString redirected = dir.filePath(u"redirected.txt"_s);
    ASSERT_TRUE(writeTestFile(redirected, "before\n"));
    struct stat before {};
    ASSERT_EQ(stat(bytesOf(redirected).c_str(), &before), 0);
    const int appended = open(bytesOf(redirected).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);

    for (const int out : {ends[1], appended}) {
        RawOptions options;
        options.standardOutput = out;
        const RawOutcome run = runRaw(kRender, {"--format", "sbn", bytesOf(kExample), "/dev/stdout"}, options);
        EXPECT_EQ(run.status, 0) << run.err;
    }
    close(ends[1]);
    close(appended);
    QByteArray piped(chart.size() + 1, '\0');
    piped.truncate(std::max<ssize_t>(read(ends[0], piped.data(), size_t(piped.size())), 0));
    close(ends[0]);
    EXPECT_EQ(piped, chart);
    EXPECT_EQ(readTestFile(redirected), "before\n" + chart);
    struct stat after {};
    ASSERT_EQ(stat(bytesOf(redirected).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(entries(dir), QStringList{u"redirected.txt"_s});
}

// One command speaks one language: LC_ALL, else LC_MESSAGES, else LANG picks it, and
// every line it says, its own and the reasons from the shared code alike, is in it.
TEST(RenderCli, SpeaksTheLanguageTheLocaleNames)
{
    QTemporaryDir dir;
    const std::string at = bytesOf(dir.path()) + "/";
    ASSERT_TRUE(writeTestFile(dir.filePath(u"bad.sbn"_s), "80 0 x"));
    const std::string example = bytesOf(kExample);
    const std::vector<std::pair<std::string, std::string>> ja = {
        {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "ja_JP.UTF-8"}};
    struct Case {
        const char* label;
        std::vector<std::pair<std::string, std::string>> environment;
        std::vector<std::string> args;
        int status;
        std::string says;        // a whole line, or the start of standard output
        bool onStandardOutput = false;
    };
    const Case cases[] = {
        {"MissingFileJa", ja, {at + "missing.sbn", at + "out.png"}, 1,
         "solvena-render: " + at + "missing.sbn: ファイルまたはフォルダがありません\n"},
        {"MissingFileEn", kEnglish, {at + "missing.sbn", at + "out.png"}, 1,
         "solvena-render: " + at + "missing.sbn: No such file or directory\n"},
        {"DamagedChartJa", ja, {at + "bad.sbn", at + "out.png"}, 1,
         "solvena-render: " + at + "bad.sbn: 1 行目: 整数でない値があります\n"},
        {"DamagedChartEn", kEnglish, {at + "bad.sbn", at + "out.png"}, 1,
         "solvena-render: " + at + "bad.sbn: line 1: A value is not a whole number\n"},
        {"UsageJa", ja, {"--bogus", example, at + "out.png"}, 2,
         "solvena-render: --bogus というオプションはありません\n詳しくは 'solvena-render --help' を見てください。\n"},
        {"UsageEn", kEnglish, {"--bogus", example, at + "out.png"}, 2,
         "solvena-render: unknown option --bogus\nTry 'solvena-render --help' for more information.\n"},
        {"NoticeJa", ja, {"--format", "json", example, "-"}, 0,
         "solvena-render: 標準出力: WaveJSON で表せない遅延、エッジの矢印、数値表示、タイミング線は書き出していません\n"},
        {"NoticeEn", kEnglish, {"--format", "json", example, "-"}, 0,
         "solvena-render: standard output: Not written, as WaveJSON cannot hold them: delays, edge arrows, number "
         "labels, timing lines\n"},
        {"HelpJa", ja, {"--help"}, 0, "使い方: solvena-render [オプション]... CHART OUTPUT\n", true},
        {"HelpEn", kEnglish, {"--help"}, 0, "Usage: solvena-render [OPTION]... CHART OUTPUT\n", true},
        {"AllBeforeMessages", {{"LC_ALL", "C.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "ja_JP.UTF-8"}},
         {at + "missing.sbn", at + "out.png"}, 1, "missing.sbn: No such file or directory\n"},
        {"MessagesBeforeLang", {{"LC_ALL", ""}, {"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}},
         {at + "missing.sbn", at + "out.png"}, 1, "missing.sbn: ファイルまたはフォルダがありません\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RawOptions options;
        options.environment = c.environment;
        const RawOutcome run = runRaw(kRender, c.args, options);
        EXPECT_EQ(run.status, c.status);
        if (c.onStandardOutput) {
            EXPECT_TRUE(run.out.starts_with(c.says)) << run.out;
        } else {
            EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        }
        const bool ascii = std::all_of(run.err.begin(), run.err.end(), [](char ch) { return ch > 0; });
        EXPECT_TRUE(ascii || c.environment != kEnglish) << run.err;
    }
    EXPECT_EQ(entries(dir), QStringList{u"bad.sbn"_s});
}

// A standard output the command was started without is said to be closed, whatever
// name it is written by, and nothing is written elsewhere in its place; a socket as
// standard output is written into by either name.
TEST(RenderCli, ClosedOrSocketStandardOutput)
{
    const std::string example = bytesOf(kExample);
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case closed[] = {
        {{"--format", "png", example, "-"}, "solvena-render: standard output: Not open"},
        {{"--format", "png", example, "/dev/stdout"}, "solvena-render: /dev/stdout: Not open"},
        {{"--format", "sbn", example, "/dev/fd/1"}, "solvena-render: /dev/fd/1: Not open"},
        {{"--help"}, "solvena-render: standard output: Not open"},
    };
    for (const Case& c : closed) {
        SCOPED_TRACE(c.args.back());
        RawOptions options;
        options.environment = kEnglish;
        options.standardOutputClosed = true;
        const RawOutcome run = runRaw(kRender, c.args, options);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.says + " (the command was started with it closed)\n");
    }
    // A file named as OUTPUT is written as ever; nothing strays into the closed place.
    QTemporaryDir dir;
    RawOptions closedOnly;
    closedOnly.standardOutputClosed = true;
    const RawOutcome toFile = runRaw(kRender, {example, bytesOf(dir.filePath(u"out.png"_s))}, closedOnly);
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(QImage(dir.filePath(u"out.png"_s)).size(), QSize(175, 75));

    const QByteArray chart = readTestFile(kExample);
    for (const char* name : {"-", "/dev/stdout"}) {
        SCOPED_TRACE(name);
        int ends[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        RawOptions options;
        options.standardOutput = ends[0];
        const RawOutcome run = runRaw(kRender, {"--format", "sbn", example, name}, options);
        EXPECT_EQ(run.status, 0) << run.err;
        close(ends[0]);
        QByteArray received(chart.size() + 1, '\0');
        received.truncate(std::max<ssize_t>(recv(ends[1], received.data(), size_t(received.size()), MSG_WAITALL), 0));
        close(ends[1]);
        EXPECT_EQ(received, chart);
    }
}
