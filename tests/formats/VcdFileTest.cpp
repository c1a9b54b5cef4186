// Dumps read from the file system: regular files only, pipes through a descriptor, and
// the reasons the user sees.
#include "storage/FileByteSource.h"
#include "formats/VcdChart.h"
#include "storage/NativePath.h"
#include "formats/VcdFile.h"

#include "ReasonText.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace solvena;

namespace {

const std::string kDump = "$timescale 1ns $end\n$scope module t $end\n$var wire 1 ! a $end\n$var wire 2 % b $end\n"
                          "$upscope $end\n$enddefinitions $end\n#0\n$dumpvars 0! b10 % $end\n#5 1!\n#10 0! b01 %\n#15\n";

VcdChoices everyStep()
{
    VcdChoices choices;
    choices.signalNames = {"a", "b[*]"};
    choices.stepFemtoseconds = 5'000'000;
    choices.steps = 4;
    return choices;
}

std::string levelsOf(const LoadedChart& chart, int row)
{
    std::string levels;
    for (int c = 1; c < chart.colCount; ++c) levels += "01x"[chart.chart->level[c][row]];
    return levels;
}

// Under the name's very bytes, UTF-8 or not (a Shift_JIS name from an archive).
TEST(VcdFile, AFileReadsIntoAChart)
{
    QTemporaryDir dir;
    for (const std::string name : {"run.vcd", "\x83\x5e\x83\x43.vcd"}) {
        SCOPED_TRACE(name);
        const std::string bytes = QFile::encodeName(dir.path()).toStdString() + '/' + name;
        std::ofstream(bytes, std::ios::binary) << kDump;
        const QString path = pathFromNativeBytes(bytes);
        const VcdHeaderRead header = readVcdHeaderFile(path);
        ASSERT_TRUE(header.ok()) << header.error;
        EXPECT_EQ(header.header->vars.size(), 2u);
        const ChartFileRead read = readVcdChartFile(path, everyStep());
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(levelsOf(read.chart, 1), "0100");
        EXPECT_EQ(levelsOf(read.chart, 2), "1100");
        EXPECT_EQ(levelsOf(read.chart, 3), "0011");
        ::unlink(bytes.c_str());  // QTemporaryDir cannot remove a name that is not UTF-8
    }
}

TEST(VcdFile, AMalformedLineIsNamedWithItsNumber)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.vcd"));
    ASSERT_TRUE(writeTestFile(path, QByteArray::fromStdString(kDump + "#20 2!\n")));
    VcdChoices choices = everyStep();
    choices.steps = 6;
    const ChartFileRead read = readVcdChartFile(path, choices);
    EXPECT_TRUE(japaneseText(read.error).startsWith(QStringLiteral("12 行目: ")));
    EXPECT_TRUE(japaneseText(read.error).contains(QStringLiteral("「2!」"))) << read.error;
    // The choices' own faults have no line.
    choices.signalNames = {"c"};
    EXPECT_EQ(japaneseText(readVcdChartFile(path, choices).error), QStringLiteral("信号「c」はダンプにありません"));
}

struct NotAFileCase {
    const char* label;
    int kind;  // 0 missing, 1 folder, 2 FIFO
    const char* reason;
};

class VcdNotAFile : public testing::TestWithParam<NotAFileCase> {};

TEST_P(VcdNotAFile, IsRefusedWithoutWaiting)
{
    const NotAFileCase& t = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.vcd"));
    if (t.kind == 1) {
        ASSERT_TRUE(QDir().mkdir(path));
    } else if (t.kind == 2) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    // A FIFO without a writer would block a reader that opened it for reading.
    const VcdHeaderRead header = readVcdHeaderFile(path);
    EXPECT_FALSE(header.error.empty());
    EXPECT_TRUE(japaneseText(header.error).contains(QString::fromUtf8(t.reason))) << header.error;
    EXPECT_EQ(header.header, nullptr);
    EXPECT_EQ(readVcdChartFile(path, everyStep()).error, header.error);
}

const NotAFileCase kNotFiles[] = {
    {"Missing", 0, ""},  // the system's words, in its language
    {"Folder", 1, "フォルダ"},
    {"Fifo", 2, "名前付きパイプ"},
};

INSTANTIATE_TEST_SUITE_P(Cases, VcdNotAFile, testing::ValuesIn(kNotFiles),
                         [](const testing::TestParamInfo<NotAFileCase>& info) { return std::string(info.param.label); });

TEST(VcdPipe, ShortReadsFromAPipeGiveTheSameChart)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    // The writer hands the dump over in small pieces with pauses, so the reader meets
    // words cut at every place a short read can cut them.
    std::thread writer([fd = ends[1]] {
        for (size_t at = 0; at < kDump.size(); at += 3) {
            const size_t n = std::min<size_t>(3, kDump.size() - at);
            if (::write(fd, kDump.data() + at, n) != static_cast<ssize_t>(n)) break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::close(fd);
    });
    const std::unique_ptr<FileByteSource> source = FileByteSource::fromDescriptor(ends[0]);
    const LoadedChart chart = readVcdChart(*source, everyStep());
    writer.join();
    ::close(ends[0]);
    ASSERT_TRUE(chart.ok) << chart.errorReason;
    EXPECT_EQ(levelsOf(chart, 1), "0100");
    EXPECT_EQ(levelsOf(chart, 3), "0011");
}

TEST(VcdPipe, AFailedReadIsReportedNotTakenForTheEnd)
{
    QTemporaryDir dir;
    // Reading a folder's descriptor fails (EISDIR): a real read error.
    const int fd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    const std::unique_ptr<FileByteSource> source = FileByteSource::fromDescriptor(fd);
    const LoadedChart chart = readVcdChart(*source, everyStep());
    ::close(fd);
    EXPECT_FALSE(chart.ok);
    EXPECT_EQ(chart.errorReason, Reason(ReasonKind::VcdCannotRead, {Reason(ReasonKind::System, {EISDIR})}));
}

}  // namespace
