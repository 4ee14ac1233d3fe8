#include "net/live/MeterStateBoard.h"

MeterState MeterStateBoard::update(size_t meter, const std::function<void(MeterState&)>& change) {
    const QMutexLocker lock(&mutex_);
    change(meters_.at(meter));
    return meters_[meter];
}

std::vector<MeterState> MeterStateBoard::snapshot() const {
    const QMutexLocker lock(&mutex_);
    return meters_;
}
