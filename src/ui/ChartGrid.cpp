#include "ui/ChartGrid.h"

#include "render/DrawChart.h"
#include "render/QtFont.h"
#include "render/RasterCanvas.h"
#include "render/RenderOptions.h"

#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kDataLineColour = 0xC0C0C0;   // lines between data cells
constexpr QRgb kHeaderLineColour = 0x000000;  // lines of the header row

QRect interior(const CellRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

ChartGrid::ChartGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(u"dgdMain"_s);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    QWidget::setFont(toQFont(layout_.gridFont));

    editor_ = new QLineEdit(viewport());
    editor_->setObjectName(u"dgdMainEditor"_s);
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (editorCell_.x() >= 0)
            emit setEditText(editorCell_.x(), editorCell_.y(), text);
    });

    updateLayout();
}

ChartGrid::~ChartGrid()
{
    // The editor is destroyed after this object; keep its last events away from it.
    editor_->removeEventFilter(this);
    editor_->disconnect(this);
}

CellRect ChartGrid::cellRect(int col, int row) const
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return {};
    if (col < leftCol_ || col > lastFullCol_ + 1)
        return {};
    if (row > 0 && (row < topRow_ || row > lastFullRow_ + 1))
        return {};
    // The header row stays at the top; the rows under it scroll.
    const int dx = geometry_.columnLeft(leftCol_);
    const int dy = row > 0 ? geometry_.rowTop(topRow_) - geometry_.rowTop(1) : 0;
    const CellRect cell = geometry_.cellRect(col, row);
    const int left = cell.left - dx;
    const int top = cell.top - dy;
    const int width = viewport()->width();
    const int height = viewport()->height();
    if (left >= width || top >= height)
        return {};
    return CellRect{left, top, std::min(cell.right - dx, width), std::min(cell.bottom - dy, height)};
}

CanvasRect ChartGrid::paintArea() const
{
    return CanvasRect{0, 0, viewport()->width(), viewport()->height()};
}

void ChartGrid::updateLayout()
{
    leftCol_ = std::clamp(leftCol_, 0, maxLeftCol());
    topRow_ = std::clamp(topRow_, 1, maxTopRow());

    const int width = viewport()->width();
    const int left = geometry_.columnLeft(leftCol_);
    lastFullCol_ = leftCol_ - 1;
    while (lastFullCol_ + 1 < colCount() && geometry_.columnLeft(lastFullCol_ + 2) - 1 - left <= width)
        ++lastFullCol_;

    const int height = viewport()->height();
    const int top = geometry_.rowTop(topRow_) - geometry_.rowTop(1);
    lastFullRow_ = topRow_ - 1;
    while (lastFullRow_ + 1 < rowCount() && geometry_.rowTop(lastFullRow_ + 2) - 1 - top <= height)
        ++lastFullRow_;

    updateScrollBars();
    if (isEditorOpen()) {
        const CellRect r = cellRect(editorCell_.x(), editorCell_.y());
        if (r.isOutOfView())
            closeEditor();
        else
            editor_->setGeometry(interior(r));
    }
}

int ChartGrid::maxLeftCol() const
{
    // The first column from which every remaining column fits in the viewport.
    const int width = viewport()->width();
    int col = colCount() - 1;
    while (col > 0 && geometry_.totalWidth() - geometry_.columnLeft(col - 1) - 1 <= width)
        --col;
    return std::max(0, col);
}

int ChartGrid::maxTopRow() const
{
    const int height = viewport()->height() - geometry_.rowTop(1);
    int row = rowCount() - 1;
    while (row > 1 && geometry_.totalHeight() - geometry_.rowTop(row - 1) - 1 <= height)
        --row;
    return std::max(1, row);
}

void ChartGrid::updateScrollBars()
{
    // The scroll area must see the range changes to show or hide its bars; only the
    // scrolling they would report back is ignored.
    const bool wasUpdating = std::exchange(updatingScrollBars_, true);
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, maxLeftCol());
    h->setPageStep(std::max(1, lastFullCol_ - leftCol_ + 1));
    h->setValue(leftCol_);

    QScrollBar* v = verticalScrollBar();
    v->setRange(1, maxTopRow());
    v->setPageStep(std::max(1, lastFullRow_ - topRow_ + 1));
    v->setValue(topRow_);
    updatingScrollBars_ = wasUpdating;
}

void ChartGrid::scrollContentsBy(int, int)
{
    if (updatingScrollBars_)
        return;
    leftCol_ = horizontalScrollBar()->value();
    topRow_ = verticalScrollBar()->value();
    updateLayout();
    viewport()->update();
}

void ChartGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateLayout();
}

void ChartGrid::setLeftCol(int col)
{
    leftCol_ = col;
    updateLayout();
    viewport()->update();
}

void ChartGrid::setTopRow(int row)
{
    topRow_ = row;
    updateLayout();
    viewport()->update();
}

void ChartGrid::setLayout(const GridLayout& layout)
{
    givenLayout_ = layout;
    showLayout(layout);
}

void ChartGrid::showLayout(const GridLayout& layout)
{
    const bool fontChanged = layout.gridFont != layout_.gridFont;
    layout_ = layout;
    if (fontChanged)
        QWidget::setFont(toQFont(layout_.gridFont));
    geometry_ = ChartLayout(layout_);
    if (isEditorOpen() && (editorCell_.x() >= colCount() || editorCell_.y() >= rowCount()))
        closeEditor();
    clampSelection();
    updateLayout();
    viewport()->update();
}

void ChartGrid::setChart(const TCell* chart, const FontDesc& headerFont)
{
    chart_ = chart;
    headerFont_ = headerFont;
    viewport()->update();
}

