#pragma once

#include "engine/CommandSplitter.h"
#include "engine/DataloggerMemory.h"
#include "engine/ReadingModel.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The meter's side of the serial line, without the line: bytes from the PC go in, the bytes the
// meter answers come out. It keeps the meter's clock (the PC clock plus an offset that the clock
// frame sets), its live reading and its datalogger memory, and takes control lines that bend its
// behaviour for tests and demonstrations. Transports (the pseudo-terminal, the in-process port)
// apply the reply delay and pacing it asks for.
class MeterEngine {
public:
    // Things only a transport can do; control lines leave them for the transport to take.
    enum class TransportRequest { Unplug, Replug, Quit };

    // The duration of one byte on a 9600-baud line (start bit, 8 data bits, stop bit).
    static constexpr qint64 ByteMicroseconds = 1042;
    static constexpr int DefaultIdCode = 1234;
    static constexpr int DefaultLoggerInterval = 2;
    // What an "extra" control line appends to a reply: a byte that starts no command.
    static constexpr char GarbageByte = '\xFF';

    explicit MeterEngine(std::function<QDateTime()> pcClock);

    // Takes bytes as they came from the PC and returns the reply bytes due now, possibly none.
    QByteArray receive(const QByteArray& fromPc);
    // One control line; returns "ok", an error text starting with "error:", or the state for
    // "status". An empty line gives an empty text.
    QString control(const QString& line);

    int replyDelayMs() const { return replyDelayMs_; }
    bool paced() const { return paced_; }
    bool silent() const { return silent_; }
    // Bytes queued by "raw", to be sent at once whether or not the PC asked.
    QByteArray takeUnsolicited();
    QList<TransportRequest> takeTransportRequests();
    // Called after a control line that left unsolicited bytes or a transport request.
    void setPendingNotifier(std::function<void()> notify) { notify_ = std::move(notify); }

    QDateTime meterClock() const;
    SimReading shownReading() const;
    bool recording();
    int idCode() const { return idCode_; }
    // The datalogger memory, brought up to date with the records due by now.
    const DataloggerMemory& memory();
    QString statusText();

private:
    QString runControl(const QString& name, const QStringList& arguments, const QDateTime& now,
                       const QString& line);
    QByteArray execute(const QByteArray& command);
    QByteArray statusReply();
    QByteArray clockReply() const;
    void setClock(const QByteArray& frame);
    void startRecording();
    void catchUpRecording();
    QByteArray shapeReply(QByteArray reply);
    void request(TransportRequest what);

    std::function<QDateTime()> pcClock_;
    std::function<void()> notify_;
    CommandSplitter splitter_;
    ReadingModel model_;
    DataloggerMemory memory_;
    qint64 clockOffsetMs_ = 0;
    bool recording_ = false;
    int idCode_ = DefaultIdCode;
    int loggerInterval_ = DefaultLoggerInterval;

    bool silent_ = false;
    bool paced_ = false;
    int replyDelayMs_ = 0;
    int dropCount_ = 0;
    int extraCount_ = 0;
    int deafCount_ = 0;
    int slipAfter_ = 0;
    int slipReplies_ = 0;
    QByteArray unsolicited_;
    QList<TransportRequest> requests_;
};
