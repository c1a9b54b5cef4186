#pragma once
// The editor's own command-line arguments: --help, --version and the one chart to open.

#include <string>
#include <vector>

namespace solvena {

// What the command line asks the editor to do.
struct CommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    std::string chartPath;  // the chart to open at start (Run); empty opens none
    std::string error;      // what is wrong, for the user (UsageError)
};

// Reads the arguments after the program name. --help and --version win over any
// other argument before "--", so they can be answered before Qt has taken its own
// options (-platform NAME, ...) out; everything else is decided on what is left then.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The one-screen text of --help.
std::string commandLineUsage();

// The line --version prints.
std::string commandLineVersion();

}  // namespace solvena
