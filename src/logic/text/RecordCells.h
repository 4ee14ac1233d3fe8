#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

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
    // The same cells copied, so that they outlive the grid they were read from.
    RecordCells copied() const {
        QList<QStringList> rows;
        rows.reserve(rowCount);
        for (int row = 0; row < rowCount; ++row) {
            QStringList cells;
            for (int column = 0; column <= UnitColumn; ++column)
                cells.append(at(row, column));
            rows.append(cells);
        }
        auto kept = std::make_shared<const QList<QStringList>>(std::move(rows));
        return {rowCount, [kept](int row, int column) { return kept->at(row).value(column); }};
    }
};
