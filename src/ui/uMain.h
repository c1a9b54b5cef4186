#pragma once
// frmMain: the main window. It holds the grid, the command table with its menus,
// context menu and tool bars, and every command handler. A handler is wiring: it
// takes the selection from the grid, calls a core function on the chart, then
// repaints, flags and records in the order the command requires.

#include "document/CellSelection.h"
#include "document/GridLayout.h"
#include "document/EditHistory.h"
#include "document/TCell.h"
#include "storage/FileIdentity.h"
#include "storage/PreferencesLocation.h"
#include "storage/WindowPlacement.h"
#include "ui/CommandTable.h"
#include "ui/Prompts.h"

#include <QFont>
#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QToolBar;
class QPainter;
class QPrinter;

namespace solvena {

class ChartGrid;
class TfrmMakePulse;
class TfrmSetDelay;
class TfrmSetEdge;
class TfrmShowNumber;
struct ViewPreferences;
struct ChartFormat;
struct LoadedChart;
class RecoveryStore;
class VcdChoiceMemory;
struct PictureFormatRow;

// The files the window keeps of its own; empty for none (tests), main() gives the
// program's.
struct WindowFiles {
    PreferencesFiles preferences;   // the view preferences, read at creation, written at destruction
    QString recoveryFolder;   // where unsaved work is kept against a crash
};

class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(std::unique_ptr<Prompts> prompts = nullptr, WindowFiles files = {},
                      QWidget* parent = nullptr);
    ~TfrmMain() override;

    ChartGrid* grid() const { return dgdMain; }
    // The grid's layout is the window's: changed here by the layout functions and
    // handed to the grid at once.
    const GridLayout& gridLayout() const { return gridLayout_; }
    void changeGridLayout(const std::function<void(GridLayout&)>& change);
    Prompts& prompts() const { return *prompts_; }
    void setPrompts(std::unique_ptr<Prompts> prompts);

    // The command object of a command of the table. Asking for one that has no
    // handler bound yet is a programming error and throws std::logic_error.
    QAction* command(CommandId id) const;
    bool hasCommand(CommandId id) const;
    QMenu* menu(const char* name) const;          // "mnuFile", ... and "pupData"
    QToolBar* toolBar(const char* name) const;    // "tbarFile", ...

    // The application's error box for a failed command.
    void showError(const QString& message);
    // Runs a command; an error it throws ends it there and is shown in the error box.
    void runGuarded(const std::function<void()>& command);

    // Ends start-up: the chart shown now is the history's head, so the first undo
    // comes back to it.
    void finishStartup();

    // --- window and view (uMain.cpp)
    void FormResize();
    void actRepaintExecute();
    void mnuAboutClick();

    // --- edit history, level commands and name editing (uMainEdit.cpp)
    // Whether a change records the chart before it as well, as the pulse fill does.
    enum class SnapshotBefore { No, Yes };
    // The steps of every command that changes the chart: the change, made by a core
    // function on the chart and the grid's selection, then the repaint, the modified
    // flag and the history snapshot, in that order.
    void editChart(const std::function<void(TCell&, const CellSelection&)>& change,
                   SnapshotBefore before = SnapshotBefore::No);
    // Records the chart as the newest history state and updates Undo and Redo.
    void takeSnapshot();
    void actUndoExecute();
    void actRedoExecute();
    void actSet0Execute();
    void actSet1Execute();
    void actSetFuteiExecute();
    void actInvertExecute();
    void actSelectAllExecute();
    void dgdMainKeyPress(QChar key);
    void dgdMainDblClick();
    void dgdMainSelectCell(int col, int row);
    void dgdMainEditorOpened(int col, int row);
    void dgdMainSetEditText(int col, int row, const QString& text);
    void dgdMainEditCancelled(int col, int row);

    // A short message at the window's bottom that goes away by itself; the window has
    // no status bar otherwise, so none lingers to show command hints.
    void showTransientMessage(const QString& text);

    // --- clipboard, pulse and cell attributes (uMainTools.cpp)
    void actCutExecute();
    void actCopyExecute();
    void actPasteExecute();
    void actDeleteExecute();
    void actMakePulseExecute();
    void actSetDelayExecute();
    void actShowEdgeExecute();
    void actShowNumberExecute();
    void actTimingLineExecute();
    // The four tool dialogs, created hidden at start.
    TfrmSetEdge* setEdgeDialog() const { return frmSetEdge; }
    TfrmMakePulse* makePulseDialog() const { return frmMakePulse; }
    TfrmShowNumber* showNumberDialog() const { return frmShowNumber; }
    TfrmSetDelay* setDelayDialog() const { return frmSetDelay; }

