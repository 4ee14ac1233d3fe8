#include "SimSerialPort.h"

#include "device/platform/Clock.h"

#include <QTimer>

SimSerialPort::SimSerialPort(const Clock* clock, QObject* parent)
    : ScriptedSerialPort(parent), engine_([clock] { return clock->now(); }) {
    engine_.setPendingNotifier([this] { takeEnginePending(); });
    responder = [this](const QByteArray& written) { return deliver(engine_.receive(written)); };
}

bool SimSerialPort::open(int portNumber) {
    close();
    if (ScriptedSerialPort::open(portNumber) && plugged_)
        return true;
    close();
    return false;
}

void SimSerialPort::close() {
    ScriptedSerialPort::close();
    readAll();
    ++session_;
}

QByteArray SimSerialPort::deliver(const QByteArray& reply) {
    const int delay = engine_.replyDelayMs();
    if (delay <= 0 || reply.isEmpty())
        return reply;
    const quint64 session = session_;
    QTimer::singleShot(delay, this, [this, reply, session] {
        if (isOpen() && session == session_)
            feed(reply);
    });
    return {};
}

void SimSerialPort::unplug() {
    const bool wasOpen = isOpen();
    close();
    plugged_ = false;
    if (wasOpen)
        Q_EMIT deviceLost();
}

void SimSerialPort::takeEnginePending() {
    const QByteArray unsolicited = engine_.takeUnsolicited();
    if (isOpen())
        feed(unsolicited);
    for (MeterEngine::TransportRequest request : engine_.takeTransportRequests()) {
        if (request == MeterEngine::TransportRequest::Unplug)
            unplug();
        else if (request == MeterEngine::TransportRequest::Replug)
            replug();
    }
}
