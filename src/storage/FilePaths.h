#pragma once
// Paths of files the user names, made absolute once so that a chart is always saved
// where it was opened from, whatever folder the program runs in later.

#include <QString>

namespace solvena {

// The absolute form of a path as given, the folders' links resolved but the file's
// own name kept: a chart opened through a link is saved through it. ".." is never
// taken away by the letter, which would be wrong after a link.
QString absoluteChartPath(const QString& path);

// One name for one file, whichever of its names is given (a link, a relative path,
// ".."): its canonical path, or its absolute path where it does not exist.
QString fileKey(const QString& path);

}  // namespace solvena
