#pragma once
// The command table of the main window as data: every command with its category,
// caption, hint and shortcut, and where the menu bar, the grid's context menu and
// the tool bars show it. The window creates a QAction for each command it has a
// handler for and builds its menus and tool bars from these layouts, so a command
// appears in its places as soon as its handler exists, and never before.

#include <QKeySequence>
#include <QString>

#include <vector>

struct CommandInfo {
    const char* name;       // object name: "actNew", "mnuSaveAs", ...
    QString category;       // empty for menu commands without an action
    QString caption;
    QString hint;           // tooltip of its tool button
    QKeySequence shortcut;
    bool checkable = false;
    bool startsDisabled = false;
};

// A menu or context-menu entry; the name "-" stands for a separator. A non-empty
// caption replaces the command's own in this place.
struct MenuEntry {
    const char* name;
    QString caption = {};
};

struct MenuLayout {
    const char* name;       // "mnuFile", ...
    QString caption;
    std::vector<MenuEntry> entries;
};

// A tool button showing image `image` of its bar's image list; "-" is a separator.
struct ToolButtonEntry {
    const char* name;
    int image = -1;
};

struct ToolBarLayout {
    const char* name;       // "tbarFile", ...
    const char* imageList;  // "imgFile", ...: the resource folder of its images
    int bandWidth;
    int separatorWidth;
    std::vector<ToolButtonEntry> buttons;
};

inline constexpr const char* kSeparator = "-";

const std::vector<CommandInfo>& commandTable();
const CommandInfo* findCommand(const char* name);
const std::vector<MenuLayout>& mainMenuLayout();
const std::vector<MenuEntry>& contextMenuLayout();
const std::vector<ToolBarLayout>& toolBarLayout();
