#include "device/waits/CancellableWaiter.h"

bool CancellableWaiter::WaitSeconds(double seconds) {
    if (stopping())
        return false;
    return program_.WaitSeconds(seconds) && !cancelled_;
}
