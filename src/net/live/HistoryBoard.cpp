#include "net/live/HistoryBoard.h"

void HistoryBoard::fill(size_t meter, const MinuteHistory& fromFiles) {
    const QMutexLocker lock(&mutex_);
    histories_.at(meter).putBefore(fromFiles);
}

std::optional<HistoryPoint> HistoryBoard::take(size_t meter, const HistoryPoint& point, char unit) {
    const QMutexLocker lock(&mutex_);
    return histories_.at(meter).take(point, unit);
}

QByteArray HistoryBoard::json(size_t meter, qint64 nowMs) const {
    std::vector<HistoryPoint> points;
    char unit = 'C';
    {
        const QMutexLocker lock(&mutex_);
        points = histories_.at(meter).points(nowMs);
        unit = histories_.at(meter).unit();
    }
    return historyJson(static_cast<int>(meter), points, unit);
}
