#include "ui/uMain.h"

#include "storage/RecoveryStore.h"

#include "Version.h"
#include "document/Document.h"
#include "document/GridLayout.h"
#include "formats/ChartFormats.h"
#include "pictures/PictureFormats.h"
#include "storage/ViewPreferences.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/CommandTable.h"
#include "ui/QtPrompts.h"
#include "ui/ToolBarIcons.h"
#include "ui/dialogs/uVcdImport.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// The icons are compiled into the app library; a static library's resources must be
// registered by hand, from the global namespace, where their function is.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr int kClientWidth = 761;
constexpr int kClientHeight = 399;
constexpr int kWindowLeft = 89;
constexpr int kWindowTop = 176;
constexpr int kCoolBarHeight = 33;
constexpr int kGridLeft = 4;
constexpr int kGridTop = 36;

}  // namespace


QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

TfrmMain::TfrmMain(std::unique_ptr<Prompts> prompts, WindowFiles files, QWidget* parent)
    : QMainWindow(parent),
      preferences_(std::move(files.preferences)),
      prompts_(prompts ? std::move(prompts) : std::make_unique<QtPrompts>(this))
{
    vcdChoices_ = std::make_unique<VcdChoiceMemory>();
    initResources();
    setObjectName(u"frmMain"_s);
    setWindowTitle(applicationTitle());
    QFont font(u"ＭＳ Ｐゴシック"_s);
    font.setPixelSize(12);
    setFont(font);
    OpenDialog1.filter = openFilter();
    SaveDialog1.filter = saveFilter();
    SaveWaveJsonDialog.filter = saveFilterOf(chartFormat(ChartFormatId::WaveJson));
    SavePictureDialog1.filter = pictureFormat(PictureFormat::Bmp).filter();
    SavePictureDialog2.filter = pictureFormat(PictureFormat::Emf).filter();
    createLayout();
    FormCreate();
    createDialogs();
    if (!files.recoveryFolder.isEmpty()) {
        recovery_ = std::make_unique<RecoveryStore>(files.recoveryFolder);
        auto* recoveryTimer = new QTimer(this);
        connect(recoveryTimer, &QTimer::timeout, this, &TfrmMain::saveRecoveryFile);
        recoveryTimer->start(kRecoveryIntervalMs);
    }
}

TfrmMain::~TfrmMain()
{
    // The grid's last signals (an open name editor closing) must not reach a window
    // that is half destroyed.
    dgdMain->disconnect(this);
    FormDestroy();
}

void TfrmMain::setClientSize(int width, int height)
{
    // The client area is what lies between the menu bar and the window's bottom edge.
    layout()->activate();
    resize(width, height + this->height() - centralWidget()->height());
}

void TfrmMain::setPrompts(std::unique_ptr<Prompts> prompts)
{
    prompts_ = std::move(prompts);
}

void TfrmMain::createLayout()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);

    CoolBar1 = new QWidget(client);
    CoolBar1->setObjectName(u"CoolBar1"_s);
    CoolBar1->setGeometry(0, 0, kClientWidth, kCoolBarHeight);
    auto* bands = new QHBoxLayout(CoolBar1);
    bands->setContentsMargins(2, 2, 2, 2);
    bands->setSpacing(2);
    for (const ToolBarLayout& layout : toolBarLayout()) {
        auto* bar = new QToolBar(CoolBar1);
        bar->setObjectName(QString::fromLatin1(layout.name));
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setFixedHeight(kCoolBarHeight - 4);
        bands->addWidget(bar);
        toolBars_[layout.name] = bar;
    }

    dgdMain = new ChartGrid(client);
    dgdMain->move(kGridLeft, kGridTop);

    auto* pupData = new QMenu(this);
    pupData->setObjectName(u"pupData"_s);
    menus_["pupData"] = pupData;
    dgdMain->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dgdMain, &QWidget::customContextMenuRequested, this, [this, pupData](const QPoint& pos) {
        pupData->popup(dgdMain->mapToGlobal(pos));
    });

    menuBar()->setObjectName(u"MainMenu1"_s);
    move(kWindowLeft, kWindowTop);
    setAcceptDrops(true);
}

void TfrmMain::FormCreate()
{
    const ViewPreferences view = readPreferences();
    undoCount = 0;
    redoCount = 0;
    chartFont = grid_defaults::headerFont();
    dgdMain->setLayout(gridLayout_);
    dgdMain->setChart(&document, chartFont);

    bindCommands();
    createRecentMenu();
    applyViewPreferences(view);
    setUpGridLayoutCommands();
    connectGrid();
    buildMenus();
    buildToolBars();

    resetDocument();
    dgdMain->setFocus();
    setClientSize(kClientWidth, kClientHeight);
    restoreWindowPlacement();
}

