#include "cli/MeterRecording.h"

#include "device/datalogger/Datalogger.h"
#include "device/link/FleetPoller.h"
#include "device/link/MeterLink.h"
#include "device/platform/TermiosSerialPort.h"
#include "logic/link/ReadingCaptions.h"
#include "logic/mqtt/MqttMessages.h"
#include "logic/result/ExitStatus.h"
#include "net/mqtt/BacklogFile.h"

#include <QMetaMethod>
#include <QTimer>
#include <optional>

MeterRecording::MeterRecording(const RecordTarget& target, FileFormat format,
                               const RecordingOptions& options, qint64 samples, bool readIdCode,
                               FleetPoller& poller)
    : QObject(nullptr), target_(target), unit_(options.unit), samples_(samples),
      readIdCode_(readIdCode), poller_(poller), file_(format, target.path, options) {
    file_.deferSyncs();
}

bool MeterRecording::open() {
    port_ = new TermiosSerialPort(this);
    if (const Result<> opened = openMeterPort(*port_, target_.port); !opened) {
        Q_EMIT prepared(opened);
        return false;
    }
    if (const Result<> opened = file_.open(clock_.now()); !opened) {
        Q_EMIT prepared(opened);
        return false;
    }
    link_ = new MeterLink(this, *port_, waiter_, reading_);
    connect(link_, &MeterLink::frameDecoded, this, &MeterRecording::onFrame);
    connect(link_, &MeterLink::noDeviceEntered, this, [this] {
        if (answered_)
            Q_EMIT linkLost(!port_->isOpen());
        else
            Q_EMIT noAnswer();
    });
    connect(link_, &MeterLink::noDeviceLeft, this, &MeterRecording::linkBack);
    return true;
}

void MeterRecording::readIdCode() {
    // Not opened, or ending.
    if (!link_ || finishing_)
        return;
    if (readIdCode_) {
        Datalogger logger(*link_, *port_, waiter_, clock_);
        const Datalogger::StatusRead read = logger.readStatus();
        // The exchange's end starts the link's own poll, which must not tick inside another
        // meter's reading: the poller's is the one.
        link_->stopPolling();
        // A stop that came during the reading is not this meter's silence.
        if (!read.status && finishing_)
            return;
        if (!read.status) {
            Q_EMIT prepared(Failure{ExitStatus::Unavailable,
                                    QStringLiteral("%1: the meter does not answer, so its ID code "
                                                   "cannot name it (give --id to name it yourself)")
                                        .arg(target_.port.given)});
            return;
        }
        Q_EMIT idCodeRead(read.status->idCode);
    }
    Q_EMIT prepared(Result<>());
}

void MeterRecording::begin(const std::shared_ptr<BacklogFile>& backlog) {
    backlog_ = backlog;
    if (!link_ || finishing_)
        return;
    poller_.add(*link_);
    connect(&poller_, &FleetPoller::framesTaken, this, &MeterRecording::syncFile);
}

void MeterRecording::finish() {
    if (finishing_)
        return;
    finishing_ = true;
    if (link_) {
        link_->stopPolling();
        poller_.remove(*link_);
    }
    waiter_.stopAll();
    // This may run inside one of the link's waits: the files close once it has unwound.
    QTimer::singleShot(0, this, &MeterRecording::close);
}

void MeterRecording::reopenFile() {
    if (finishing_)
        return;
    if (const Result<> reopened = file_.reopen(); !reopened) {
        Q_EMIT writeFailed(reopened.failure());
        finish();
    }
}

void MeterRecording::syncFile() {
    // After the last line too: a recording that ends at its last sample syncs it here.
    if (const Result<> synced = file_.sync(); !synced) {
        Q_EMIT writeFailed(synced.failure());
        finish();
    }
}

void MeterRecording::close() {
    file_.close();
    if (port_)
        port_->close();
    Q_EMIT finished(file_.rowsWritten());
}

void MeterRecording::onFrame() {
    if (finishing_)
        return;
    answered_ = true;
    const QDateTime takenAt = clock_.now();
    // Nobody listening is the common case on a board: no row made, no thread woken for it.
    const bool told = isSignalConnected(QMetaMethod::fromSignal(&MeterRecording::readingTaken));
    std::optional<ExportRow> row;
    if (told || backlog_) {
        row = liveExportRow(takenAt, reading_);
        row->writtenUnit = unit_;
    }
    // The broker's copy first: a kill between the two writes costs the recording this reading,
    // never the broker.
    const qint64 backlogEnd = backlog_ ? backlog_->append(statePayload(*row)).value_or(-1) : -1;
    if (const Result<> written = file_.write(takenAt, reading_); !written) {
        Q_EMIT writeFailed(written.failure());
        finish();
        return;
    }
    if (told)
        Q_EMIT readingTaken(takenAt, *row, backlogEnd);
    if (isSignalConnected(QMetaMethod::fromSignal(&MeterRecording::rowWritten))) {
        const ReadingCaptions captions = readingCaptions(reading_);
        Q_EMIT rowWritten(file_.rowsWritten(),
                          QStringLiteral("%1 %RH  %2 %3")
                              .arg(captions.humidity, captions.temperature, captions.unit));
    }
    if (samples_ > 0 && file_.rowsWritten() >= samples_)
        finish();
}
