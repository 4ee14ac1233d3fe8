#pragma once

#include <QDateTime>

// The PC's clock. Wall time for what is shown and recorded; a steady count for elapsed time,
// which neither midnight nor a clock change disturbs.
class Clock {
public:
    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
    virtual qint64 steadyMilliseconds() const = 0;

    double secondsSinceMidnight() const {
        const QTime time = now().time();
        return time.msecsSinceStartOfDay() / 1000.0;
    }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    qint64 steadyMilliseconds() const override;
};
