#pragma once

#include <QObject>
#include <chrono>

class Clock;
class QTimer;

// The end of a recording given a duration, however far off. A timer's interval is an int of
// milliseconds (under 25 days), so the wait goes in steps, each measured on the steady clock,
// which neither a change of the wall clock nor a suspended timer can fool.
class RunDeadline final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds Step = std::chrono::hours(1);

    // step: the longest single wait; tests take a short one with a clock of their own.
    RunDeadline(QObject* parent, const Clock& clock, qint64 seconds,
                std::chrono::milliseconds step = Step);

    void start();

Q_SIGNALS:
    void reached();

private:
    void check();

    const Clock& clock_;
    qint64 milliseconds_;
    std::chrono::milliseconds step_;
    qint64 end_ = 0;
    QTimer* timer_;
};
