#pragma once

#include "device/datalogger/LoggerExchange.h"
#include "logic/datalogger/DownloadCheck.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggedSetDirectory.h"
#include "logic/datalogger/MeterStamp.h"
#include "logic/datalogger/StatusReply.h"

#include <optional>

class Clock;
class MeterLink;
class SerialPort;
class Waiter;

// The datalogger's exchanges as LOGGER and meter-logger both make them: each pauses the live
// poll, starts on an emptied line, and after one given up on leaves the poll to wait for a quiet
// line. It shows nothing and asks nothing: the front end turns the results into its texts.
class Datalogger {
public:
    struct StatusRead {
        ExchangeOutcome outcome = ExchangeOutcome::Done;
        // The status, once it came; the meter's clock, once that came too.
        std::optional<StatusReply> status;
        std::optional<MeterStamp> clock;

        bool answered() const { return status && clock; }
    };
    struct ClockRead {
        ExchangeOutcome outcome = ExchangeOutcome::Done;
        std::optional<MeterStamp> clock;
    };
    struct DirectoryRead {
        ExchangeOutcome outcome = ExchangeOutcome::Done;
        // What arrived, a directory cut short too.
        LoggedSetDirectory directory;
    };
    struct SetRead {
        ExchangeOutcome outcome = ExchangeOutcome::Done;
        LoggedSetData data;
        DownloadCheck check;
    };

    // All four must outlive it.
    Datalogger(MeterLink& link, SerialPort& port, Waiter& waiter, const Clock& clock);

    // "Y", then "C" straight after it.
    StatusRead readStatus();
    // "C" after leadSeconds of the paused poll.
    ClockRead readClock(double leadSeconds = 0);
    // "I" for setCount sets after leadSeconds of the paused poll.
    DirectoryRead readDirectory(int setCount, double leadSeconds = 0,
                                const LoggerExchange::Progress& progress = {});
    // The "K" frame of a set of setRecords records, checked against that count. With
    // endWhenComplete the download ends as soon as the whole set is in instead of after the
    // closing silence.
    SetRead downloadSet(const QByteArray& frame, int setRecords, bool endWhenComplete = false,
                        const LoggerExchange::Progress& progress = {});
    // A frame the meter does not answer ("W", "X", "D").
    void send(const QByteArray& frame);

private:
    void settleLine(ExchangeOutcome outcome);

    MeterLink& link_;
    Waiter& waiter_;
    LoggerExchange exchange_;
};
