#include "cli/TerminalWidth.h"

#include <sys/ioctl.h>

int terminalColumns(int fd) {
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

QString fitToColumns(const QString& line, int columns) {
    if (columns <= 0 || line.size() < columns)
        return line;
    return line.left(columns - 1);
}