void TfrmMain::bindCommands()
{
    using enum CommandId;
    // Every command the window has, and its handler. A command of the table without a
    // row here does not show in any menu or tool bar.
    const std::pair<CommandId, Handler> handlers[] = {
        // documents (uMainFile.cpp)
        {actNew, &TfrmMain::actNewExecute},
        {actOpen, &TfrmMain::actOpenExecute},
        {actSave, &TfrmMain::actSaveExecute},
        {mnuSaveAs, &TfrmMain::mnuSaveAsClick},
        {actExit, &TfrmMain::actExitExecute},
        {mnuClearRecent, &TfrmMain::mnuClearRecentClick},
        // history and levels (uMainEdit.cpp)
        {actUndo, &TfrmMain::actUndoExecute},
        {actRedo, &TfrmMain::actRedoExecute},
        {actSelectAll, &TfrmMain::actSelectAllExecute},
        {actSet0, &TfrmMain::actSet0Execute},
        {actSet1, &TfrmMain::actSet1Execute},
        {actSetFutei, &TfrmMain::actSetFuteiExecute},
        {actInvert, &TfrmMain::actInvertExecute},
        // clipboard, pulse and cell attributes (uMainTools.cpp)
        {actCut, &TfrmMain::actCutExecute},
        {actCopy, &TfrmMain::actCopyExecute},
        {actPaste, &TfrmMain::actPasteExecute},
        {actDelete, &TfrmMain::actDeleteExecute},
        {actMakePulse, &TfrmMain::actMakePulseExecute},
        {actSetDelay, &TfrmMain::actSetDelayExecute},
        {actTimingLine, &TfrmMain::actTimingLineExecute},
        {actShowNumber, &TfrmMain::actShowNumberExecute},
        {actShowEdge, &TfrmMain::actShowEdgeExecute},
        // grid layout (uMainLayout.cpp)
        {mnuColCount, &TfrmMain::mnuColCountClick},
        {mnuRowCount, &TfrmMain::mnuRowCountClick},
        {mnuHeight, &TfrmMain::mnuHeightClick},
        {mnuWidth, &TfrmMain::mnuWidthClick},
        {mnuVertLine, &TfrmMain::mnuVertLineClick},
        {mnuHorzLine, &TfrmMain::mnuHorzLineClick},
        {mnuTerminalRight, &TfrmMain::mnuTerminalRightClick},
        {mnuFont, &TfrmMain::mnuFontClick},
        // exports and printing (uMainOutput.cpp)
        {mnuOutBitmap, &TfrmMain::mnuOutBitmapClick},
        {mnuOutMeta, &TfrmMain::mnuOutMetaClick},
        {actPrint, &TfrmMain::actPrintExecute},
        {mnuPrintPreview, &TfrmMain::mnuPrintPreviewClick},
        {mnuOutWaveJson, &TfrmMain::mnuOutWaveJsonClick},
        {actCopyPicture, &TfrmMain::actCopyPictureExecute},
        // the window (uMain.cpp)
        {actRepaint, &TfrmMain::actRepaintExecute},
        {mnuAbout, &TfrmMain::mnuAboutClick},
    };
    for (const auto& [id, handler] : handlers)
        bindCommand(id, handler);
}

QAction* TfrmMain::bindCommand(CommandId id, Handler handler)
{
    const CommandInfo& info = commandInfo(id);
    auto* action = new QAction(info.caption, this);
    action->setObjectName(QString::fromLatin1(info.name));
    // A command without a hint shows its caption without the access key, "元に戻す".
    action->setToolTip(info.hint.isEmpty()
                           ? QString(info.caption).remove(QRegularExpression(u"\\(&.\\)|&|\\.\\.\\.$"_s))
                           : info.hint);
    action->setShortcut(info.shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setCheckable(info.checkable);
    action->setEnabled(!info.startsDisabled);
    action->setProperty("category", info.category);
    connect(action, &QAction::triggered, this, [this, handler] { dispatch(handler); });
    addAction(action);  // shortcuts work wherever the focus is in the window
    commands_[id] = action;
    return action;
}

void TfrmMain::dispatch(Handler handler)
{
    runGuarded([this, handler] { (this->*handler)(); });
}

void TfrmMain::runGuarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const ReasonError& e) {
        showError(reasonText(e.reason()));
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
}

void TfrmMain::showError(const QString& message)
{
    prompts_->error(applicationTitle(), errorBoxText(message));
}

QAction* TfrmMain::command(CommandId id) const
{
    const auto it = commands_.find(id);
    if (it == commands_.end())
        throw std::logic_error(std::string("command not bound: ") + commandInfo(id).name);
    return it->second;
}

bool TfrmMain::hasCommand(CommandId id) const
{
    return commands_.count(id) != 0;
}

