#include "formats/ChartFormats.h"

#include "formats/VcdFile.h"
#include "formats/WaveJson.h"
#include "storage/FileIO.h"
#include "text/TableRows.h"

#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

ChartFileRead chartFileByPath(const QString& path, const ChartReadOptions&)
{
    return readWholeChartFile(path, &readChart);
}

ChartFileRead waveJsonByPath(const QString& path, const ChartReadOptions&)
{
    return readWholeChartFile(path, &readWaveJson);
}

ChartFileRead vcdByPath(const QString& path, const ChartReadOptions& options)
{
    return readVcdChartFile(path, options.vcd.value_or(VcdChoices{}));
}

WrittenChart chartFileBytes(const TCell& chart, const GridLayout& layout)
{
    return {writeChart(chart, layout), {}};
}

WrittenChart waveJsonBytes(const TCell& chart, const GridLayout& layout)
{
    WaveJsonExport json = writeWaveJson(chart, layout);
    WrittenChart written{std::move(json.text), {}};
    if (!json.notice.empty())
        written.notes.push_back(std::move(json.notice));
    return written;
}

template <typename Keep>
std::vector<const ChartFormat*> formatsWhere(Keep keep)
{
    std::vector<const ChartFormat*> kept;
    for (const ChartFormat& format : chartFormats())
        if (keep(format))
            kept.push_back(&format);
    return kept;
}

QString filterOf(const std::vector<const ChartFormat*>& formats, QString ChartFormat::*entry)
{
    QStringList parts;
    for (const ChartFormat* format : formats)
        parts << format->*entry << format->pattern();
    return parts.join(u'|');
}

const ChartFormat& entryOf(const std::vector<const ChartFormat*>& formats, int entry)
{
    if (entry < 1 || entry > int(formats.size()))
        throw std::out_of_range("no such entry in the dialog's filter");
    return *formats[size_t(entry - 1)];
}

std::vector<const ChartFormat*> opened()
{
    return formatsWhere([](const ChartFormat& f) { return !f.openEntry.isEmpty(); });
}

std::vector<const ChartFormat*> savedAsDocument()
{
    return formatsWhere([](const ChartFormat& f) { return f.document && f.write; });
}

}  // namespace

QString ChartFormat::pattern() const
{
    return u"*"_s + extension();
}

QString ChartFormat::extension() const
{
    return u"."_s + QString::fromLatin1(name.data(), qsizetype(name.size()));
}

const std::vector<ChartFormat>& chartFormats()
{
    // The Open dialog lists them in this order, the chart's own formats first.
    static const std::vector<ChartFormat> formats{
        {ChartFormatId::ChartFile, "sbn", u"ソルベナファイル（*.sbn）"_s, u"ソルベナファイル(*.sbn)"_s, true,
         &chartFileByPath, &chartFileBytes},
        {ChartFormatId::TextFile, "txt", u"テキストファイル（*.txt）"_s, u"テキストファイル(*.txt)"_s, true,
         &chartFileByPath, &chartFileBytes},
        {ChartFormatId::WaveJson, "json", u"WaveJSON ファイル(*.json)"_s, u"WaveJSON ファイル(*.json)"_s, false,
         &waveJsonByPath, &waveJsonBytes},
        {ChartFormatId::Vcd, "vcd", u"VCD ファイル(*.vcd)"_s, QString(), false, &vcdByPath, nullptr},
    };
    return formats;
}

const ChartFormat& chartFormat(ChartFormatId id)
{
    return rowWithId(chartFormats(), id);
}

const ChartFormat* chartFormatNamed(std::string_view name)
{
    return rowNamed(chartFormats(), name);
}

const ChartFormat* chartFormatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return nullptr;
    return chartFormatNamed(suffix.toStdString());
}

QString openFilter()
{
    return filterOf(opened(), &ChartFormat::openEntry);
}

const ChartFormat& openEntryFormat(int entry)
{
    return entryOf(opened(), entry);
}

QString saveFilter()
{
    return filterOf(savedAsDocument(), &ChartFormat::saveEntry);
}

const ChartFormat& saveEntryFormat(int entry)
{
    return entryOf(savedAsDocument(), entry);
}

QString saveFilterOf(const ChartFormat& format)
{
    return filterOf({&format}, &ChartFormat::saveEntry);
}

Reason writeChartAs(const QString& path, const ChartFormat& format, const TCell& chart,
                    const GridLayout& layout, std::vector<Reason>* notes, FileIdentity* written)
{
    if (!format.write)
        throw std::logic_error("a chart format that is only read");
    WrittenChart out;
    try {
        out = format.write(chart, layout);
    } catch (const ReasonError& refusal) {
        return refusal.reason();
    }
    if (notes)
        *notes = std::move(out.notes);
    return writeFileAtomically(path, QByteArrayView(out.bytes.data(), qsizetype(out.bytes.size())), written);
}

}  // namespace solvena
