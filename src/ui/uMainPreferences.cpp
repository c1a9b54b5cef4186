// The view preferences of the main window: the grid lines and the name alignment,
// and the window's place, read from the preferences file when the window is created
// and written into it when the window is destroyed. Beneath that file may lie a
// shared file of defaults that is only read: its options apply where the user's file
// gives none, and the user's file is written with what differs from them.
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
#include "ui/ScreenFit.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <stdexcept>
#include <string>
#include <utility>

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
    const std::string mine = readPreferenceBytes(preferences_.file);
    // Where the window was is the user's own: shared defaults give no place.
    startPlacement_ = readWindowPlacement(mine);
    return readViewPreferences(mine, readViewPreferences(sharedPreferences_));
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
    const QString error = updatePreferencesFile([&](std::string bytes) {
        bytes = writeViewPreferences(bytes, view, sharedPreferences_);
        return closedPlacement_ ? writeWindowPlacement(bytes, *closedPlacement_) : bytes;
    });
    if (!error.isEmpty())
        failWrite(preferences_.file, error);
}

QString TfrmMain::updatePreferencesFile(const std::function<std::string(std::string)>& change)
{
    const QString& path = preferences_.file;
    // What is in the file now, another copy's writes included, is kept around the keys;
    // a file that is there but cannot be read is not overwritten.
    std::string bytes;
    const QFileInfo file(path);
    const bool present = file.exists() || file.isSymLink();
    if (present) {
        const FileReadResult read = readFileBytes(path, kMaxPreferencesBytes);
        if (!read.ok())
            return reasonText(read.error);
        bytes = read.bytes.toStdString();
    }
    bytes = change(std::move(bytes));
    // Where the shared defaults say it all, the user gets no file of nothing.
    if (!present && bytes.empty())
        return {};
    // The per-user folder is made on first use; beside the executable it exists. A
    // link is written where its chain ends, and every link on the way stays a link.
    if (!QDir().mkpath(file.absolutePath()))
        return u"フォルダ %1 を作れません"_s.arg(QDir::toNativeSeparators(file.absolutePath()));
    const Reason error = writeFileAtomically(path, QByteArrayView(bytes));
    return error.empty() ? QString() : reasonText(error);
}

void TfrmMain::keepWindowPlacement()
{
    // A window never shown (a test's) has no place of the user's to keep.
    if (!isVisible())
        return;
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    closedPlacement_ = WindowPlacement{normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()};
}

void TfrmMain::restoreWindowPlacement()
{
    if (!startPlacement_)
        return;
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens << screen->availableGeometry();
    }
    const WindowPlacement& kept = *startPlacement_;
    setGeometry(fitToScreens(QRect(kept.left, kept.top, kept.width, kept.height), screens));
    if (kept.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}
