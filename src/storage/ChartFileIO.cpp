#include "storage/ChartFileIO.h"

#include "storage/FileIO.h"

#include <stdexcept>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

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
    const auto where = [](int line, const std::string& reason) {
        return u"%1 行目: %2"_s.arg(line).arg(QString::fromStdString(reason));
    };
    if (!read.chart.ok)
        read.error = where(read.chart.errorLine, read.chart.errorReason);
    else if (read.chart.warningLine > 0)
        read.warning = where(read.chart.warningLine, read.chart.warningReason);
    return read;
}

QString writeChartFile(const QString& path, const TCell& chart, const GridLayout& layout,
                       FileIdentity* written)
{
    std::string bytes;
    try {
        bytes = SaveChart(chart, layout);
    } catch (const std::invalid_argument& refusal) {
        return QString::fromUtf8(refusal.what());
    }
    return writeFileAtomically(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                               written);
}
