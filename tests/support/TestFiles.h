#pragma once
// Whole files read and written by tests through Qt's own file class, so that what a
// test checks never depends on the program's file layer it may be testing.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace solvena {

// The file's bytes; empty when it cannot be read.
inline QByteArray readTestFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeTestFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace solvena
