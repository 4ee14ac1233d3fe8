#include "logger/PollPause.h"

#include "link/MeterLink.h"

PollPause::PollPause(MeterLink& link) : link_(&link) {
    link.pausePoll();
}

PollPause::~PollPause() {
    if (link_)
        link_->resumePoll();
}