void ChartGrid::clampSelection()
{
    const int lastCol = colCount() - 1;
    const int lastRow = std::max(1, rowCount() - 1);
    const QPoint current(std::min(current_.x(), lastCol), std::min(current_.y(), lastRow));
    if (current != current_) {
        emit selectCell(current.x(), current.y());
        current_ = current;
    }
    anchor_ = QPoint(std::min(anchor_.x(), lastCol), std::min(anchor_.y(), lastRow));
}

void ChartGrid::setEditingEnabled(bool on)
{
    editing_ = on;
    if (!on && isEditorOpen())
        closeEditor();
}

CellSelection ChartGrid::selection() const
{
    return CellSelection{std::min(anchor_.x(), current_.x()), std::min(anchor_.y(), current_.y()),
                         std::max(anchor_.x(), current_.x()), std::max(anchor_.y(), current_.y())};
}

void ChartGrid::setSelection(const CellSelection& s)
{
    const int lastCol = colCount() - 1;
    const int lastRow = std::max(1, rowCount() - 1);
    const int left = std::clamp(std::min(s.left, s.right), 0, lastCol);
    const int right = std::clamp(std::max(s.left, s.right), 0, lastCol);
    const int top = std::clamp(std::min(s.top, s.bottom), 1, lastRow);
    const int bottom = std::clamp(std::max(s.top, s.bottom), 1, lastRow);
    anchor_ = QPoint(left, top);
    current_ = QPoint(right, bottom);
    viewport()->update();
}

void ChartGrid::repaintGrid()
{
    viewport()->update();
}

void ChartGrid::setEditTextProvider(std::function<QString(int, int)> provider)
{
    editTextProvider_ = std::move(provider);
}

void ChartGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    paintCells(painter);
    if (chart_) {
        // Once per paint event: the renderer walks the whole chart over the cells.
        RasterCanvas canvas(painter);
        drawChart(canvas, *this, *chart_, renderOptionsFor(layout_, headerFont_, true));
    }
}

void ChartGrid::paintCells(QPainter& painter) const
{
    painter.fillRect(viewport()->rect(), Qt::white);
    const CellSelection sel = selection();
    const QPalette& pal = palette();
    const int lastCol = std::min(colCount() - 1, lastFullCol_ + 1);
    const int lastRow = std::min(rowCount() - 1, lastFullRow_ + 1);

    auto paintCell = [&](int c, int r) {
        const CellRect rect = cellRect(c, r);
        if (rect.isOutOfView())
            return;
        const QRect box = interior(rect);
        const bool header = r == 0;
        if (header) {
            painter.fillRect(box, pal.color(QPalette::Button));
            // Raised edge: light top/left, shadow bottom/right, inside the cell.
            painter.fillRect(box.left(), box.top(), box.width(), 1, pal.color(QPalette::Light));
            painter.fillRect(box.left(), box.top(), 1, box.height(), pal.color(QPalette::Light));
            painter.fillRect(box.left(), box.bottom(), box.width(), 1, pal.color(QPalette::Dark));
            painter.fillRect(box.right(), box.top(), 1, box.height(), pal.color(QPalette::Dark));
        } else {
            // The viewport is white already: only the selection is painted over it.
            const bool selected = c >= sel.left && c <= sel.right && r >= sel.top && r <= sel.bottom;
            if (selected)
                painter.fillRect(box, pal.color(QPalette::Highlight));
        }
        if (header) {
            const QColor line(kHeaderLineColour);
            painter.fillRect(rect.right, rect.top, 1, rect.bottom - rect.top + 1, line);
            painter.fillRect(rect.left, rect.bottom, rect.right - rect.left + 1, 1, line);
        }
    };

    for (int c = leftCol_; c <= lastCol; ++c) {
        paintCell(c, 0);
        for (int r = topRow_; r <= lastRow; ++r)
            paintCell(c, r);
    }

    // The data cells' grid lines, each cell's right and bottom one, joined where the
    // cells meet: a rectangle per column and per row rather than two per cell.
    const QColor dataLine(kDataLineColour);
    auto joinLines = [&](bool vertical) {
        const int outerFirst = vertical ? leftCol_ : topRow_;
        const int outerLast = vertical ? lastCol : lastRow;
        const int innerFirst = vertical ? topRow_ : leftCol_;
        const int innerLast = vertical ? lastRow : lastCol;
        for (int outer = outerFirst; outer <= outerLast; ++outer) {
            bool open = false;
            int at = 0, from = 0, to = 0;  // the line's place across it, and its extent along it
            auto flush = [&] {
                if (open)
                    vertical ? painter.fillRect(at, from, 1, to - from + 1, dataLine)
                             : painter.fillRect(from, at, to - from + 1, 1, dataLine);
            };
            for (int inner = innerFirst; inner <= innerLast; ++inner) {
                const CellRect rect = vertical ? cellRect(outer, inner) : cellRect(inner, outer);
                if (rect.isOutOfView())
                    continue;
                const int place = vertical ? rect.right : rect.bottom;
                const int start = vertical ? rect.top : rect.left;
                const int end = vertical ? rect.bottom : rect.right;
                if (open && place == at && start == to + 1) {
                    to = end;
                    continue;
                }
                flush();
                open = true;
                at = place;
                from = start;
                to = end;
            }
            flush();
        }
    };
    if (layout_.vertLines)
        joinLines(true);
    if (layout_.horzLines)
        joinLines(false);

    if (drag_ == DragMode::MoveColumn && moveTarget_ >= 0) {
        const CellRect target = cellRect(moveTarget_, 0);
        if (!target.isOutOfView()) {
            const int x = moveTarget_ > dragColumn_ ? target.right : target.left - 1;
            painter.fillRect(x - 1, 0, 3, viewport()->height(), pal.color(QPalette::Highlight));
        }
    }
}

}  // namespace solvena
