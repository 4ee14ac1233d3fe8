#pragma once

#include "logic/metrics/MeterGauges.h"

#include <QMutex>
#include <functional>
#include <vector>

// Every meter's gauges, written on the main thread as each meter's news arrives there and read
// whole by the metrics endpoint's thread. A reader gets a copy, so a slow scrape never holds the
// main thread, and with it every meter's way to the broker, up for longer than a copy.
class GaugeBoard {
public:
    explicit GaugeBoard(std::vector<MeterGauges> meters) : meters_(std::move(meters)) {}

    // Changes one meter's gauges in place under the lock.
    void update(size_t meter, const std::function<void(MeterGauges&)>& change);
    std::vector<MeterGauges> snapshot() const;

private:
    mutable QMutex mutex_;
    std::vector<MeterGauges> meters_;
};
