#pragma once

class Dialogs;
class Grid;
class Printer;
class Waiter;

// Prints a list grid on the printer as fixed-column text: the heading and rule lines, then one
// line per data row. It waits 0.02 s before each row while events go on, and reads the row
// count afresh each time, so rows that arrive while it prints are printed too. It stops early
// when the program ends or the grid's window is closed. The hourglass shows meanwhile. When
// there is no printer or the printer refuses the job, it stops and a box says that nothing was
// printed and why. The printer counts as busy for as long as the report runs; while it is busy
// with another report, nothing is printed.
void PrintListReport(Grid& grid, Printer& printer, Waiter& waiter, Dialogs& dialogs);