    // --- grid layout commands (uMainLayout.cpp)
    void mnuColCountClick();
    void mnuRowCountClick();
    // Asks for the count of signals or steps, `what` ("端子数"), from 1 to `high`; the
    // answer changes the layout through `apply` and marks the chart modified.
    void askCount(const QString& what, int high, void (*apply)(GridLayout&, int));
    void mnuHeightClick();
    void mnuWidthClick();
    void mnuVertLineClick();
    void mnuHorzLineClick();
    void mnuTerminalRightClick();
    void mnuFontClick();
    // A column's width or place dragged in the header: the chart file stores the widths.
    void dgdMainColumnResized(int col, int width);
    void dgdMainColumnMoved(int from, int to);

    // --- document commands (uMainFile.cpp)
    void actNewExecute();
    void actOpenExecute();
    void actSaveExecute();
    void mnuSaveAsClick();
    void actExitExecute();
    // Loads the chart named on the command line, without a question or a snapshot;
    // false (after the error message) when the file could not be read.
    bool loadStartupFile(const QString& path);
    // Open without its dialog, for a file named elsewhere (the recent list, a drop):
    // the save question, the same loading as Open, the snapshot.
    void openNamedFile(const QString& path);

    // --- the recent files and drops (uMainRecent.cpp, uMainDrop.cpp)
    // Opens a file of the recent list; one that is gone is reported and taken off it.
    void openRecentFile(const QString& path);
    void mnuClearRecentClick();
    // Several files, a folder or a file of no format Open takes are refused with a
    // warning; one file opens as Open opens it.
    void openDroppedFiles(const QStringList& paths);
    // --- recovery of unsaved work (uMainRecovery.cpp)
    // Offers the work of editors that ended without saving it, one file after another;
    // true when the user took one back (it is then the chart, modified).
    bool offerRecovery();
    // Keeps a copy of the chart while it is modified, at most once an interval.
    void saveRecoveryFile();
    static constexpr int kRecoveryIntervalMs = 3000;

    // The file the chart belongs to: empty until it is opened or saved as a file.
    const QString& documentFileName() const { return documentFileName_; }
    // Set once Exit has decided to end the program.
    bool isEnding() const { return ending_; }

    // --- exports and printing (uMainOutput.cpp)
    void mnuOutBitmapClick();
    void mnuOutMetaClick();
    // WaveJSON, the open text format of timing diagrams: levels and names only.
    void mnuOutWaveJsonClick();
    // The whole chart on the system clipboard as a picture (PNG, SVG and an image), laid
    // out as the exports lay it out; the levels' own clipboard stays as it is.
    void actCopyPictureExecute();
    void actPrintExecute();
    // The printout as 印刷 lays it out, in Qt's preview dialog, which can print it.
    void mnuPrintPreviewClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using Handler = void (TfrmMain::*)();

