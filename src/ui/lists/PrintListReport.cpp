#include "ui/lists/PrintListReport.h"

#include "device/waits/Waiter.h"
#include "logic/lists/PrintLine.h"
#include "ui/lists/Grid.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/Printer.h"

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

// The printer is busy for as long as the report runs, however it ends.
class BusyPrinter {
public:
    explicit BusyPrinter(PrinterBusy& busy) : busy_(busy) { busy_.setBusy(true); }
    ~BusyPrinter() { busy_.setBusy(false); }
    BusyPrinter(const BusyPrinter&) = delete;
    BusyPrinter& operator=(const BusyPrinter&) = delete;

private:
    PrinterBusy& busy_;
};

QStringList rowCells(const Grid& grid, int row) {
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells << grid.cellText(row, column);
    return cells;
}

// Prints the report under the hourglass, the printer busy meanwhile. False when the printer
// failed: the report stops at once then, for every further line would fail alike.
bool printReport(Grid& grid, Printer& printer, Waiter& waiter) {
    const BusyPrinter busy(printer.busy());
    const HourglassCursor hourglass;
    const QPointer<Grid> alive(&grid);
    bool printing = printer.printLine(printHeadingLine()) && printer.printLine(printRuleLine());
    for (int row = 1; printing && alive && row <= grid.rowCount() - 1; ++row) {
        const QString line = printDataLine(rowCells(grid, row));
        if (!waiter.WaitSeconds(0.02))
            break;
        printing = printer.printLine(line);
    }
    return printing && printer.endDocument();
}

} // namespace

void PrintListReport(Grid& grid, Printer& printer, Waiter& waiter, Dialogs& dialogs) {
    if (printer.busy().isBusy())
        return;
    const QPointer<Grid> alive(&grid);
    if (printReport(grid, printer, waiter))
        return;
    // Once the hourglass has gone: the user reads the box with the ordinary pointer.
    showFailure(dialogs, alive ? alive->window() : nullptr, QStringLiteral("NOTHING WAS PRINTED"),
                printer.failureText());
}
