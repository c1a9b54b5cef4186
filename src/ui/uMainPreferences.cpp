// The view preferences of the main window: the grid lines and the name alignment,
// read from the preferences file when the window is created and written into it
// when the window is destroyed.
//
// The file is only ever read whole and replaced whole: a FIFO, a folder or a huge
// file at its path gives the defaults at start and is never waited on, and at the
// end it is left as it was, with the error box naming it. Everything else in the
// file (other sections, keys, comments) is kept byte for byte.

#include "ui/uMain.h"

#include "storage/FileIO.h"
#include "storage/ViewPreferences.h"
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

}  // namespace

ViewPreferences TfrmMain::readPreferencesFile() const
{
    if (preferencesPath_.isEmpty())
        return {};
    const FileReadResult read = readFileBytes(preferencesPath_, kMaxPreferencesBytes);
    if (!read.ok())
        return {};
    return readViewPreferences(read.bytes.toStdString());
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
    if (!preferencesPath_.isEmpty())
        runGuarded([this] { writePreferencesFile(); });
}

void TfrmMain::writePreferencesFile()
{
    const ViewPreferences view{.vertLine = command(CommandId::mnuVertLine)->isChecked(),
                               .horzLine = command(CommandId::mnuHorzLine)->isChecked(),
                               .alignRight = command(CommandId::mnuTerminalRight)->isChecked()};
    // What is in the file now, another copy's writes included, is kept around the keys;
    // a file that is there but cannot be read is not overwritten.
    std::string bytes;
    const QFileInfo file(preferencesPath_);
    if (file.exists() || file.isSymLink()) {
        const FileReadResult read = readFileBytes(preferencesPath_, kMaxPreferencesBytes);
        if (!read.ok())
            failWrite(preferencesPath_, read.error);
        bytes = read.bytes.toStdString();
    }
    bytes = writeViewPreferences(bytes, view);
    // The per-user folder is made on first use; beside the executable it exists.
    QDir().mkpath(file.absolutePath());
    const QString error = writeFileAtomically(preferencesPath_, QByteArrayView(bytes));
    if (!error.isEmpty())
        failWrite(preferencesPath_, error);
}
