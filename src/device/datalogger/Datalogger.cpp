#include "device/datalogger/Datalogger.h"

#include "device/link/MeterLink.h"
#include "device/waits/PollPause.h"
#include "device/waits/Waiter.h"

Datalogger::Datalogger(MeterLink& link, SerialPort& port, Waiter& waiter, const Clock& clock)
    : link_(link), waiter_(waiter), exchange_(port, waiter, clock) {}

// An exchange given up on may still be answered (the meter sends the rest of a set whoever
// listens): the poll must not take those bytes for a live frame.
void Datalogger::settleLine(ExchangeOutcome outcome) {
    if (outcome != ExchangeOutcome::Done)
        link_.awaitQuietLine();
}

Datalogger::StatusRead Datalogger::readStatus() {
    const PollPause pause(link_);
    exchange_.discardInput();
    StatusRead read;
    const ExchangeResult status = exchange_.requestStatus();
    settleLine(status.outcome);
    read.outcome = status.outcome;
    if (!status.done())
        return read;
    read.status = StatusReply::decode(status.reply);
    const ExchangeResult clock = exchange_.requestClock();
    settleLine(clock.outcome);
    read.outcome = clock.outcome;
    if (clock.done())
        read.clock = MeterStamp::fromBytes(clock.reply);
    return read;
}

Datalogger::ClockRead Datalogger::readClock(double leadSeconds) {
    const PollPause pause(link_);
    exchange_.discardInput();
    if (!waiter_.WaitSeconds(leadSeconds))
        return {ExchangeOutcome::Cancelled, std::nullopt};
    const ExchangeResult clock = exchange_.requestClock();
    settleLine(clock.outcome);
    if (!clock.done())
        return {clock.outcome, std::nullopt};
    return {clock.outcome, MeterStamp::fromBytes(clock.reply)};
}

Datalogger::DirectoryRead Datalogger::readDirectory(int setCount, double leadSeconds,
                                                    const LoggerExchange::Progress& progress) {
    const PollPause pause(link_);
    exchange_.discardInput();
    if (!waiter_.WaitSeconds(leadSeconds))
        return {ExchangeOutcome::Cancelled, LoggedSetDirectory()};
    const ExchangeResult directory = exchange_.requestDirectory(setCount, progress);
    settleLine(directory.outcome);
    return {directory.outcome, LoggedSetDirectory(directory.reply)};
}

Datalogger::SetRead Datalogger::downloadSet(const QByteArray& frame, int setRecords,
                                            bool endWhenComplete,
                                            const LoggerExchange::Progress& progress) {
    const PollPause pause(link_);
    exchange_.discardInput();
    const qsizetype completeBytes =
        endWhenComplete ? LoggedSetData::HeaderLength +
                              qsizetype(LoggedSetData::RecordLength) * std::max(0, setRecords)
                        : 0;
    const ExchangeResult download = exchange_.download(frame, progress, completeBytes);
    settleLine(download.outcome);
    SetRead read{download.outcome, LoggedSetData(download.reply), {}};
    read.check = DownloadCheck::of(read.data, setRecords);
    return read;
}

void Datalogger::send(const QByteArray& frame) {
    const PollPause pause(link_);
    exchange_.send(frame);
}
