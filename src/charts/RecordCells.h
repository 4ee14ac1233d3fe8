#pragma once

#include <QString>
#include <functional>

// Read access to the record list's grid: row 0 is the heading, record k is row k; column 2 holds
// the time, 3 the humidity, 4 the temperature and 5 the unit. Cells outside the rows present
// read as empty text, so no caller can read past the grid.
struct RecordCells {
    static constexpr int TimeColumn = 2;
    static constexpr int HumidityColumn = 3;
    static constexpr int TemperatureColumn = 4;
    static constexpr int UnitColumn = 5;

    int rowCount = 0; // rows present, the heading included
    std::function<QString(int row, int column)> cellText;

    QString at(long long row, int column) const {
        if (row < 0 || row >= rowCount || !cellText)
            return {};
        return cellText(static_cast<int>(row), column);
    }
    // The last row present; 0 (the heading) when there are no records.
    long long lastRow() const { return rowCount > 0 ? rowCount - 1 : 0; }
};
