#pragma once
// The chart formats the program reads and writes, as one table: the Open and Save
// dialogs, the command line and the window all go by it. A new format is its reader
// (and writer) and one row here.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "formats/ChartFileIO.h"
#include "formats/VcdChoices.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

enum class ChartFormatId { ChartFile, TextFile, WaveJson, Vcd };

// What a format's reader is given besides the path: the choices of a format that asks
// for them (a value change dump: which signals, which steps).
struct ChartReadOptions {
    std::optional<VcdChoices> vcd;
};

// A chart as a format writes it: the bytes, and what the format could not hold.
struct WrittenChart {
    std::string bytes;
    std::vector<Reason> notes;
};

struct ChartFormat {
    ChartFormatId id;
    std::string_view name;       // "sbn": the extension and the command line's --format
    QString openEntry;           // the Open dialog's description, empty when not there
    QString saveEntry;           // a save dialog's description, empty for formats only read
    // The chart's own file, opened titled and unmodified and saved again; any other
    // format is imported: the chart opens untitled and modified, so that Save asks
    // where to write a chart file.
    bool document;
    ChartFileRead (*read)(const QString& path, const ChartReadOptions& options);
    // Throws ReasonError for a chart the format cannot hold; null for formats only read.
    WrittenChart (*write)(const TCell& chart, const GridLayout& layout);

    QString pattern() const;     // "*.sbn"
    QString extension() const;   // ".sbn"
};

const std::vector<ChartFormat>& chartFormats();
const ChartFormat& chartFormat(ChartFormatId id);

// The format of a --format name or an extension ("sbn", "JSON"); none for others.
const ChartFormat* chartFormatNamed(std::string_view name);
// The format a file's name says by its extension; none when it says none.
const ChartFormat* chartFormatOfPath(const QString& path);

// The Open dialog's filter: every format it opens, in the table's order
// ("description|*.ext|..."); and the format of its 1-based entry.
QString openFilter();
const ChartFormat& openEntryFormat(int entry);
// The Save dialog's filter (the chart's own formats) and the format of its entry.
QString saveFilter();
const ChartFormat& saveEntryFormat(int entry);
// A dialog filter of one format.
QString saveFilterOf(const ChartFormat& format);

// Writes the chart at `path` in `format`, all or nothing; the notes say what the format
// could not hold. The reason on failure, none on success; `written`, when given,
// receives the identity of the file written.
Reason writeChartAs(const QString& path, const ChartFormat& format, const TCell& chart,
                    const GridLayout& layout, std::vector<Reason>* notes = nullptr,
                    FileIdentity* written = nullptr);

}  // namespace solvena