    void FormCreate();
    // Writes the view options into the preferences file (uMainPreferences.cpp); a
    // failure shows the error box.
    void FormDestroy();
    void createLayout();
    void setClientSize(int width, int height);
    // Creates the command `id` from the command table and runs `handler` on it
    // through the error-catching dispatch.
    QAction* bindCommand(CommandId id, Handler handler);
    void dispatch(Handler handler);
    void buildMenus();
    void buildToolBars();
    void bindCommands();
    // The four tool dialogs, hidden until their commands show them (uMainTools.cpp).
    void createDialogs();
    // The warning for a command that needs more than one cell; true when it was shown.
    bool refuseSingleCell();
    // Document commands' steps (uMainFile.cpp).
    void commitNameEditor();
    // The save question, asked while the chart is modified, and the save on Yes.
    // Cancel also when Yes was answered and no save happened (Save As cancelled):
    // nothing unsaved is discarded behind the user's back. A failed save throws.
    Prompts::Answer askToSave();
    bool saveDocument();       // false when the user cancelled the Save As dialog
    bool saveDocumentAs();
    // Saves the chart as a chart file at `path`. Throws with the reason on failure;
    // the identity of the file written otherwise.
    FileIdentity saveChartTo(const QString& path);
    // Open's loading of a file, in the format the dialog's entry chose (none: the one
    // its name says): a chart file becomes the document's file, any other format is
    // imported untitled and modified. Shows its own error and changes nothing then;
    // the file goes to the recent list.
    bool openDocumentFile(const QString& path, const ChartFormat* chosen);
    // How a chart read from somewhere becomes the window's chart.
    struct ShownChart {
        QString file;                            // the document's file: absolute, or empty
        std::optional<FileIdentity> identity;    // of that file as it was read
        bool modified = false;
        bool fitNames = false;                   // the name column widens to the names
    };
    // The one way a chart read from a file or a recovery copy becomes the window's: the
    // record, the grid's extent, the file it belongs to, the modified flag, the repaint,
    // and a line naming what the reader left out.
    void showLoadedChart(const LoadedChart& loaded, const ShownChart& how);
    // The modified flag, set in this one place.
    void setModified(bool modified);
    // An image export's steps: the dialog, the extension, the file (uMainOutput.cpp).
    void exportPicture(FileDialogState& dialog, const PictureFormatRow& format);
    void endApplication();
    // The grid's events to their handlers, and the name editor's rules.
    void connectGrid();
    // Undo or Redo: `step` when the history offers it, then the window follows.
    void stepHistory(bool (*available)(const EditHistory&), void (*step)(TCell&, EditHistory));
    // Undo and Redo enabled as the history offers them.
    void updateHistoryCommands();
    void showRefusalLater(const QString& reason);
    // Grid layout commands' set-up: the font dialog's first font, the header drags.
    void setUpGridLayoutCommands();
    // The view options the preferences file gives (the defaults when it cannot be
    // read), and the check marks and grid options set from them.
    ViewPreferences readPreferences();
    void applyViewPreferences(const ViewPreferences& view);
    void writePreferences();   // throws with the path and the reason on failure
    // Replaces the user's preferences file by `change` applied to its bytes, re-read
    // now so that what other editors wrote meanwhile is kept; the reason on failure,
    // without calling `change` when the file is there but cannot be read.
    QString updatePreferences(const std::function<std::string(std::string)>& change);
    // The window's place as the user left it, kept when the window closes for good;
    // and the one the preferences gave, restored at creation inside today's screens.
    void keepWindowPlacement();
    void restoreWindowPlacement();
    // The recent list: the file's when it can be read, the window's own copy otherwise.
    std::vector<std::string> recentFiles();
    void updateRecentFiles(const std::function<void(std::vector<std::string>&)>& change);
    void rememberRecentFile(const QString& path);
    void createRecentMenu();
    void refreshRecentMenu();
    // The chart on `printer`'s page, as 印刷 and its preview lay it out.
    void printChart(QPrinter& printer);
    // The window's side of starting a new chart: the record, the flag and the caption.
    void resetDocument();
    // The file the chart belongs to (an absolute path, or empty for none) as it was
    // last read or written; the caption shows "ソルベナエディタ - " and the path, or 無題.
    void setDocumentFile(const QString& path, std::optional<FileIdentity> identity = std::nullopt);

    // The VCD dialog's last choices for each dump opened during the run.
    std::unique_ptr<VcdChoiceMemory> vcdChoices_;
    // The dialogs keep their file name and filter entry between uses.
    FileDialogState OpenDialog1;
    FileDialogState SaveDialog1;
    // The font dialog's font: its first font, then the last one chosen.
    QFont FontDialog1;
    GridLayout gridLayout_;
    PreferencesFiles preferences_;
    std::optional<WindowPlacement> startPlacement_;
    std::optional<WindowPlacement> closedPlacement_;
    // The recent list as this window last read or changed it; the only copy where
    // there is no preferences file or it cannot be written.
    std::vector<std::string> recentFiles_;
    // Its failure to be written is told once a run, not at every file opened.
    bool recentFailureShown_ = false;
    // The shared defaults as read at start: the user's file records what differs.
    std::string sharedPreferences_;
    // This editor's recovery file, while the chart has unsaved work.
    std::unique_ptr<RecoveryStore> recovery_;
    // A failure to write the copy was reported; the next one is not, until a write works.
    bool recoveryFailureShown_ = false;
    // Removes the copy: the work was saved, or the user chose to let it go.
    void discardRecoveryFile();
    // The picture dialogs keep their file name for the whole run, New or not.
    FileDialogState SavePictureDialog1;
    FileDialogState SavePictureDialog2;
    FileDialogState SaveWaveJsonDialog;
    // The file the chart belongs to; empty for a chart never opened or saved. Set only
    // through setDocumentFile, with the file's identity as last read or written.
    QString documentFileName_;
    std::optional<FileIdentity> documentIdentity_;
    // Exit has decided to end the program; the close request is then let through.
    bool ending_ = false;
    // The name and the flag as they were when the name editor opened, for Esc.
    std::string nameBeforeEdit_;
    bool modifiedBeforeEdit_ = false;

    std::unique_ptr<Prompts> prompts_;
    ChartGrid* dgdMain = nullptr;
    QWidget* CoolBar1 = nullptr;
    std::map<CommandId, QAction*> commands_;
    std::map<std::string, QMenu*> menus_;
    std::map<std::string, QToolBar*> toolBars_;
    TfrmSetEdge* frmSetEdge = nullptr;
    TfrmMakePulse* frmMakePulse = nullptr;
    TfrmShowNumber* frmShowNumber = nullptr;
    TfrmSetDelay* frmSetDelay = nullptr;
};

// The text the error box shows for a message: a "." is added when the message's
// last character sorts above ".".
QString errorBoxText(const QString& message);

}  // namespace solvena
