#include "SimServer.h"

#include "PtyDevice.h"
#include "ReplySender.h"

#include <QDateTime>
#include <QStringList>
#include <cstdio>

void printLine(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

SimServer::SimServer(const QString& linkPath, QObject* parent)
    : QObject(parent), engine_([] { return QDateTime::currentDateTime(); }),
      device_(new PtyDevice(linkPath, this)), sender_(new ReplySender(device_, this)) {
    connect(device_, &PtyDevice::received, this, &SimServer::onReceived);
}

bool SimServer::start() {
    return device_->open();
}

QString SimServer::errorText() const {
    return device_->errorText();
}

QString SimServer::devicePath() const {
    return device_->slavePath();
}

void SimServer::onReceived(const QByteArray& bytes) {
    sender_->send(engine_.receive(bytes), engine_.replyDelayMs(), engine_.paced());
}

void SimServer::handleControlLine(const QString& line) {
    const QString reply = engine_.control(line);
    // A meter that falls silent stops in the middle of a reply too.
    if (engine_.silent())
        sender_->clear();
    // Raw bytes go out now, ahead of the reply delay but in step with the pacing.
    sender_->send(engine_.takeUnsolicited(), 0, engine_.paced());
    // The device is gone or back before "ok" is printed, so a script may act on the reply.
    QStringList notes;
    for (MeterEngine::TransportRequest request : engine_.takeTransportRequests())
        notes.append(handleTransportRequest(request));
    if (!reply.isEmpty())
        printLine(reply);
    for (const QString& note : notes)
        printLine(note);
}

QStringList SimServer::handleTransportRequest(MeterEngine::TransportRequest request) {
    switch (request) {
    case MeterEngine::TransportRequest::Unplug:
        sender_->clear();
        device_->close();
        return {};
    case MeterEngine::TransportRequest::Replug:
        if (device_->isOpen())
            return {};
        if (device_->open())
            return {device_->slavePath()};
        return {QStringLiteral("error: ") + device_->errorText()};
    case MeterEngine::TransportRequest::Quit:
        // The event loop ends once this line is done, so the reply is still printed.
        Q_EMIT quitRequested();
        return {};
    }
    return {};
}
