#include "cli/RunDeadline.h"

#include "device/platform/Clock.h"

#include <QTimer>

RunDeadline::RunDeadline(QObject* parent, const Clock& clock, qint64 seconds,
                         std::chrono::milliseconds step)
    : QObject(parent), clock_(clock), milliseconds_(seconds * 1000), step_(step),
      timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &RunDeadline::check);
}

void RunDeadline::start() {
    end_ = clock_.steadyMilliseconds() + milliseconds_;
    check();
}

void RunDeadline::check() {
    const qint64 left = end_ - clock_.steadyMilliseconds();
    if (left <= 0) {
        Q_EMIT reached();
        return;
    }
    timer_->start(std::min(std::chrono::milliseconds(left), step_));
}
