#include "formats/VcdFile.h"

#include "storage/FileByteSource.h"
#include "formats/VcdChart.h"
#include "formats/VcdReader.h"

namespace solvena {

namespace {

Reason reasonAt(int64_t line, const Reason& reason)
{
    return line > 0 ? atLine(line, reason) : reason;
}

}  // namespace

VcdHeaderRead readVcdHeaderFile(const QString& path)
{
    VcdHeaderRead read;
    const std::unique_ptr<FileByteSource> source = FileByteSource::open(path, read.error);
    if (!source) return read;
    VcdReader reader(*source);
    if (!reader.readHeader()) {
        read.error = reasonAt(reader.error().line, reader.error().reason);
        return read;
    }
    read.header = std::make_shared<const VcdHeader>(reader.header());
    return read;
}

ChartFileRead readVcdChartFile(const QString& path, const VcdChoices& choices)
{
    ChartFileRead read;
    const std::unique_ptr<FileByteSource> source = FileByteSource::open(path, read.error);
    if (!source) return read;
    read.chart = readVcdChart(*source, choices);
    if (!read.chart.ok) read.error = reasonAt(read.chart.errorLine, read.chart.errorReason);
    return read;
}

}  // namespace solvena
