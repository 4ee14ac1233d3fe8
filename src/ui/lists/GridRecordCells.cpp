#include "ui/lists/GridRecordCells.h"

#include "ui/lists/Grid.h"

RecordCells gridRecordCells(const Grid* grid) {
    if (grid == nullptr)
        return {};
    return {grid->rowCount(), [grid](int row, int column) { return grid->cellText(row, column); }};
}
