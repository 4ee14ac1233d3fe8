#include "device/datalogger/LoggerExchange.h"

#include "device/platform/Clock.h"
#include "device/platform/SerialPort.h"
#include "device/waits/Waiter.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggedSetDirectory.h"
#include "logic/datalogger/LoggerCommands.h"
#include "logic/datalogger/MeterStamp.h"
#include "logic/datalogger/StatusReply.h"

LoggerExchange::LoggerExchange(SerialPort& port, Waiter& waiter, const Clock& clock)
    : port_(port), waiter_(waiter), clock_(clock) {}

void LoggerExchange::discardInput() {
    if (port_.bytesWaiting() > 0)
        port_.readAll();
}

double LoggerExchange::secondsSince(qint64 steadyMilliseconds) const {
    return (clock_.steadyMilliseconds() - steadyMilliseconds) / 1000.0;
}

ExchangeOutcome LoggerExchange::waitForBytes(int count) {
    int seen = port_.bytesWaiting();
    qint64 lastByte = clock_.steadyMilliseconds();
    for (;;) {
        if (!port_.isOpen())
            return ExchangeOutcome::TimedOut;
        const int waiting = port_.bytesWaiting();
        if (waiting >= count)
            return ExchangeOutcome::Done;
        if (waiting != seen) {
            seen = waiting;
            lastByte = clock_.steadyMilliseconds();
        } else if (secondsSince(lastByte) >= ReplyTimeoutSeconds) {
            return ExchangeOutcome::TimedOut;
        }
        if (!waiter_.WaitSeconds(WaitStepSeconds))
            return ExchangeOutcome::Cancelled;
    }
}

ExchangeResult LoggerExchange::requestStatus() {
    if (waiter_.stopping())
        return {ExchangeOutcome::Cancelled, {}};
    for (int request = 1;; ++request) {
        port_.write(LoggerCommand::bytes(LoggerCommand::Status));
        const ExchangeOutcome outcome = waitForBytes(StatusReply::Length);
        if (outcome == ExchangeOutcome::Cancelled)
            return {outcome, {}};
        const QByteArray reply = port_.readAll();
        if (outcome == ExchangeOutcome::Done && reply.size() == StatusReply::Length)
            return {outcome, reply};
        // A live byte that came with the reply, or a garbled one: ask again, but not for ever.
        if (outcome == ExchangeOutcome::TimedOut || request >= MaxStatusRequests)
            return {ExchangeOutcome::TimedOut, reply};
    }
}

ExchangeResult LoggerExchange::requestClock() {
    if (waiter_.stopping())
        return {ExchangeOutcome::Cancelled, {}};
    port_.write(LoggerCommand::bytes(LoggerCommand::Clock));
    const ExchangeOutcome outcome = waitForBytes(MeterStamp::Length);
    if (outcome == ExchangeOutcome::Cancelled)
        return {outcome, {}};
    if (outcome == ExchangeOutcome::TimedOut)
        return {outcome, port_.readAll()};
    const QByteArray reply = port_.read(MeterStamp::Length);
    // A stray byte after the reply must not be taken for the start of the next one.
    discardInput();
    return {outcome, reply};
}

ExchangeResult LoggerExchange::requestDirectory(int setCount, const Progress& progress) {
    if (waiter_.stopping())
        return {ExchangeOutcome::Cancelled, {}};
    const int expected = LoggedSetDirectory::expectedLength(qMax(0, setCount));
    QByteArray collected;
    port_.write(LoggerCommand::bytes(LoggerCommand::Directory));
    qint64 lastByte = clock_.steadyMilliseconds();
    for (;;) {
        if (!port_.isOpen())
            return {ExchangeOutcome::TimedOut, collected};
        if (port_.bytesWaiting() > 0) {
            collected.append(port_.readAll());
            lastByte = clock_.steadyMilliseconds();
            // Only the directory's own length counts; a surplus byte is dropped.
            collected.truncate(expected);
            if (progress)
                progress(LoggedSetDirectory::progressText(collected.size()));
            if (collected.size() == expected)
                return {ExchangeOutcome::Done, collected};
        } else if (secondsSince(lastByte) >= ReplyTimeoutSeconds) {
            // The leading byte alone and then quiet is the whole answer of a meter with no sets,
            // its memory erased since the status said otherwise.
            const bool noSets = collected.size() == LoggedSetDirectory::expectedLength(0);
            return {noSets ? ExchangeOutcome::Done : ExchangeOutcome::TimedOut, collected};
        }
        if (!waiter_.WaitSeconds(WaitStepSeconds))
            return {ExchangeOutcome::Cancelled, collected};
    }
}

ExchangeResult LoggerExchange::download(const QByteArray& frame, const Progress& progress,
                                        qsizetype completeBytes) {
    if (waiter_.stopping())
        return {ExchangeOutcome::Cancelled, {}};
    QByteArray collected;
    port_.write(frame);
    // Elapsed time by the steady clock, so midnight or a clock change cannot end it early or
    // keep it going.
    qint64 lastByte = clock_.steadyMilliseconds();
    while (secondsSince(lastByte) < DownloadSilenceSeconds) {
        const QByteArray chunk = port_.bytesWaiting() > 0 ? port_.readAll() : QByteArray();
        if (chunk.isEmpty()) {
            if (!waiter_.WaitSeconds(WaitStepSeconds))
                return {ExchangeOutcome::Cancelled, collected};
            continue;
        }
        if (progress)
            progress(LoggedSetData::progressText(collected.size() + chunk.size()));
        if (!waiter_.WaitSeconds(DownloadChunkPauseSeconds))
            return {ExchangeOutcome::Cancelled, collected + chunk};
        collected.append(chunk);
        if (completeBytes > 0 && collected.size() >= completeBytes)
            break;
        lastByte = clock_.steadyMilliseconds();
    }
    return {ExchangeOutcome::Done, collected};
}

void LoggerExchange::send(const QByteArray& frame) {
    port_.write(frame);
}

ExchangeOutcome LoggerExchange::erase(double pauseSeconds) {
    port_.write(LoggerCommand::erase());
    return waiter_.WaitSeconds(pauseSeconds) ? ExchangeOutcome::Done : ExchangeOutcome::Cancelled;
}
