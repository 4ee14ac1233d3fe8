#pragma once

#include <QString>

// Writes a line to stderr as it is, whatever the locale.
void printError(const QString& line);
