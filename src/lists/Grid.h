#pragma once

#include <QString>
#include <QTableView>

class GridModel;

// The list windows' table: a header row (row 0) over data rows, a fixed left column (column 0)
// and the operations the windows use: row count (set to 1 to clear), current row and column,
// text of the current cell, column widths, adding a row from one TAB-separated text, and the
// first visible data row. Rows and columns are counted as the windows count them, the header
// being row 0. The rows live in a compact model, so a list of a million rows stays small and
// quick; there is no item object per cell.
class Grid final : public QTableView {
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
    int currentColumn() const { return currentColumn_; }
    void setCurrentColumn(int column);
    QString currentText() const;
    void setCurrentText(const QString& text);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

    // Adds a row at the end; TABs separate its cells from column 0 on, missing cells stay empty.
    void addRow(const QString& tabText);

    // The first data row shown at the top (1 when the list is not scrolled).
    int firstVisibleRow() const { return topRow_; }
    void setFirstVisibleRow(int row);

    // Column width in twips (1/1440 inch) at the screen's resolution.
    void setColumnWidthTwips(int column, int twips);

    // For appending many rows at once (GridModel::stageRow, then commitRows).
    GridModel& rows() { return *model_; }

Q_SIGNALS:
    // A click on a cell, in the grid's own row and column numbers.
    void cellClicked(int row, int column);

protected:
    void updateGeometries() override;

private:
    void scheduleViewUpdate();
    void updateView();
    void applyTopRow();

    GridModel* model_;
    int currentRow_ = 0;
    int currentColumn_ = 0;
    int topRow_ = 1;
    bool applyingTopRow_ = false;
    bool viewUpdatePending_ = false;
};
