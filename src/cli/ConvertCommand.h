#pragma once

#include <QStringList>

// meter-logger convert IN.dat OUT.csv|OUT.jsonl [--format csv|jsonl] [--tz ZONE]: a data file of
// either writer into a standard format. Returns the exit status.
int runConvert(const QStringList& arguments);
