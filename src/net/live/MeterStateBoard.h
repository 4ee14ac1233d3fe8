#pragma once

#include "logic/live/MeterState.h"

#include <QMutex>
#include <functional>
#include <vector>

// Every meter's live state, changed on the main thread as each meter's news arrives there and read
// whole by the live page's routes on the server's thread, each reader with a copy.
class MeterStateBoard {
public:
    explicit MeterStateBoard(std::vector<MeterState> meters) : meters_(std::move(meters)) {}

    // Changes one meter's state under the lock; the state as it now is.
    MeterState update(size_t meter, const std::function<void(MeterState&)>& change);
    std::vector<MeterState> snapshot() const;

private:
    mutable QMutex mutex_;
    std::vector<MeterState> meters_;
};
