#include "lists/PrintListReport.h"

#include "lists/Grid.h"
#include "lists/PrintLine.h"
#include "platform/Printer.h"
#include "platform/Waiter.h"

#include <QGuiApplication>
#include <QPointer>

namespace {

// The hourglass for as long as the report runs, however it ends.
class HourglassCursor {
public:
    HourglassCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassCursor() { QGuiApplication::restoreOverrideCursor(); }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

QStringList rowCells(const Grid& grid, int row) {
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells << grid.cellText(row, column);
    return cells;
}

} // namespace

void PrintListReport(Grid& grid, Printer& printer, Waiter& waiter) {
    const HourglassCursor hourglass;
    const QPointer<Grid> alive(&grid);
    printer.printLine(printHeadingLine());
    printer.printLine(printRuleLine());
    for (int row = 1; alive && row <= grid.rowCount() - 1; ++row) {
        const QString line = printDataLine(rowCells(grid, row));
        if (!waiter.WaitSeconds(0.02))
            break;
        printer.printLine(line);
    }
    printer.endDocument();
}
