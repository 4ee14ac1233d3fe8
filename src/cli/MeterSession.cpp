#include "cli/MeterSession.h"

#include "cli/CommandLine.h"
#include "link/MeterLink.h"
#include "link/ReadingCaptions.h"
#include "platform/QtSerialPort.h"

#include <QTimer>

MeterSession::MeterSession(const RecordTarget& target, FileFormat format, qint64 samples)
    : QObject(nullptr), target_(target), samples_(samples), file_(format) {}

void MeterSession::prepare() {
    port_ = new QtSerialPort(this);
    if (const std::optional<PortFailure> failure = openMeterPort(*port_, target_.port)) {
        Q_EMIT prepared(failure->exitStatus, failure->message);
        return;
    }
    if (!file_.open(target_.path)) {
        Q_EMIT prepared(
            ExitStatus::CannotCreate,
            QStringLiteral("%1: cannot create (%2)").arg(target_.path, file_.errorText()));
        return;
    }
    link_ = new MeterLink(this, *port_, waiter_, reading_);
    connect(link_, &MeterLink::frameDecoded, this, &MeterSession::onFrame);
    connect(link_, &MeterLink::noDeviceEntered, this, [this] {
        if (answered_)
            Q_EMIT linkLost();
        else
            Q_EMIT noAnswer();
    });
    connect(link_, &MeterLink::noDeviceLeft, this, &MeterSession::linkBack);
    Q_EMIT prepared(ExitStatus::Ok, QString());
}

void MeterSession::begin() {
    if (link_ && !finishing_)
        link_->startPolling();
}

void MeterSession::finish() {
    if (finishing_)
        return;
    finishing_ = true;
    if (link_)
        link_->stopPolling();
    waiter_.stopAll();
    // This may run inside one of the link's waits: the files close once it has unwound.
    QTimer::singleShot(0, this, &MeterSession::close);
}

void MeterSession::close() {
    file_.close();
    if (port_)
        port_->close();
    Q_EMIT finished(file_.rowsWritten());
}

void MeterSession::onFrame() {
    if (finishing_)
        return;
    answered_ = true;
    if (!file_.write(clock_.now(), reading_)) {
        Q_EMIT writeFailed(
            QStringLiteral("%1: cannot write (%2)").arg(target_.path, file_.errorText()));
        finish();
        return;
    }
    const ReadingCaptions captions = readingCaptions(reading_);
    Q_EMIT rowWritten(file_.rowsWritten(),
                      QStringLiteral("%1 %RH  %2 %3")
                          .arg(captions.humidity, captions.temperature, captions.unit));
    if (samples_ > 0 && file_.rowsWritten() >= samples_)
        finish();
}
