#include "logger/LoggerSession.h"

#include "link/MeterLink.h"
#include "logger/PollPause.h"
#include "platform/Waiter.h"

LoggerSession::LoggerSession(MeterLink& link, SerialPort& port, Waiter& waiter, const Clock& clock)
    : link_(link), waiter_(waiter), exchange_(port, waiter, clock) {}

// An exchange given up on may still be answered (the meter sends the rest of a set whoever
// listens): the poll must not take those bytes for a live frame.
void LoggerSession::settleLine(ExchangeOutcome outcome) {
    if (outcome != ExchangeOutcome::Done)
        link_.awaitQuietLine();
}

LoggerSession::StatusRead LoggerSession::readStatus() {
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

LoggerSession::ClockRead LoggerSession::readClock(double leadSeconds) {
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

LoggerSession::DirectoryRead
LoggerSession::readDirectory(int setCount, double leadSeconds,
                             const LoggerExchange::Progress& progress) {
    const PollPause pause(link_);
    exchange_.discardInput();
    if (!waiter_.WaitSeconds(leadSeconds))
        return {ExchangeOutcome::Cancelled, SetDirectory()};
    const ExchangeResult directory = exchange_.requestDirectory(setCount, progress);
    settleLine(directory.outcome);
    return {directory.outcome, SetDirectory(directory.reply)};
}

LoggerSession::SetRead LoggerSession::downloadSet(const QByteArray& frame, int setRecords,
                                                  bool endWhenComplete,
                                                  const LoggerExchange::Progress& progress) {
    const PollPause pause(link_);
    exchange_.discardInput();
    const qsizetype completeBytes =
        endWhenComplete ? SetDownload::HeaderLength +
                              qsizetype(SetDownload::RecordLength) * std::max(0, setRecords)
                        : 0;
    const ExchangeResult download = exchange_.download(frame, progress, completeBytes);
    settleLine(download.outcome);
    SetRead read{download.outcome, SetDownload(download.reply), {}};
    read.check = DownloadCheck::of(read.data, setRecords);
    return read;
}

void LoggerSession::send(const QByteArray& frame) {
    const PollPause pause(link_);
    exchange_.send(frame);
}
