#include "cli/ErrorLine.h"

#include <cstdio>

void printError(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
}
