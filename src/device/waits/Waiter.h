#pragma once

// WaitSeconds: lets the given time pass while window events go on being processed, so that
// timer ticks, menu commands and clicks run during the wait.
class Waiter {
public:
    virtual ~Waiter() = default;

    // Returns false when the program is ending: the caller must stop what it is doing and unwind.
    virtual bool WaitSeconds(double seconds) = 0;
    // Ends every wait in progress and makes all later ones return false at once.
    virtual void stopAll() = 0;
    virtual bool stopping() const = 0;
};
