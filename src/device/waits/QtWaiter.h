#pragma once

#include "device/waits/Waiter.h"

#include <QList>
#include <QPointer>

class QEventLoop;

// Waits in a nested event loop that a single-shot timer ends: no busy loop, no sleep, and the
// length is measured by the timer, not the time of day, so midnight does not matter.
class QtWaiter final : public Waiter {
public:
    bool WaitSeconds(double seconds) override;
    void stopAll() override;
    bool stopping() const override { return stopping_; }

private:
    bool stopping_ = false;
    QList<QPointer<QEventLoop>> loops_;
};
