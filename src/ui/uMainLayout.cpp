// The grid layout commands of the main window: the numbers of signals and steps, the
// row height, the column width, the grid lines, right-aligned names and the grid font.
//
// Rules these commands keep beyond the bare steps:
//   - Every number prompt takes a whole number within its bounds: out of them, a
//     warning and the prompt again with the entry kept; text that is no whole
//     number ends the command through the error box. Heights and widths are bounded
//     too (1 to 1000), so no size the grid cannot draw reaches it.
//   - The counts and the column widths are what a chart file stores, so changing
//     them, by command or by dragging in the header, marks the document modified;
//     the row heights, lines, alignment and font are not stored and do not.

#include "ui/uMain.h"

#include "document/Document.h"
#include "document/GridLayout.h"
#include "render/QtFont.h"
#include "text/WholeNumber.h"
#include "ui/ChartGrid.h"

#include <QAction>

#include <functional>
#include <optional>
#include <stdexcept>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxSignals = grid_defaults::kMaxCount - 1;   // under the header row
constexpr int kMaxSteps = grid_defaults::kMaxCount - 1;     // after the name column

// Asks until a whole number from 1 to `high` is given: nothing on Cancel; out of range,
// a warning and the prompt again with the entry kept; throws for text that is no number.
std::optional<int> askNumber(Prompts& prompts, const QString& caption, const QString& prompt,
                             QString text, int high)
{
    for (;;) {
        const std::optional<QString> entry = prompts.inputBox(caption, prompt, text);
        if (!entry)
            return std::nullopt;
        const std::optional<int32_t> n = parseWholeNumber(entry->toStdU16String());
        if (!n)
            throw std::runtime_error(u"'%1' は整数ではありません"_s.arg(*entry).toStdString());
        if (*n >= 1 && *n <= high)
            return n;
        prompts.warning(u"1～%1までの数を入力してください"_s.arg(high));
        text = *entry;
    }
}

}  // namespace

void TfrmMain::setUpGridLayoutCommands()
{
    FontDialog1 = QFont(u"ＭＳ Ｐゴシック"_s);
    FontDialog1.setPixelSize(12);
    connect(dgdMain, &ChartGrid::columnResized, this, &TfrmMain::dgdMainColumnResized);
    connect(dgdMain, &ChartGrid::columnMoved, this, &TfrmMain::dgdMainColumnMoved);
}

void TfrmMain::changeGridLayout(const std::function<void(GridLayout&)>& change)
{
    change(gridLayout_);
    dgdMain->setLayout(gridLayout_);
}

void TfrmMain::mnuColCountClick()
{
    askCount(u"端子数"_s, kMaxSignals, [](GridLayout& layout, int n) { setRowCount(layout, n + 1); });
}

void TfrmMain::mnuRowCountClick()
{
    askCount(u"列数"_s, kMaxSteps, [](GridLayout& layout, int n) { setColCount(layout, n + 1); });
}

void TfrmMain::askCount(const QString& what, int high, void (*apply)(GridLayout&, int))
{
    const std::optional<int> n = askNumber(prompts(), u"%1の入力"_s.arg(what),
                                           u"%1を入力してください（1～%2）"_s.arg(what).arg(high), QString(), high);
    if (!n)
        return;
    changeGridLayout([&](GridLayout& layout) { apply(layout, *n); });
    setModified(true);
}

void TfrmMain::mnuHeightClick()
{
    const std::optional<int> n =
        askNumber(prompts(), u"行の高さ設定"_s, u"行の高さを入力してください"_s,
                  QString::number(gridLayout_.defaultRowHeight), grid_defaults::kMaxCellSize);
    if (n)
        changeGridLayout([&](GridLayout& layout) { applyRowHeight(layout, *n); });
}

void TfrmMain::mnuWidthClick()
{
    const std::optional<int> n =
        askNumber(prompts(), u"列の横幅設定"_s, u"列の横幅を入力してください"_s,
                  QString::number(gridLayout_.defaultColWidth), grid_defaults::kMaxCellSize);
    if (!n)
        return;
    changeGridLayout([&](GridLayout& layout) { applyColumnWidth(layout, *n); });
    setModified(true);
}

// The three view options: the action has flipped its own check mark when it was
// triggered, and the grid follows the mark.
void TfrmMain::mnuVertLineClick()
{
    changeGridLayout([this](GridLayout& layout) { layout.vertLines = command(CommandId::mnuVertLine)->isChecked(); });
}

void TfrmMain::mnuHorzLineClick()
{
    changeGridLayout([this](GridLayout& layout) { layout.horzLines = command(CommandId::mnuHorzLine)->isChecked(); });
}

void TfrmMain::mnuTerminalRightClick()
{
    changeGridLayout(
        [this](GridLayout& layout) { layout.namesRightAligned = command(CommandId::mnuTerminalRight)->isChecked(); });
}

void TfrmMain::mnuFontClick()
{
    // The dialog opens on its own last font, not on the grid's.
    const std::optional<QFont> font = prompts().chooseFont(FontDialog1);
    if (!font)
        return;
    FontDialog1 = *font;
    changeGridLayout([&](GridLayout& layout) { layout.gridFont = toFontDesc(*font); });
}

void TfrmMain::dgdMainColumnResized(int col, int width)
{
    changeGridLayout([&](GridLayout& layout) { setColWidth(layout, col, width); });
    setModified(true);
}

void TfrmMain::dgdMainColumnMoved(int from, int to)
{
    // Only the widths follow the column; the chart's data stays where it is. A move
    // among columns of one width changes nothing.
    bool moved = false;
    changeGridLayout([&](GridLayout& layout) { moved = moveColumn(layout, from, to); });
    if (moved)
        setModified(true);
}

}  // namespace solvena
