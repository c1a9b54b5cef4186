#pragma once
// Where the view preferences file lives: beside the executable where the program
// may write there, otherwise in the user's configuration folder, so that an
// installed program keeps its preferences without failing at every exit.

#include <QProcessEnvironment>
#include <QString>

// The one preferences file, read at start and written at exit, for the executable at
// `executablePath`: the executable's path with the extension ".ini" while its folder
// is writable and the file is absent or a writable regular file; otherwise the
// file of that name in "solvena" under $XDG_CONFIG_HOME (when set to an absolute
// path), else under $HOME/.config. Writable means the system grants it and the
// owner's write permission bit is set, so a chmod'ed read-only file or folder counts
// as read-only for root too. The per-user folder may not exist yet: the writer
// creates it.
QString preferencesFilePath(const QString& executablePath, const QProcessEnvironment& environment);

// The same for the running program and its environment (needs a QCoreApplication).
QString preferencesFilePath();
