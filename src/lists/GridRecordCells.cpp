#include "lists/GridRecordCells.h"

#include "lists/Grid.h"

RecordCells gridRecordCells(const Grid& grid) {
    RecordCells cells;
    cells.rowCount = grid.rowCount();
    cells.cellText = [&grid](int row, int column) { return grid.cellText(row, column); };
    return cells;
}
