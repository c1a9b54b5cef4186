// The grid's mouse, keyboard and in-place editor handling.
#include "ui/ChartGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace solvena {

namespace {

constexpr int kSizingSlack = 2;  // pixels either side of a header line that grab it

bool isTypedCharacter(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

QPoint ChartGrid::cellAt(const QPoint& pos, bool clamp) const
{
    int col = -1;
    for (int c = leftCol_; c < colCount(); ++c) {
        const CellRect r = cellRect(c, 0);
        if (r.isOutOfView())
            break;
        col = c;
        if (pos.x() <= r.right)
            break;
    }
    int row = -1;
    if (pos.y() <= rowHeight(0)) {
        row = 0;
    } else {
        for (int r = topRow_; r < rowCount(); ++r) {
            const CellRect rect = cellRect(leftCol_, r);
            if (rect.isOutOfView())
                break;
            row = r;
            if (pos.y() <= rect.bottom)
                break;
        }
    }
    if (!clamp && (pos.x() < 0 || pos.y() < 0 || pos.x() >= viewport()->width() ||
                   pos.y() >= viewport()->height()))
        return {-1, -1};
    if (!clamp && col >= 0 && pos.x() > cellRect(col, 0).right)
        col = -1;  // beyond the last column
    return {col, row};
}

int ChartGrid::columnBoundaryAt(const QPoint& pos) const
{
    if (pos.y() < 0 || pos.y() > rowHeight(0))
        return -1;
    for (int c = leftCol_; c < colCount(); ++c) {
        const CellRect r = cellRect(c, 0);
        if (r.isOutOfView())
            break;
        if (std::abs(pos.x() - r.right) <= kSizingSlack)
            return c;
    }
    return -1;
}

void ChartGrid::moveCurrent(int col, int row, bool extend, bool reportSame)
{
    col = std::clamp(col, 0, colCount() - 1);
    row = std::clamp(row, 1, std::max(1, rowCount() - 1));
    if (isEditorOpen())
        closeEditor();
    if (reportSame || QPoint(col, row) != current_)
        emit selectCell(col, row);
    current_ = QPoint(col, row);
    if (!extend)
        anchor_ = current_;
    scrollToCurrent();
    viewport()->update();
}

void ChartGrid::scrollToCurrent()
{
    const int col = current_.x();
    const int row = current_.y();
    if (col < leftCol_) {
        setLeftCol(col);
    } else {
        while (col > lastFullCol_ && leftCol_ < col && leftCol_ < maxLeftCol())
            setLeftCol(leftCol_ + 1);
    }
    if (row < topRow_) {
        setTopRow(row);
    } else {
        while (row > lastFullRow_ && topRow_ < row && topRow_ < maxTopRow())
            setTopRow(topRow_ + 1);
    }
}

void ChartGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    if (isEditorOpen())
        closeEditor();
    const QPoint pos = event->position().toPoint();
    pressPos_ = pos;
    const int boundary = columnBoundaryAt(pos);
    if (boundary >= 0) {
        drag_ = DragMode::SizeColumn;
        dragColumn_ = boundary;
        dragStartWidth_ = colWidth(boundary);
        return;
    }
    const QPoint cell = cellAt(pos, false);
    if (cell.x() < 0 || cell.y() < 0)
        return;
    if (cell.y() == 0) {
        drag_ = DragMode::MoveColumn;
        dragColumn_ = cell.x();
        moveTarget_ = -1;
        return;
    }
    drag_ = DragMode::Select;
    moveCurrent(cell.x(), cell.y(), event->modifiers() & Qt::ShiftModifier, true);
}

void ChartGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    switch (drag_) {
    case DragMode::None:
        viewport()->setCursor(columnBoundaryAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    case DragMode::SizeColumn: {
        GridLayout dragged = layout_;
        setColWidth(dragged, dragColumn_, pos.x() - cellRect(dragColumn_, 0).left);
        showLayout(dragged);
        return;
    }
    case DragMode::MoveColumn: {
        if ((pos - pressPos_).manhattanLength() < QApplication::startDragDistance())
            return;
        moveTarget_ = cellAt(pos, true).x();
        viewport()->update();
        return;
    }
    case DragMode::Select: {
        // Dragging past an edge scrolls one cell at a time.
        if (pos.x() >= viewport()->width() && leftCol_ < maxLeftCol())
            setLeftCol(leftCol_ + 1);
        else if (pos.x() < 0 && leftCol_ > 0)
            setLeftCol(leftCol_ - 1);
        if (pos.y() >= viewport()->height() && topRow_ < maxTopRow())
            setTopRow(topRow_ + 1);
        else if (pos.y() <= rowHeight(0) && topRow_ > 1)
            setTopRow(topRow_ - 1);
        const QPoint cell = cellAt(pos, true);
        if (cell.x() >= 0 && cell.y() >= 0 && QPoint(cell.x(), std::max(1, cell.y())) != current_)
            moveCurrent(cell.x(), std::max(1, cell.y()), true);
        return;
    }
    }
}

void ChartGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const DragMode drag = std::exchange(drag_, DragMode::None);
    const int column = std::exchange(dragColumn_, -1);
    const int target = std::exchange(moveTarget_, -1);
    viewport()->update();
    if (drag == DragMode::MoveColumn && target >= 0 && target != column)
        emit columnMoved(column, target);
    if (drag == DragMode::SizeColumn) {
        const int width = colWidth(column);
        showLayout(givenLayout_);
        if (width != dragStartWidth_)
            emit columnResized(column, width);
    }
}

void ChartGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = cellAt(event->position().toPoint(), false);
    if (cell.x() >= 0 && cell.y() > 0)
        emit doubleClicked();
}

bool ChartGrid::focusNextPrevChild(bool)
{
    return false;  // Tab moves between cells
}

void ChartGrid::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int col = current_.x();
    const int row = current_.y();
    const int pageRows = std::max(1, lastFullRow_ - topRow_ + 1);
    switch (event->key()) {
    case Qt::Key_Left: moveCurrent(col - 1, row, shift); return;
    case Qt::Key_Right: moveCurrent(col + 1, row, shift); return;
    case Qt::Key_Up: moveCurrent(col, row - 1, shift); return;
    case Qt::Key_Down: moveCurrent(col, row + 1, shift); return;
    case Qt::Key_PageUp: moveCurrent(col, row - pageRows, shift); return;
    case Qt::Key_PageDown: moveCurrent(col, row + pageRows, shift); return;
    case Qt::Key_Home: moveCurrent(0, ctrl ? 1 : row, shift); return;
    case Qt::Key_End: moveCurrent(colCount() - 1, ctrl ? rowCount() - 1 : row, shift); return;
    case Qt::Key_Tab:
        if (col + 1 < colCount())
            moveCurrent(col + 1, row, false);
        else if (row + 1 < rowCount())
            moveCurrent(0, row + 1, false);
        return;
    case Qt::Key_Backtab:
        if (col > 0)
            moveCurrent(col - 1, row, false);
        else if (row > 1)
            moveCurrent(colCount() - 1, row - 1, false);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (editing_)
            openEditor(editTextProvider_ ? editTextProvider_(col, row) : QString(), true);
        return;
    case Qt::Key_Backspace:
        if (editing_)
            openEditor(QString(), false);
        emit keyPressed(QChar(u'\b'));
        return;
    default:
        break;
    }
    if (isTypedCharacter(event)) {
        // The editor opens first, so the character handler can tell a name being typed.
        if (editing_)
            openEditor(event->text(), false);
        for (QChar ch : event->text())
            emit keyPressed(ch);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool ChartGrid::isEditorOpen() const
{
    return editorCell_.x() >= 0;
}

void ChartGrid::openEditor(const QString& text, bool fromCell)
{
    if (isEditorOpen())
        return;
    scrollToCurrent();
    const CellRect rect = cellRect(current_.x(), current_.y());
    if (rect.isOutOfView())
        return;
    editorCell_ = current_;
    emit editorOpened(editorCell_.x(), editorCell_.y());
    editor_->setGeometry(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
    editor_->setFont(QWidget::font());
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->setText(text);
    if (!fromCell)
        editor_->end(false);
}

void ChartGrid::closeEditor()
{
    if (!isEditorOpen())
        return;
    const QPoint cell = editorCell_;
    const bool hadFocus = editor_->hasFocus();
    emit setEditText(cell.x(), cell.y(), editor_->text());
    editorCell_ = QPoint(-1, -1);
    editor_->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void ChartGrid::cancelEditor()
{
    if (!isEditorOpen())
        return;
    const QPoint cell = std::exchange(editorCell_, QPoint(-1, -1));
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    emit editCancelled(cell.x(), cell.y());
    viewport()->update();
}

bool ChartGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != editor_)
        return QAbstractScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && isEditorOpen())
            closeEditor();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        closeEditor();
        return true;
    case Qt::Key_Escape:
        cancelEditor();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        closeEditor();
        keyPressEvent(key);
        return true;
    case Qt::Key_Backspace:
        emit keyPressed(QChar(u'\b'));
        return false;
    default:
        if (isTypedCharacter(key)) {
            for (QChar ch : key->text())
                emit keyPressed(ch);
        }
        return false;
    }
}

}  // namespace solvena
