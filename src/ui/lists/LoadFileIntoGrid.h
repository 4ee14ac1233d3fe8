#pragma once

#include <QString>

class Grid;

// How far a file was read into a list grid.
struct FileLoad {
    bool opened = false;
    // Read to its end, as long as it was when it was opened.
    bool complete = false;
    qint64 bytesRead = 0;
    // The file's size when it was opened.
    qint64 size = 0;
    // Why it could not be opened or was not read to its end.
    QString whyStopped;
};

// Fills a list grid from a data file: the data rows go, the header stays, and every field the
// reader rule finds becomes one row whose TABs separate the cells. A file that cannot be opened
// leaves the header only; a read error part-way, or a file cut short while it is read, keeps the
// rows read so far. The result tells how far it got, so the caller can say so.
FileLoad LoadFileIntoGrid(Grid& grid, const QString& fileName);
