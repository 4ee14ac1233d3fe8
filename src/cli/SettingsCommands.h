#pragma once

#include <QStringList>

// The meter's datalogger settings, each confirmed by reading the status back. Each returns the
// exit status.
// meter-logger erase --port P --yes
int runErase(const QStringList& arguments);
// meter-logger set-clock --port P [--time ISO-8601]
int runSetClock(const QStringList& arguments);
// meter-logger set-interval --port P SECONDS
int runSetInterval(const QStringList& arguments);
// meter-logger set-id --port P N
int runSetId(const QStringList& arguments);
