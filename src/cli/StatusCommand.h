#pragma once

#include <QStringList>

// meter-logger status --port P [--json]: the meter's datalogger as LOGGER shows it. Returns the
// exit status.
int runStatus(const QStringList& arguments);
