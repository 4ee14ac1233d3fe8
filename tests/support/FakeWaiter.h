#pragma once

#include "device/waits/Waiter.h"

#include <QList>
#include <functional>

class FakeClock;

// Waits without waiting: each wait is recorded, moves the fake clock (when given) by its length
// and runs the test's hook, which stands for whatever would happen meanwhile.
class FakeWaiter final : public Waiter {
public:
    explicit FakeWaiter(FakeClock* clock = nullptr) : clock_(clock) {}

    bool WaitSeconds(double seconds) override;
    void stopAll() override { stopping_ = true; }
    bool stopping() const override { return stopping_; }

    QList<double> waits;
    std::function<void(double seconds)> onWait;

private:
    FakeClock* clock_;
    bool stopping_ = false;
};
