#pragma once

#include "logic/live/MinuteHistory.h"
#include "logic/recording/FileFormat.h"

#include <QString>
#include <atomic>

// Fills a meter's history with the day before nowMs from the end of its recording (the files of
// yesterday and today when the name holds {date}), so that a restart does not blank the chart.
// False, the history left unfinished, once stop is set: a day of a second's readings is many
// megabytes to read.
bool refillHistory(MinuteHistory& history, const QString& pattern, FileFormat format, qint64 nowMs,
                   const std::atomic_bool& stop);
