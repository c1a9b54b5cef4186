#pragma once
// dgdMain: the owner-drawn grid that paints the chart it is given over its cells. It
// owns neither the chart nor its layout: the window hands both to it and changes them.
// The grid supplies the geometry (cell rectangles as scrolled), the selection the
// editing commands work on, and the user's events, header drags among them.

#include "document/CellSelection.h"
#include "document/GridLayout.h"
#include "document/TCell.h"
#include "render/ChartLayout.h"
#include "render/GridGeometry.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>

#include <functional>
#include <vector>

class QLineEdit;

namespace solvena {

class ChartGrid : public QAbstractScrollArea, public GridGeometry {
    Q_OBJECT

public:
    explicit ChartGrid(QWidget* parent = nullptr);
    ~ChartGrid() override;

    // GridGeometry: the output layout's rectangles less the scroll offset, the header
    // row fixed at the top, cut at the client edge, zero out of view.
    int colCount() const override { return layout_.colCount(); }
    int rowCount() const override { return layout_.rowCount(); }
    int defaultRowHeight() const override { return layout_.defaultRowHeight; }
    CellRect cellRect(int col, int row) const override;
    // The client area: what the viewport shows.
    CanvasRect paintArea() const override;

    // Everything about the grid's layout is this value, the window's, shown as it is.
    const GridLayout& layout() const { return layout_; }
    void setLayout(const GridLayout& layout);
    int defaultColWidth() const { return layout_.defaultColWidth; }
    int colWidth(int col) const { return layout_.colWidth(col); }
    int rowHeight(int row) const { return layout_.rowHeight(row); }

    // The chart painted over the cells, with the font of the header's texts; none
    // paints the bare grid. The chart must outlive the grid or be replaced first.
    void setChart(const TCell* chart, const FontDesc& headerFont);

    bool editingEnabled() const { return editing_; }            // goEditing
    void setEditingEnabled(bool on);

    // The selection. Setting it puts the anchor at (left, top) and the current cell
    // at (right, bottom); row 0 is never part of it.
    CellSelection selection() const;
    void setSelection(const CellSelection& selection);
    QPoint currentCell() const { return current_; }   // x = column, y = row
    QPoint anchorCell() const { return anchor_; }

    // Scrolling: the first column in view and the first row in view under the header.
    int leftCol() const { return leftCol_; }
    void setLeftCol(int col);
    int topRow() const { return topRow_; }
    void setTopRow(int row);

    // Redraws the whole grid at once.
    void repaintGrid();

    // In-place editor.
    bool isEditorOpen() const;
    QLineEdit* editor() const { return editor_; }
    // Supplies the text an editor opened with Enter or F2 starts with (empty when unset).
    void setEditTextProvider(std::function<QString(int col, int row)> provider);
    // Closes the editor, reporting its final text.
    void closeEditor();

signals:
    void selectCell(int col, int row);                          // before the current cell moves
    void editorOpened(int col, int row);                        // before the editor shows its first text
    void setEditText(int col, int row, const QString& text);    // editor text changed or closed
    void editCancelled(int col, int row);                       // closed with Esc; no final text
    void keyPressed(QChar key);                                 // a character typed in grid or editor
    void doubleClicked();
    // A header drag has ended: a column's boundary was dragged to another width, or a
    // column to another place. The grid shows a width while it is dragged, then the
    // layout it was given again, until the window hands it the changed one.
    void columnResized(int col, int width);
    void columnMoved(int from, int to);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    enum class DragMode { None, Select, SizeColumn, MoveColumn };

    int maxLeftCol() const;
    int maxTopRow() const;
    void updateScrollBars();
    // Cell under a viewport point, clamped to the grid; row may be 0 for the header.
    QPoint cellAt(const QPoint& pos, bool clamp) const;
    int columnBoundaryAt(const QPoint& pos) const;   // column whose right line is under pos, or -1
    // Moves the current cell as the user does: raises selectCell first (also for the
    // current cell itself when `reportSame` is set, as a click does), then moves,
    // extending the selection from the anchor when `extend` is set.
    void moveCurrent(int col, int row, bool extend, bool reportSame = false);
    void scrollToCurrent();
    void clampSelection();
    void openEditor(const QString& text, bool fromCell);
    // Closes the editor without reporting its text: whoever stored the texts it
    // reported puts back what the cell had.
    void cancelEditor();
    void paintCells(QPainter& painter) const;
    // Recomputes the extent in view after a change of the scroll position or the
    // viewport's size.
    void updateLayout();

    // The layout as given, shown with the dragged width while a column is sized.
    void showLayout(const GridLayout& layout);

    GridLayout layout_;               // as shown
    GridLayout givenLayout_;          // as the window gave it
    ChartLayout geometry_{layout_};   // the layout's cells, unscrolled
    const TCell* chart_ = nullptr;
    FontDesc headerFont_;
    bool editing_ = false;

    int lastFullCol_ = -1;
    int lastFullRow_ = 0;
    bool updatingScrollBars_ = false;

    QPoint anchor_{0, 1};
    QPoint current_{0, 1};
    int leftCol_ = 0;
    int topRow_ = 1;

    DragMode drag_ = DragMode::None;
    int dragColumn_ = -1;
    int dragStartWidth_ = 0;   // the sized column's width when the drag began
    int moveTarget_ = -1;
    QPoint pressPos_;

    QLineEdit* editor_ = nullptr;
    QPoint editorCell_{-1, -1};
    std::function<QString(int, int)> editTextProvider_;
};

}  // namespace solvena
