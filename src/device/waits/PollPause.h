#pragma once

#include <QPointer>

class MeterLink;

// Stops the live poll for as long as it lives and starts it again on every way out of the scope
// (return, early exit, program ending). Wrap each datalogger exchange in one:
//
//     const PollPause pause(link);
//     exchange.discardInput();
//     const ExchangeResult status = exchange.requestStatus();
//
// If the link is destroyed meanwhile (the program ends during a wait), nothing is touched.
class PollPause {
public:
    explicit PollPause(MeterLink& link);
    ~PollPause();

    PollPause(const PollPause&) = delete;
    PollPause& operator=(const PollPause&) = delete;

private:
    QPointer<MeterLink> link_;
};