QMenu* TfrmMain::menu(const char* name) const
{
    const auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

QToolBar* TfrmMain::toolBar(const char* name) const
{
    const auto it = toolBars_.find(name);
    return it == toolBars_.end() ? nullptr : it->second;
}

namespace {

// Adds the entries whose commands are bound to a menu or a tool bar, without leading,
// trailing or doubled separators where commands are missing.
template <typename Target, typename Entry, typename Place>
void addCommands(const TfrmMain& window, Target* target, const std::vector<Entry>& entries,
                 const Place& place)
{
    bool pendingSeparator = false;
    for (const Entry& entry : entries) {
        if (!entry.command) {
            pendingSeparator = !target->actions().isEmpty();
            continue;
        }
        if (!window.hasCommand(*entry.command))
            continue;
        QAction* action = window.command(*entry.command);
        if (pendingSeparator)
            target->addSeparator();
        pendingSeparator = false;
        place(entry, action);
        target->addAction(action);
    }
}

}  // namespace

void TfrmMain::buildMenus()
{
    const auto place = [](const MenuEntry& entry, QAction* action) {
        if (!entry.caption.isEmpty())
            action->setText(entry.caption);
    };
    for (const MenuLayout& layout : mainMenuLayout()) {
        auto* m = new QMenu(layout.caption, menuBar());
        m->setObjectName(QString::fromLatin1(layout.name));
        addCommands(*this, m, layout.entries, place);
        if (m->actions().isEmpty()) {
            delete m;
            continue;
        }
        menuBar()->addMenu(m);
        menus_[layout.name] = m;
    }
    addCommands(*this, menus_["pupData"], contextMenuLayout(), place);
}

void TfrmMain::buildToolBars()
{
    for (const ToolBarLayout& layout : toolBarLayout()) {
        QToolBar* bar = toolBars_[layout.name];
        bar->setStyleSheet(u"QToolBar::separator { width: %1px; }"_s.arg(layout.separatorWidth));
        const QString imageList = QString::fromLatin1(layout.imageList);
        addCommands(*this, bar, layout.buttons, [&](const ToolButtonEntry& button, QAction* action) {
            action->setIcon(toolBarIcon(imageList, button.image));
        });
        // A band is as wide as the table says but never narrower than its buttons,
        // which would hide the last ones behind an overflow button; the last band
        // takes whatever room is left, as the last band of a tool strip does.
        const int buttons = bar->sizeHint().width();
        const bool last = &layout == &toolBarLayout().back();
        bar->setMinimumWidth(last ? buttons : std::max(layout.bandWidth, buttons));
        if (last)
            static_cast<QBoxLayout*>(CoolBar1->layout())->setStretchFactor(bar, 1);
    }
}

void TfrmMain::resetDocument()
{
    resetChart(document, gridLayout_.colCount(), gridLayout_.rowCount());
    setModified(false);
    discardRecoveryFile();
    setDocumentFile(QString());
    OpenDialog1.fileName.clear();
    SaveDialog1.fileName.clear();
}

void TfrmMain::setDocumentFile(const QString& path, std::optional<FileIdentity> identity)
{
    documentFileName_ = path;
    documentIdentity_ = identity;
    setWindowTitle(applicationTitle() + u" - "_s + (path.isEmpty() ? u"無題"_s : path));
}

void TfrmMain::finishStartup()
{
    historySlots[5] = document;
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmMain::FormResize()
{
    if (!dgdMain)
        return;
    // The grid follows the window's outer size (frame, caption and menu bar included).
    const QSize outer = frameGeometry().size();
    const int toolBarHeight = toolBar("tbarFile")->height();
    const int width = std::max(0, outer.width() - 16);
    int height = outer.height() - toolBarHeight - kGridTop - 30;
    // Never let the grid reach below the client area, where its scroll bar would hide.
    height = std::clamp(height, 0, std::max(0, centralWidget()->height() - kGridTop));
    dgdMain->resize(std::min(width, std::max(0, centralWidget()->width() - kGridLeft)), height);
    CoolBar1->resize(centralWidget()->width(), kCoolBarHeight);
}

void TfrmMain::showTransientMessage(const QString& text)
{
    constexpr int kShownMs = 5000;
    auto* bar = findChild<QStatusBar*>(u"messageBar"_s, Qt::FindDirectChildrenOnly);
    if (!bar) {
        bar = new QStatusBar(this);
        bar->setObjectName(u"messageBar"_s);
        setStatusBar(bar);
        connect(bar, &QStatusBar::messageChanged, this, [this, bar](const QString& message) {
            if (!message.isEmpty())
                return;
            // Gone with its message: the grid gets its room back.
            bar->setObjectName(QString());
            setStatusBar(nullptr);
            layout()->activate();
            FormResize();
        });
    }
    bar->showMessage(text, kShownMs);
    bar->show();
    layout()->activate();
    FormResize();
}

void TfrmMain::actRepaintExecute()
{
    dgdMain->repaintGrid();
}

void TfrmMain::mnuAboutClick()
{
    prompts_->message(applicationTitle(), applicationTitle() + u" Ver"_s + QLatin1StringView(kSolvenaVersion));
}

}  // namespace solvena
