// The view preferences of the main window: the grid lines and the name alignment,
// read from the preferences file when the window is created and written into it
// when the window is destroyed. Beneath that file may lie a shared file of defaults
// that is only read: its options apply where the user's file gives none, and the
// user's file is written with what differs from them.
//
// The files are only ever read whole and the user's is replaced whole: a FIFO, a
// folder or a huge file at its path gives the defaults at start and is never waited
// on, and at the end it is left as it was, with the error box naming it. Everything
// else in the file (other sections, keys, comments) is kept byte for byte.

#include "ui/uMain.h"

#include "storage/FileIO.h"
#include "storage/ViewPreferences.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// A preferences file is a few lines; far more is not one the program made.
constexpr qint64 kMaxPreferencesBytes = 1024 * 1024;

[[noreturn]] void failWrite(const QString& path, const QString& reason)
{
    throw std::runtime_error(
        u"%1 に書き込めません: %2"_s.arg(QDir::toNativeSeparators(path), reason).toStdString());
}

// The bytes of a preferences file, or nothing where there is none or it cannot be read.
std::string readPreferenceBytes(const QString& path)
{
    if (path.isEmpty())
        return {};
    const FileReadResult read = readFileBytes(path, kMaxPreferencesBytes);
    return read.ok() ? read.bytes.toStdString() : std::string();
}

}  // namespace

ViewPreferences TfrmMain::readPreferencesFile()
{
    sharedPreferences_ = readPreferenceBytes(preferences_.defaults);
    return readViewPreferences(readPreferenceBytes(preferences_.file), readViewPreferences(sharedPreferences_));
}

void TfrmMain::applyViewPreferences(const ViewPreferences& view)
{
    // The check marks hold the options; the grid follows them.
    command(CommandId::mnuVertLine)->setChecked(view.vertLine);
    command(CommandId::mnuHorzLine)->setChecked(view.horzLine);
    command(CommandId::mnuTerminalRight)->setChecked(view.alignRight);
    dgdMain->setVertLines(view.vertLine);
    dgdMain->setHorzLines(view.horzLine);
    dgdMain->setNamesRightAligned(view.alignRight);
}

void TfrmMain::FormDestroy()
{
    if (!preferences_.file.isEmpty())
        runGuarded([this] { writePreferencesFile(); });
}

void TfrmMain::writePreferencesFile()
{
    const ViewPreferences view{.vertLine = command(CommandId::mnuVertLine)->isChecked(),
                               .horzLine = command(CommandId::mnuHorzLine)->isChecked(),
                               .alignRight = command(CommandId::mnuTerminalRight)->isChecked()};
    const QString& path = preferences_.file;
    // What is in the file now, another copy's writes included, is kept around the keys;
    // a file that is there but cannot be read is not overwritten.
    std::string bytes;
    const QFileInfo file(path);
    const bool present = file.exists() || file.isSymLink();
    if (present) {
        const FileReadResult read = readFileBytes(path, kMaxPreferencesBytes);
        if (!read.ok())
            failWrite(path, reasonText(read.error));
        bytes = read.bytes.toStdString();
    }
    bytes = writeViewPreferences(bytes, view, sharedPreferences_);
    // Where the shared defaults say it all, the user gets no file of nothing.
    if (!present && bytes.empty())
        return;
    // The per-user folder is made on first use; beside the executable it exists. A
    // link is written where its chain ends, and every link on the way stays a link.
    if (!QDir().mkpath(file.absolutePath()))
        failWrite(path, u"フォルダ %1 を作れません"_s.arg(QDir::toNativeSeparators(file.absolutePath())));
    const Reason error = writeFileAtomically(path, QByteArrayView(bytes));
    if (!error.empty())
        failWrite(path, reasonText(error));
}
