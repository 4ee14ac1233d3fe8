#include "device/link/FleetPoller.h"

#include "device/link/MeterLink.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

int milliseconds(double seconds) {
    return static_cast<int>(std::lround(seconds * 1000.0));
}

} // namespace

FleetPoller::FleetPoller(QObject* parent)
    : QObject(parent), second_(new QTimer(this)), framesDue_(new QTimer(this)),
      callsDue_(new QTimer(this)) {
    second_->setObjectName(QStringLiteral("Timer1"));
    second_->setInterval(1000);
    framesDue_->setSingleShot(true);
    framesDue_->setTimerType(Qt::PreciseTimer);
    framesDue_->setInterval(milliseconds(MeterLink::FrameWaitSeconds));
    callsDue_->setTimerType(Qt::PreciseTimer);
    callsDue_->setInterval(milliseconds(MeterLink::CallWaitSeconds));
    connect(second_, &QTimer::timeout, this, &FleetPoller::onSecond);
    connect(framesDue_, &QTimer::timeout, this, &FleetPoller::onFramesDue);
    connect(callsDue_, &QTimer::timeout, this, &FleetPoller::onCallsDue);
}

void FleetPoller::add(MeterLink& link) {
    // Joins at the next second: this may run inside one of the loops below.
    joining_.push_back({&link});
    if (!second_->isActive())
        second_->start();
}

void FleetPoller::remove(MeterLink& link) {
    // Only marked, for the same reason: the loops drop it after.
    for (std::vector<Meter>* meters : {&meters_, &joining_})
        for (Meter& meter : *meters)
            if (meter.link == &link)
                meter.turn = Turn::Removed;
}

void FleetPoller::onSecond() {
    meters_.insert(meters_.end(), joining_.begin(), joining_.end());
    joining_.clear();
    for (Meter& meter : meters_) {
        if (meter.turn != Turn::Waiting)
            continue;
        meter.attempts = 0;
        // A port whose device went away cannot answer: no point in fifty tries.
        if (meter.link->portOpen())
            ask(meter);
        else
            lose(meter);
    }
    dropRemoved();
}

void FleetPoller::ask(Meter& meter) {
    meter.turn = Turn::Asked;
    ++meter.attempts;
    meter.link->askForFrame();
    // From the last question: each meter has the whole wait to answer in.
    framesDue_->start();
}

void FleetPoller::onFramesDue() {
    bool taken = false;
    for (Meter& meter : meters_) {
        if (meter.turn != Turn::Asked)
            continue;
        if (meter.link->takeFrame()) {
            taken = true;
            // Removed from within its frame: it stays so.
            if (meter.turn == Turn::Asked)
                meter.turn = Turn::Waiting;
        } else if (meter.attempts >= MeterLink::AttemptsPerPoll) {
            lose(meter);
        } else {
            ask(meter);
        }
    }
    if (taken)
        Q_EMIT framesTaken();
    dropRemoved();
}

void FleetPoller::lose(Meter& meter) {
    meter.turn = Turn::Lost;
    meter.round = 0;
    meter.link->enterNoDevice();
    if (meter.turn != Turn::Lost)
        return;
    meter.link->callMeter(meter.round);
    if (!callsDue_->isActive())
        callsDue_->start();
}

void FleetPoller::onCallsDue() {
    for (Meter& meter : meters_) {
        if (meter.turn != Turn::Lost)
            continue;
        if (meter.link->meterCalledBack()) {
            // Its poll starts again with the next second, as a link's own poll does.
            meter.turn = Turn::Waiting;
            meter.link->leaveNoDevice();
        } else {
            meter.link->callMeter(++meter.round);
        }
    }
    dropRemoved();
    if (std::none_of(meters_.begin(), meters_.end(),
                     [](const Meter& meter) { return meter.turn == Turn::Lost; }))
        callsDue_->stop();
}

void FleetPoller::dropRemoved() {
    std::erase_if(meters_, [](const Meter& meter) { return meter.turn == Turn::Removed; });
    if (meters_.empty() && joining_.empty()) {
        second_->stop();
        framesDue_->stop();
        callsDue_->stop();
    }
}
