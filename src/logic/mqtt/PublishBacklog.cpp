#include "logic/mqtt/PublishBacklog.h"

std::optional<QueuedReading> PublishBacklog::push(QueuedReading reading) {
    std::optional<QueuedReading> gone;
    if (size() >= limit_) {
        gone = std::move(readings_.front());
        readings_.pop_front();
        ++dropped_;
    }
    readings_.push_back(std::move(reading));
    return gone;
}
