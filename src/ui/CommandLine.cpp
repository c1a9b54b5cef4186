#include "ui/CommandLine.h"

#include "Version.h"
#include "storage/NativePath.h"
#include "text/Utf8.h"

#include <cstdio>

namespace solvena {

namespace {

bool isKeptAsGiven([[maybe_unused]] const std::string& name)
{
#ifdef _WIN32
    return true;  // the system's code page, which the toolkit decodes and encodes alike
#else
    return isUtf8Name(name);
#endif
}

// The name with its bytes that are not UTF-8 written as \xHH, so that a terminal shows
// what was given.
std::string shownName(const std::string& name)
{
    std::string shown = "'";
    for (size_t pos = 0; pos < name.size();) {
        const size_t start = pos;
        if (decodeUtf8(name, pos) != kInvalidCodePoint) {
            shown.append(name, start, pos - start);
            continue;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(static_cast<unsigned char>(name[pos])));
        shown += hex;
        ++pos;
    }
    return shown + "'";
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine result;
    std::vector<std::string> positional;
    std::string firstUnknown;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // An empty argument or a lone "-" is a path too; an empty one opens nothing.
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            result.action = CommandLine::Action::Help;
            return result;
        } else if (arg == "-v" || arg == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        } else if (firstUnknown.empty()) {
            firstUnknown = arg;
        }
    }
    if (!firstUnknown.empty()) {
        result.action = CommandLine::Action::UsageError;
        result.error = "unknown option " + firstUnknown;
    } else if (positional.size() > 1) {
        result.action = CommandLine::Action::UsageError;
        result.error = "one chart at most can be opened, " + std::to_string(positional.size())
                       + " were given";
    } else if (!positional.empty() && !isKeptAsGiven(positional.front())) {
        // The editor keeps a chart's name as text; bytes that are not UTF-8 would come
        // back as another name, and a save would write there.
        result.action = CommandLine::Action::UsageError;
        result.error = "the chart's name " + shownName(positional.front()) +
                       " is not UTF-8, and the editor cannot keep it: rename the file";
    } else if (!positional.empty()) {
        result.chartPath = positional.front();
    }
    return result;
}

std::string commandLineUsage()
{
    return "Usage: solvena [OPTION]... [CHART]\n"
           "ソルベナエディタ: an editor for digital timing charts.\n"
           "Opens CHART, a chart file (.sbn or .txt), at start when it is given.\n"
           "\n"
           "Options:\n"
           "  -h, --help      show this help and exit\n"
           "  -v, --version   show the version and exit\n"
           "  --              take the next argument as CHART even if it starts with '-'\n"
           "\n"
           "Qt's own options work as well, for example -platform NAME, -style NAME and\n"
           "-reverse.\n";
}

std::string commandLineVersion()
{
    return std::string("solvena ") + kSolvenaVersion + "\n";
}

}  // namespace solvena
