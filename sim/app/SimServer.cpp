#include "SimServer.h"

#include "PtyDevice.h"
#include "ReplySender.h"

#include <QDateTime>
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
    if (!reply.isEmpty())
        printLine(reply);
    // Raw bytes go out now, ahead of the reply delay but in step with the pacing.
    sender_->send(engine_.takeUnsolicited(), 0, engine_.paced());
    for (MeterEngine::TransportRequest request : engine_.takeTransportRequests())
        handleTransportRequest(request);
}

void SimServer::handleTransportRequest(MeterEngine::TransportRequest request) {
    switch (request) {
    case MeterEngine::TransportRequest::Unplug:
        sender_->clear();
        device_->close();
        break;
    case MeterEngine::TransportRequest::Replug:
        if (device_->isOpen())
            break;
        if (device_->open())
            printLine(device_->slavePath());
        else
            printLine(QStringLiteral("error: ") + device_->errorText());
        break;
    case MeterEngine::TransportRequest::Quit:
        Q_EMIT quitRequested();
        break;
    }
}
