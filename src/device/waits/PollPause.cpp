#include "device/waits/PollPause.h"

#include "device/link/MeterLink.h"

PollPause::PollPause(MeterLink& link) : link_(&link) {
    link.pausePoll();
}

PollPause::~PollPause() {
    if (link_)
        link_->resumePoll();
}
