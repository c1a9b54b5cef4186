#pragma once
// The command line of solvena-render: what to read, what to write, and how to draw it.

#include "text/Reason.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

// What solvena-render can write; a picture or the chart as text.
enum class OutputKind { Bmp, Emf, Png, Svg, Pdf, Json, Chart };

// The kind a --format name or an OUTPUT's extension names ("png", "SBN", ...).
std::optional<OutputKind> outputKindNamed(std::string name);

// Whether the kind is made by the renderer (and needs fonts), not by a chart writer.
bool isPicture(OutputKind kind);

struct RenderArguments {
    enum class Action { Render, Help, Version, UsageError };
    Action action = Action::Render;
    std::string chart;
    std::string output;            // "-" is standard output
    OutputKind kind = OutputKind::Png;
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

// Reads the arguments after the program name. --help and --version win over any
// other argument before "--".
RenderArguments parseRenderArguments(const std::vector<std::string>& args);

class ReasonWords;

// The text of --help, in the words' language, and the line of --version.
QString renderUsage(const ReasonWords& words);
std::string renderVersion();
