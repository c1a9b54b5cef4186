#include "formats/ChartFileIO.h"

#include "storage/FileIO.h"

#include <string>
#include <string_view>

ChartFileRead readChartFile(const QString& path)
{
    ChartFileRead read;
    const FileReadResult file = readFileBytes(path, kMaxChartFileBytes);
    if (!file.ok()) {
        read.error = file.error;
        return read;
    }
    read.identity = file.identity;
    read.chart = LoadChart(std::string_view(file.bytes.constData(), static_cast<size_t>(file.bytes.size())));
    if (!read.chart.ok)
        read.error = atLine(read.chart.errorLine, read.chart.errorReason);
    else if (read.chart.warningLine > 0)
        read.warning = atLine(read.chart.warningLine, read.chart.warningReason);
    return read;
}

Reason writeChartFile(const QString& path, const TCell& chart, const GridLayout& layout,
                      FileIdentity* written)
{
    std::string bytes;
    try {
        bytes = SaveChart(chart, layout);
    } catch (const ReasonError& refusal) {
        return refusal.reason();
    }
    return writeFileAtomically(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                               written);
}
