#include "device/datalogger/MeterSettings.h"

#include "device/platform/Clock.h"
#include "device/waits/PollPause.h"

MeterSettings::MeterSettings(MeterLink& link, SerialPort& port, Waiter& waiter, const Clock& clock)
    : link_(link), port_(port), waiter_(waiter), clock_(clock) {}

ExchangeOutcome MeterSettings::erase() {
    const PollPause pause(link_);
    LoggerExchange exchange(port_, waiter_, clock_);
    exchange.discardInput();
    return exchange.erase();
}

void MeterSettings::setClock() {
    setClockTo(clock_.now());
}

void MeterSettings::setClockTo(const QDateTime& moment) {
    const PollPause pause(link_);
    LoggerExchange exchange(port_, waiter_, clock_);
    exchange.discardInput();
    exchange.send(panelCommands_.setClock(moment));
}
