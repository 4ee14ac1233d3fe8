#pragma once

#include "cli/RecordPlan.h"
#include "device/platform/Clock.h"
#include "device/waits/QtWaiter.h"
#include "logic/link/LiveReading.h"
#include "logic/recording/DatedReadingFile.h"
#include "logic/recording/ExportRow.h"
#include "logic/result/Result.h"

#include <QObject>
#include <memory>

class BacklogFile;
class FleetPoller;
class MeterLink;
class TermiosSerialPort;

// One meter of a recording, living with every other meter in the poller's thread: its port and
// its link are made there and its file is opened there. The poller steps each link without a
// nested wait, so a silent meter holds up no other; only preparing (reading the ID code) waits.
// The file's and the waits' objects are made with this one on the main thread; that is no matter,
// as they take no events and nothing but that thread touches them after the move. Every decoded
// frame becomes one line stamped with this computer's clock, forced to the disk with the other
// meters' lines of that moment; nothing is written while the link is lost.
class MeterRecording final : public QObject {
    Q_OBJECT
public:
    // samples: the readings to take before stopping, 0 for no limit. readIdCode: the meter's ID
    // code is read before the poll starts (it names the meter on the network). Made without a
    // parent, to be moved to the poller's thread.
    MeterRecording(const RecordTarget& target, FileFormat format, const RecordingOptions& options,
                   qint64 samples, bool readIdCode, FleetPoller& poller);

    // Opens the port and the file: false when either cannot be, which prepared() says.
    bool open();
    // Then reads the ID code when asked to, and says prepared(): why not, when it cannot be read.
    // Nothing is said of a reading a stop ended.
    void readIdCode();
    // Starts the poll. backlog: where each reading goes for the broker, before its line in the
    // recording, so that a kill between the two costs the recording that reading and never the
    // broker; none without a broker.
    void begin(const std::shared_ptr<BacklogFile>& backlog);
    // Stops the poll; the line being written is finished, then the file and the port are closed
    // and finished() comes.
    void finish();
    // Opens the file again by its name, for a file a log rotation renamed.
    void reopenFile();

Q_SIGNALS:
    // Ready to begin, or why not.
    void prepared(const Result<>& outcome);
    void idCodeRead(int idCode);
    void noAnswer();
    // portGone: the port went away (a USB adapter pulled out), rather than the meter falling
    // silent.
    void linkLost(bool portGone);
    void linkBack();
    void rowWritten(qint64 rows, const QString& reading);
    // row: as the meter gave it, to be written in the unit it names. backlogEnd: where its line
    // ends in the backlog file, -1 when it is not there.
    void readingTaken(const QDateTime& takenAt, const ExportRow& row, qint64 backlogEnd);
    // The file could not take a line: the meter stops.
    void writeFailed(const Failure& failure);
    void finished(qint64 rows);

private:
    void onFrame();
    void syncFile();
    void close();

    RecordTarget target_;
    TemperatureUnit unit_;
    qint64 samples_;
    bool readIdCode_;
    FleetPoller& poller_;
    DatedReadingFile file_;
    SystemClock clock_;
    QtWaiter waiter_;
    LiveReading reading_;
    TermiosSerialPort* port_ = nullptr;
    MeterLink* link_ = nullptr;
    std::shared_ptr<BacklogFile> backlog_;
    bool answered_ = false;
    bool finishing_ = false;
};
