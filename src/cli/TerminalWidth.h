#pragma once

#include <QString>

// The columns of the terminal behind fd, asked afresh each time so that a resized window is
// followed; 0 when fd is no terminal or the terminal does not say.
int terminalColumns(int fd);

// The line cut to fewer than columns characters (columns 0: as it is). A line the terminal wraps
// takes two rows, and a redraw in place that counts one row per line then writes over the wrong
// ones; the last column stays free because some terminals wrap on writing it.
QString fitToColumns(const QString& line, int columns);
