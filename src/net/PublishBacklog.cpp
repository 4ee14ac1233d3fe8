#include "net/PublishBacklog.h"

void PublishBacklog::push(QByteArray payload) {
    if (size() >= limit_) {
        payloads_.pop_front();
        ++dropped_;
    }
    payloads_.push_back(std::move(payload));
}
