#pragma once
// The command table of the main window as data: every command with its category,
// caption, hint and shortcut, and where the menu bar, the grid's context menu and
// the tool bars show it. The window creates a QAction for each command it has a
// handler for and builds its menus and tool bars from these layouts, so a command
// appears in its places as soon as its handler exists, and never before.

#include <QKeySequence>
#include <QString>

#include <optional>
#include <vector>

namespace solvena {

// Every command of the main window, named as its action or menu item is.
enum class CommandId {
    actNew, actOpen, actSave, actPrint, actExit,
    actUndo, actRedo, actCut, actCopy, actCopyPicture, actPaste, actDelete, actSelectAll,
    actMakePulse, actSet0, actSet1, actSetFutei, actInvert, actSetDelay, actTimingLine,
    actShowNumber, actShowEdge, actRepaint,
    mnuSaveAs, mnuOutBitmap, mnuOutMeta, mnuOutWaveJson,
    mnuRecent, mnuClearRecent, mnuPrintPreview,
    mnuColCount, mnuRowCount, mnuHeight, mnuWidth,
    mnuVertLine, mnuHorzLine, mnuTerminalRight, mnuFont,
    mnuAbout,
};

struct CommandInfo {
    CommandId id;
    const char* name;       // object name: "actNew", "mnuSaveAs", ...
    QString category;       // empty for menu commands without an action
    QString caption;
    QString hint;           // tooltip of its tool button
    QKeySequence shortcut;
    bool checkable = false;
    bool startsDisabled = false;
};

// A menu or context-menu entry; one without a command is a separator. A non-empty
// caption replaces the command's own in this place.
struct MenuEntry {
    std::optional<CommandId> command;
    QString caption = {};
};

struct MenuLayout {
    const char* name;       // "mnuFile", ...
    QString caption;
    std::vector<MenuEntry> entries;
};

// A tool button showing image `image` of its bar's image list; one without a command
// is a separator.
struct ToolButtonEntry {
    std::optional<CommandId> command;
    int image = -1;
};

struct ToolBarLayout {
    const char* name;       // "tbarFile", ...
    const char* imageList;  // "imgFile", ...: the resource folder of its images
    int bandWidth;
    int separatorWidth;
    std::vector<ToolButtonEntry> buttons;
};

const std::vector<CommandInfo>& commandTable();
// The row of a command; every command has one (a missing row throws std::logic_error).
const CommandInfo& commandInfo(CommandId id);
const std::vector<MenuLayout>& mainMenuLayout();
const std::vector<MenuEntry>& contextMenuLayout();
const std::vector<ToolBarLayout>& toolBarLayout();

}  // namespace solvena
