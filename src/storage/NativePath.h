#pragma once
// File names as the system keeps them: bytes. A name given on a command line need not
// be UTF-8 (a folder unpacked from a Shift_JIS archive); it is carried in a QString
// that the file functions of this program turn back into exactly those bytes, so that
// nothing is ever read or written under a name other than the one given.

#include <QByteArray>
#include <QString>

#include <string_view>

namespace solvena {

// The name whose bytes are `bytes`: UTF-8 runs as their characters, every other byte
// as one of U+DC80 .. U+DCFF (lone surrogates, which no decoded text contains).
QString pathFromNativeBytes(std::string_view bytes);

// The bytes of the name `path`, as the file layer (SystemFile.h) takes them: on POSIX the
// inverse of pathFromNativeBytes, and the same as QFile::encodeName for every name that
// did not come from it; on Windows its UTF-8.
QByteArray nativePathBytes(const QString& path);

// Whether `bytes` are a name every part of the program keeps as it is (UTF-8).
bool isUtf8Name(std::string_view bytes);

}  // namespace solvena
