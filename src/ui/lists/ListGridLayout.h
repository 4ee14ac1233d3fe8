#pragma once

#include <QStringList>

class Grid;

// The seven columns shared by the live list and the record list: row number, date, time,
// humidity, temperature, unit, battery.
QStringList listHeaderTexts();
// Each column is as wide as its sample text in the window's font.
QStringList listWidthSamples();

// Sets the header row and the column widths of a list grid (the load step of both windows).
void setUpListGrid(Grid& grid);
