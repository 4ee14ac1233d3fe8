#include "FakeWaiter.h"

#include "FakeClock.h"

#include <cmath>

bool FakeWaiter::WaitSeconds(double seconds) {
    if (stopping_)
        return false;
    waits.append(seconds);
    if (clock_)
        clock_->advanceMilliseconds(std::llround(seconds * 1000.0));
    if (onWait)
        onWait(seconds);
    return !stopping_;
}
