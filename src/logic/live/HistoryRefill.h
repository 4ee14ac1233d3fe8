#pragma once

#include "logic/live/MinuteHistory.h"
#include "logic/recording/FileFormat.h"

#include <QString>

// Fills a meter's history with the day before nowMs from the end of its recording (the files of
// yesterday and today when the name holds {date}), so that a restart does not blank the chart.
void refillHistory(MinuteHistory& history, const QString& pattern, FileFormat format, qint64 nowMs);
