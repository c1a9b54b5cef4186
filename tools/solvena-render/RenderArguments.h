#pragma once
// The command line of solvena-render: what to read, what to write, and how to draw it.

#include "formats/ChartFormats.h"
#include "pictures/PictureFormats.h"
#include "text/Reason.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace solvena {

// What solvena-render writes: a picture, or the chart in a format of its own; one of
// the two is set.
struct OutputFormat {
    const PictureFormatRow* picture = nullptr;
    const ChartFormat* chart = nullptr;
};

// The format a --format name or an OUTPUT's extension names ("png", "SBN", ...): a
// picture format, or a chart format that is written; none for others.
std::optional<OutputFormat> outputFormatNamed(std::string_view name);

struct RenderArguments {
    enum class Action { Render, Help, Version, UsageError };
    Action action = Action::Render;
    std::string chart;
    std::string output;            // "-" is standard output
    // Many charts in one run (--out-dir): each written to outDir/<name>.<format>. A
    // chart "-" stands for the list of paths on standard input.
    std::optional<std::string> outDir;
    std::vector<std::string> charts;
    OutputFormat format;
    ChartReadOptions read;         // the --vcd-* options, for a dump
    bool header = false;
    bool alignRight = false;
    std::optional<int> rowHeight;
    std::optional<int> fontPixels;
    std::optional<std::string> fontFamily;
    Reason error;                  // what is wrong (UsageError)
};

// The window's limits for a row height, kept by --row-height and --font-px alike.
inline constexpr int kMinPixels = 1;
inline constexpr int kMaxPixels = 1000;

// The extension of the path's last component, without its dot; empty for none.
std::string extensionOf(const std::string& path);

// Reads the arguments after the program name. --help and --version win over any
// other argument before "--".
RenderArguments parseRenderArguments(const std::vector<std::string>& args);

class ReasonWords;

// The text of --help, in the words' language, and the line of --version.
QString renderUsage(const ReasonWords& words);
std::string renderVersion();

}  // namespace solvena
