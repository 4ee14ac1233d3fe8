#pragma once

#include "device/datalogger/LoggerExchange.h"
#include "logic/datalogger/PanelCommandBuffer.h"

class Clock;
class QDateTime;
class MeterLink;
class SerialPort;
class Waiter;

// What ERASE and SYSTEM TIME SET say to the meter, each on an emptied line with the live poll
// paused. It asks nothing and shows nothing: the front end asks first and shows what follows.
class MeterSettings {
public:
    // All four must outlive it.
    MeterSettings(MeterLink& link, SerialPort& port, Waiter& waiter, const Clock& clock);

    // "EEE" and the pause that lets the meter erase its memory. Done unless the program ended
    // meanwhile.
    ExchangeOutcome erase();
    // "D" with the PC's date and time: the meter's clock follows the PC's.
    void setClock();
    // "D" with the moment given, its date and time as they read.
    void setClockTo(const QDateTime& moment);

private:
    MeterLink& link_;
    SerialPort& port_;
    Waiter& waiter_;
    const Clock& clock_;
    PanelCommandBuffer panelCommands_;
};
