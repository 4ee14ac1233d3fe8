#pragma once

#include "device/waits/Waiter.h"

// The program's waits with a cancel switch of their own: once cancel() is called every wait
// returns false, as if the program were ending, so an exchange of a window that has been
// closed unwinds at its next step instead of waiting on for a meter nobody is looking at.
class CancellableWaiter final : public Waiter {
public:
    explicit CancellableWaiter(Waiter& program) : program_(program) {}

    bool WaitSeconds(double seconds) override;
    // Cancels this waiter's waits only; the program's go on.
    void stopAll() override { cancel(); }
    bool stopping() const override { return cancelled_ || program_.stopping(); }

    void cancel() { cancelled_ = true; }

private:
    Waiter& program_;
    bool cancelled_ = false;
};
