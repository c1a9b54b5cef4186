#pragma once
// Where the view preferences live: beside the executable where the program may
// replace that file, otherwise in the user's configuration folder, so that an
// installed program keeps its preferences without failing at every exit. A file
// beside the executable that the program may not replace is read as shared defaults
// (a system administrator's, say) beneath the user's own file.

#include <QProcessEnvironment>
#include <QString>

namespace solvena {

// The preferences files of one program: the one it reads at start and writes at
// exit, and maybe a shared file of defaults it only reads.
struct PreferencesFiles {
    QString file;       // read at start, written at exit; empty for none
    QString defaults;   // read at start beneath `file`, never written; empty for none
};

// The files for the executable at `executablePath`. Beside it is the executable's
// path with the extension ".ini". That path is `file` when nothing is there and its
// folder is writable, or when it leads (through any chain of links) to a writable
// regular file in a writable folder: the file is replaced through a temporary file
// beside it. Otherwise `file` is "solvena.ini" in the user's preferences folder
// (userPreferencesFolder: on POSIX "solvena" under $XDG_CONFIG_HOME when set to an
// absolute path, else under $HOME/.config; on Windows %APPDATA%\solvena), and the path beside the
// executable is `defaults` when it leads to a regular file. A dangling link or a
// loop of links beside the executable so gives the per-user file, with no defaults.
// Writable means the system grants it and the owner's write permission bit is set,
// so a chmod'ed read-only file or folder counts as read-only for root too. The
// per-user folder may not exist yet: the writer creates it.
PreferencesFiles preferencesFiles(const QString& executablePath, const QProcessEnvironment& environment);

// The same for the running program and its environment (needs a QCoreApplication).
PreferencesFiles preferencesFiles();

}  // namespace solvena
