#include "RenderArguments.h"

#include "Version.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The extension of the path's last component, without its dot; empty for none.
std::string extensionOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

std::optional<int> pixelsIn(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < kMinPixels || value > kMaxPixels)
        return std::nullopt;
    return value;
}

RenderArguments usageError(std::string message)
{
    RenderArguments result;
    result.action = RenderArguments::Action::UsageError;
    result.error = std::move(message);
    return result;
}

}  // namespace

std::optional<OutputKind> outputKindNamed(std::string name)
{
    name = lower(std::move(name));
    if (name == "bmp") return OutputKind::Bmp;
    if (name == "emf") return OutputKind::Emf;
    if (name == "png") return OutputKind::Png;
    if (name == "svg") return OutputKind::Svg;
    if (name == "pdf") return OutputKind::Pdf;
    if (name == "json") return OutputKind::Json;
    if (name == "sbn" || name == "txt") return OutputKind::Chart;
    return std::nullopt;
}

bool isPicture(OutputKind kind)
{
    return kind != OutputKind::Json && kind != OutputKind::Chart;
}

RenderArguments parseRenderArguments(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help") {
            RenderArguments help;
            help.action = RenderArguments::Action::Help;
            return help;
        }
        if (arg == "-v" || arg == "--version") {
            RenderArguments version;
            version.action = RenderArguments::Action::Version;
            return version;
        }
    }

    RenderArguments result;
    std::vector<std::string> positional;
    std::optional<std::string> format;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);  // "-" is a path too: standard output
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name value" and "--name=value" alike.
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        if (name == "--header" || name == "--align-right") {
            if (value)
                return usageError(name + " takes no value");
            (name == "--header" ? result.header : result.alignRight) = true;
        } else if (name == "--row-height" || name == "--font-px") {
            const std::optional<std::string> text = takeValue();
            if (!text)
                return usageError(name + " needs a number");
            const std::optional<int> pixels = pixelsIn(*text);
            if (!pixels)
                return usageError(name + " takes a whole number from " + std::to_string(kMinPixels) +
                                  " to " + std::to_string(kMaxPixels) + ", not '" + *text + "'");
            (name == "--row-height" ? result.rowHeight : result.fontPixels) = pixels;
        } else if (name == "--font") {
            const std::optional<std::string> family = takeValue();
            if (!family || family->empty())
                return usageError("--font needs a font family");
            result.fontFamily = family;
        } else if (name == "--format") {
            format = takeValue();
            if (!format)
                return usageError("--format needs a format");
        } else {
            return usageError("unknown option " + arg);
        }
    }

    if (positional.size() != 2)
        return usageError("CHART and OUTPUT are needed, " + std::to_string(positional.size()) +
                          (positional.size() == 1 ? " argument was" : " arguments were") + " given");
    result.chart = positional[0];
    result.output = positional[1];
    if (result.chart.empty() || result.output.empty())
        return usageError("CHART and OUTPUT must not be empty");

    std::optional<OutputKind> kind;
    if (format) {
        kind = outputKindNamed(*format);
        if (!kind)
            return usageError("unknown format '" + *format + "'");
    } else if (result.output == "-") {
        return usageError("--format is needed when OUTPUT is '-'");
    } else {
        kind = outputKindNamed(extensionOf(result.output));
        if (!kind)
            return usageError("cannot tell the format from '" + result.output + "': use --format");
    }
    result.kind = *kind;
    return result;
}

std::string renderUsage()
{
    return "Usage: solvena-render [OPTION]... CHART OUTPUT\n"
           "Writes CHART, a chart file (.sbn or .txt) or WaveJSON (.json), to OUTPUT. Needs no\n"
           "display. The extension of OUTPUT picks the format:\n"
           "  .bmp        bitmap, as the editor's bitmap export makes it\n"
           "  .emf        enhanced metafile, as the editor's metafile export makes it\n"
           "  .png        the bitmap's picture\n"
           "  .svg, .pdf  the metafile's picture with real lines and text\n"
           "  .json       the chart as WaveJSON\n"
           "  .sbn, .txt  the chart file written again\n"
           "OUTPUT '-' writes to standard output; --format then names the format.\n"
           "OUTPUT is written under exactly the name given, through a temporary file that\n"
           "replaces it only once complete; a link is followed to the file it leads to.\n"
           "A FIFO or a character device (a pipe, /dev/null, a terminal, /dev/stdout) is\n"
           "written into as it is, and /dev/stdout redirected to a file gets the bytes at\n"
           "its end; such writes cannot be all or nothing. A folder, a socket or a block\n"
           "device is refused.\n"
           "\n"
           "Options (the drawing options do nothing for .json, .sbn and .txt):\n"
           "  --header          draw the header row too, as the editor's grid shows it\n"
           "  --row-height N    make every signal row N pixels high (1-1000, default 25)\n"
           "  --align-right     align the signal names to the right of the name column\n"
           "  --font FAMILY     draw the signal names and labels in FAMILY\n"
           "  --font-px N       make that font N pixels high (1-1000, default 13)\n"
           "  --format FMT      write FMT (bmp, emf, png, svg, pdf, json, sbn or txt)\n"
           "                    whatever the extension of OUTPUT\n"
           "  -h, --help        show this help and exit\n"
           "  -v, --version     show the version and exit\n"
           "\n"
           "Exit status: 0 when OUTPUT was written; 1 when CHART could not be read or OUTPUT\n"
           "could not be written (the reason on standard error, no partial file left); 2 for a\n"
           "wrong command line. Ended by a signal (Ctrl+C, timeout), it leaves no temporary\n"
           "file and ends as that signal ends a program.\n";
}

std::string renderVersion()
{
    return std::string("solvena-render ") + kSolvenaVersion + "\n";
}
