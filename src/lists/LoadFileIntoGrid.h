#pragma once

#include <QString>

class Grid;

// Fills a list grid from a data file: the data rows go, the header stays, and every field the
// reader rule finds becomes one row whose TABs separate the cells. A file that cannot be opened
// leaves the header only; a read error part-way keeps the rows read so far. Nothing is said
// either way. Returns false in those two cases.
bool LoadFileIntoGrid(Grid& grid, const QString& fileName);
