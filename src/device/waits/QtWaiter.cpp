#include "device/waits/QtWaiter.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>

bool QtWaiter::WaitSeconds(double seconds) {
    if (stopping_)
        return false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0)));
    loops_.append(&loop);
    loop.exec();
    loops_.removeAll(&loop);
    return !stopping_;
}

void QtWaiter::stopAll() {
    stopping_ = true;
    for (const QPointer<QEventLoop>& loop : std::as_const(loops_))
        if (loop)
            loop->quit();
}
