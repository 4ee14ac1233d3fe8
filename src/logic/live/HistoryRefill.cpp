#include "logic/live/HistoryRefill.h"

#include "logic/recording/RecordedRange.h"

bool refillHistory(MinuteHistory& history, const QString& pattern, FileFormat format, qint64 nowMs,
                   const std::atomic_bool& stop) {
    RecordedRange day(pattern, format, nowMs - MinuteHistory::DayMs, nowMs);
    while (day.readBlock([&history](const RecordedReading& reading) {
        history.take(historyPoint(reading.takenAtMs, reading.row), writtenUnit(reading.row));
    }))
        if (stop)
            return false;
    // The file's last minute is over: the logger was not running.
    history.completeMinute();
    return true;
}
