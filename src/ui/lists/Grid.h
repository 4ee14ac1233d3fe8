#pragma once

#include <QAbstractItemView>
#include <QString>

class GridModel;
class QHeaderView;

// The list windows' table: a header row (row 0) over data rows, a fixed left column (column 0)
// and the operations the windows use: row count (set to 1 to clear), current row and column,
// text of the current cell, column widths, adding a row from one TAB-separated text, and the
// first visible data row. Rows and columns are counted as the windows count them, the header
// being row 0. The rows live in a compact model, so a list of a million rows stays small and
// quick; there is no item object per cell.
//
// Every row has the same height, so the view finds a row's place by arithmetic and keeps nothing
// per row: adding a row to a list of a week of readings costs what it costs in an empty one.
class Grid final : public QAbstractItemView {
    Q_OBJECT

public:
    explicit Grid(QWidget* parent, int columns = 7);

    // Rows including the header row.
    int rowCount() const;
    // Keeps the header and the first rows - 1 data rows (1 removes every data row); a larger
    // count adds empty rows.
    void setRowCount(int rows);
    int columnCount() const;

    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row);
    void setCurrentColumn(int column);
    QString currentText() const;
    void setCurrentText(const QString& text);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

    // Adds a row at the end; TABs separate its cells from column 0 on, missing cells stay empty.
    void addRow(const QString& tabText);
    // Adds a row and makes it current; once more than rowsBeforeScrolling data rows are listed,
    // the list scrolls a row so that the newest stays in view.
    void addRowAndFollow(const QString& tabText, int rowsBeforeScrolling);

    // The first data row shown at the top (1 when the list is not scrolled).
    int firstVisibleRow() const { return topRow_; }
    void setFirstVisibleRow(int row);

    int columnWidth(int column) const;
    void setColumnWidth(int column, int pixels);
    // Column width in twips (1/1440 inch) at the screen's resolution.
    void setColumnWidthTwips(int column, int twips);
    int rowHeight() const;
    // The model row drawn at this height of the viewport, or -1 below the last row.
    int rowAt(int y) const;
    // The room the header, every column and this many data rows take, frame and scroll bar
    // included.
    QSize sizeForRows(int rows) const;

    // For appending many rows at once (GridModel::stageRow, then commitRows).
    GridModel& rows() { return *model_; }

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

Q_SIGNALS:
    // A click on a cell, in the grid's own row and column numbers.
    void cellClicked(int row, int column);

protected:
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

private:
    int fullyShownRows() const;
    void paintCell(QPainter& painter, QStyleOptionViewItem option, const QModelIndex& index,
                   const QRect& cell);
    void scheduleViewUpdate();
    void updateView();
    void applyTopRow();

    GridModel* model_;
    QHeaderView* header_;
    int currentRow_ = 0;
    int currentColumn_ = 0;
    int topRow_ = 1;
    bool applyingTopRow_ = false;
    bool viewUpdatePending_ = false;
    bool layingOut_ = false;
};
