#pragma once

#include "device/platform/Clock.h"

// A clock the test sets and moves. Steady time moves with it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2003, 5, 2), QTime(14, 3, 27)))
        : now_(std::move(start)) {}

    QDateTime now() const override { return now_; }
    qint64 steadyMilliseconds() const override { return steady_; }

    void set(const QDateTime& now) { now_ = now; }
    void advanceMilliseconds(qint64 ms) {
        now_ = now_.addMSecs(ms);
        steady_ += ms;
    }

private:
    QDateTime now_;
    qint64 steady_ = 1'000'000;
};
