#include "net/metrics/GaugeBoard.h"

void GaugeBoard::update(size_t meter, const std::function<void(MeterGauges&)>& change) {
    const QMutexLocker lock(&mutex_);
    change(meters_.at(meter));
}

std::vector<MeterGauges> GaugeBoard::snapshot() const {
    const QMutexLocker lock(&mutex_);
    return meters_;
}
