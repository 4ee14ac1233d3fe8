#pragma once

#include <QStringList>

// meter-logger record --port P [--port P2 ...] [-o FILE|DIR] [--format dat|csv|jsonl]
// [--samples N | --duration 1h30m]: the live readings of one or many meters into files, until
// the count or the time is reached or the program is told to stop. Returns the exit status.
int runRecord(const QStringList& arguments);
