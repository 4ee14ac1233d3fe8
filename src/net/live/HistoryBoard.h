#pragma once

#include "logic/live/MinuteHistory.h"

#include <QMutex>
#include <vector>

// Every meter's last day, taken on the main thread as each reading arrives there and read by the
// live page's routes on the server's thread, each reader with a copy of the points.
class HistoryBoard {
public:
    explicit HistoryBoard(size_t meters) : histories_(meters) {}

    // The meter's history as read from its files, put before the readings taken meanwhile.
    void fill(size_t meter, const MinuteHistory& fromFiles);
    // The reading's point; the point of the minute it completed, if any.
    std::optional<HistoryPoint> take(size_t meter, const HistoryPoint& point, char unit);
    // /api/history's answer for the meter.
    QByteArray json(size_t meter, qint64 nowMs) const;

private:
    mutable QMutex mutex_;
    std::vector<MinuteHistory> histories_;
};
