// The view preferences of the main window: the grid lines and the name alignment,
// and the window's place, read from the preferences file when the window is created
// and written into it when the window is destroyed. Beneath that file may lie a
// shared file of defaults that is only read: its options apply where the user's file
// gives none, and the user's file is written with what differs from them. A file that
// cannot be read or replaced (storage/PreferencesIO.h) gives the defaults at start and
// is left as it was at the end, with the error box naming it.

#include "ui/uMain.h"

#include "storage/PreferencesIO.h"
#include "storage/ViewPreferences.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/ScreenFit.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <stdexcept>
#include <string>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void failWrite(const QString& path, const QString& reason)
{
    throw std::runtime_error(
        u"%1 に書き込めません: %2"_s.arg(QDir::toNativeSeparators(path), reason).toStdString());
}

}  // namespace

ViewPreferences TfrmMain::readPreferences()
{
    sharedPreferences_ = readPreferencesFile(preferences_.defaults).value_or(std::string());
    const std::string mine = readPreferencesFile(preferences_.file).value_or(std::string());
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
    changeGridLayout([&view](GridLayout& layout) {
        layout.vertLines = view.vertLine;
        layout.horzLines = view.horzLine;
        layout.namesRightAligned = view.alignRight;
    });
}

void TfrmMain::FormDestroy()
{
    if (!preferences_.file.isEmpty())
        runGuarded([this] { writePreferences(); });
}

void TfrmMain::writePreferences()
{
    const ViewPreferences view{.vertLine = command(CommandId::mnuVertLine)->isChecked(),
                               .horzLine = command(CommandId::mnuHorzLine)->isChecked(),
                               .alignRight = command(CommandId::mnuTerminalRight)->isChecked()};
    const QString error = updatePreferences([&](std::string bytes) {
        bytes = writeViewPreferences(bytes, view, sharedPreferences_);
        return closedPlacement_ ? writeWindowPlacement(bytes, *closedPlacement_) : bytes;
    });
    if (!error.isEmpty())
        failWrite(preferences_.file, error);
}

QString TfrmMain::updatePreferences(const std::function<std::string(std::string)>& change)
{
    const Reason error = updatePreferencesFile(preferences_.file, change);
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

}  // namespace solvena
