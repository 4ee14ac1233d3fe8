#pragma once

#include <QString>

class Grid;

// The record list's SAVE: one line per data row (its position, then columns 1 to 6, each after
// a TAB, in double quotes) into the file, created or replaced. The rows go to a temporary file
// beside it that takes the file's place only once every line is written, so a save that fails
// leaves an existing file as it was. False, with the system's reason, when it failed.
bool saveRecordRows(const Grid& grid, const QString& path, QString& reason);
