#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <vector>

struct ExportRow;

// A point of a meter's day: the last reading of its minute, the temperature and the dew point in
// the unit its file is written in; NaN where a value was missing or beyond the meter's range.
struct HistoryPoint {
    qint64 takenAtMs = 0;
    double humidity = 0;
    double temperature = 0;
    double dewPoint = 0;
};

// The point of a reading (a written row) taken at takenAtMs.
HistoryPoint historyPoint(qint64 takenAtMs, const ExportRow& row);

// A meter's last day, a point a minute, in a ring that never holds more than a day's minutes.
// A minute's point is known once a reading of a later minute comes.
class MinuteHistory {
public:
    static constexpr int Capacity = 24 * 60;
    static constexpr qint64 DayMs = 24 * 3600 * 1000;

    // The reading's point, and the point of the minute before it, now complete, when this one
    // starts a new minute. A reading of a minute already passed (the clock set back) takes the
    // place of every point from its minute on, so that the points stay in time order.
    std::optional<HistoryPoint> take(const HistoryPoint& point, char unit);
    // Completes the minute taken last, as when the readings of a file have all been read.
    std::optional<HistoryPoint> completeMinute();
    // Puts the points of earlier (read from the files while this one took the readings) before
    // this one's: those of the minutes before this one's first.
    void putBefore(const MinuteHistory& earlier);
    // The complete points of the day before nowMs, oldest first.
    std::vector<HistoryPoint> points(qint64 nowMs) const;
    // 'C' or 'F', as the last reading was written.
    char unit() const { return unit_; }

private:
    void commit(const HistoryPoint& point);
    const HistoryPoint& at(int index) const;

    std::vector<HistoryPoint> slots_;
    int first_ = 0;
    int count_ = 0;
    std::optional<HistoryPoint> pending_;
    char unit_ = 'C';
};

// {"meter":N,"temperatureUnit":"°C","t":[...],"humidity":[...],"temperature":[...],
// "dewPoint":[...]}, null where a value is missing.
QByteArray historyJson(int meter, const std::vector<HistoryPoint>& points, char unit);
// {"meter":N,"t":ms,"humidity":..,"temperature":..,"dewPoint":..}
QByteArray historyPointJson(int meter, const HistoryPoint& point);
