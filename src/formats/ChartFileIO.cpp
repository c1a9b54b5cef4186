#include "formats/ChartFileIO.h"

#include "storage/FileIO.h"

namespace solvena {

ChartFileRead readWholeChartFile(const QString& path, LoadedChart (*parse)(std::string_view bytes))
{
    ChartFileRead read;
    const FileReadResult file = readFileBytes(path, kMaxChartFileBytes);
    if (!file.ok()) {
        read.error = file.error;
        return read;
    }
    read.identity = file.identity;
    read.chart = parse(std::string_view(file.bytes.constData(), static_cast<size_t>(file.bytes.size())));
    if (!read.chart.ok)
        read.error = read.chart.errorLine > 0 ? atLine(read.chart.errorLine, read.chart.errorReason)
                                              : read.chart.errorReason;
    else if (read.chart.warningLine > 0)
        read.warning = atLine(read.chart.warningLine, read.chart.warningReason);
    return read;
}

ChartFileRead readChartFile(const QString& path)
{
    return readWholeChartFile(path, &readChart);
}

}  // namespace solvena
