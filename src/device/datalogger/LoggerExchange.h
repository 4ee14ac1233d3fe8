#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class Clock;
class SerialPort;
class Waiter;

// How an exchange with the meter ended.
enum class ExchangeOutcome {
    Done,
    // The meter stopped answering: no new byte for ReplyTimeoutSeconds, the port is closed, or
    // the status request went unanswered or garbled MaxStatusRequests times.
    TimedOut,
    // The program is ending (the waiter said so): unwind at once, touch no window.
    Cancelled,
};

struct ExchangeResult {
    ExchangeOutcome outcome = ExchangeOutcome::Done;
    // The reply as taken when Done; on TimedOut what had arrived, for what it is worth.
    QByteArray reply;

    bool done() const { return outcome == ExchangeOutcome::Done; }
};

// The datalogger's request and reply exchanges over the serial line. It only talks and waits:
// it does not stop the live poll and does not empty the receive buffer on its own. The caller
// wraps each exchange in a PollPause (or MeterLink::pausePoll / resumePoll on every path out)
// and calls discardInput() where a fresh request needs a clean line.
//
// Every wait lets window events run (Waiter::WaitSeconds in steps of WaitStepSeconds), gives up
// after ReplyTimeoutSeconds without a new byte, and ends at once when the program is ending.
class LoggerExchange {
public:
    static constexpr double WaitStepSeconds = 0.01;
    static constexpr double ReplyTimeoutSeconds = 3.0;
    static constexpr int MaxStatusRequests = 10;
    static constexpr double DownloadSilenceSeconds = 2.0;
    static constexpr double DownloadChunkPauseSeconds = 0.02;
    static constexpr double ErasePauseSeconds = 0.02;

    // Called with the progress text each time bytes arrive.
    using Progress = std::function<void(const QString& text)>;

    // All three must outlive the exchange.
    LoggerExchange(SerialPort& port, Waiter& waiter, const Clock& clock);

    // Drops everything waiting in the receive buffer.
    void discardInput();

    // "Y": waits until at least 9 bytes are waiting and takes them all; anything but exactly 9
    // is dropped and "Y" sent again (without emptying the line first). Decode with
    // StatusReply::decode.
    ExchangeResult requestStatus();
    // "C": waits for 6 bytes and takes exactly 6; a surplus byte is dropped. Decode with
    // MeterStamp::fromBytes.
    ExchangeResult requestClock();
    // "I" for a memory of setCount sets: collects until 10 setCount + 1 bytes have come, keeps
    // exactly that many and drops the surplus. Progress: " 2 SETS COMPLETED". A meter that
    // sends the leading byte alone and then goes quiet has no sets: Done with that byte. Decode
    // with LoggedSetDirectory.
    ExchangeResult requestDirectory(int setCount, const Progress& progress = {});
    // Sends the "K" frame (from LoggerCommandBuffer::download) and collects until the line has
    // been silent for DownloadSilenceSeconds, pausing DownloadChunkPauseSeconds after each chunk.
    // Progress: "812 RECORDS COMPLETED". Silence is the normal end, so this is Done (possibly
    // with no bytes at all, as for a set the meter does not have) unless cancelled. Decode with
    // LoggedSetData. A caller that knows the set's length (completeBytes above 0) need not wait
    // for the silence: the download ends once that many bytes have come.
    ExchangeResult download(const QByteArray& frame, const Progress& progress = {},
                            qsizetype completeBytes = 0);

    // A frame the meter does not answer ("W", "X", "D", "T", "S", "R").
    void send(const QByteArray& frame);
    // "EEE", then a pause that lets the meter erase (0.02 s from the menu, 0.2 s from the panel).
    ExchangeOutcome erase(double pauseSeconds = ErasePauseSeconds);

private:
    // Waits until at least count bytes are waiting.
    ExchangeOutcome waitForBytes(int count);
    double secondsSince(qint64 steadyMilliseconds) const;

    SerialPort& port_;
    Waiter& waiter_;
    const Clock& clock_;
};
