#include "SimSerialPort.h"

#include "platform/Clock.h"

#include <QTimer>

SimSerialPort::SimSerialPort(std::function<QDateTime()> pcClock, QObject* parent)
    : SerialPort(parent), engine_(std::move(pcClock)) {
    engine_.setPendingNotifier([this] { takeEnginePending(); });
}

SimSerialPort::SimSerialPort(const Clock* clock, QObject* parent)
    : SimSerialPort([clock] { return clock->now(); }, parent) {}

bool SimSerialPort::open(int portNumber) {
    if (open_)
        close();
    portNumber_ = portNumber;
    if (!plugged_) {
        errorText_ = QStringLiteral("the device is not present");
        return false;
    }
    if (!availablePorts.contains(portNumber)) {
        errorText_ = QStringLiteral("no such port");
        return false;
    }
    errorText_.clear();
    open_ = true;
    return true;
}

void SimSerialPort::close() {
    open_ = false;
    buffer_.clear();
    ++session_;
}

void SimSerialPort::write(const QByteArray& bytes) {
    if (!open_)
        return;
    writes.append(bytes);
    deliver(engine_.receive(bytes));
}

void SimSerialPort::deliver(const QByteArray& reply) {
    if (reply.isEmpty())
        return;
    const int delay = engine_.replyDelayMs();
    if (delay <= 0) {
        buffer_.append(reply);
        return;
    }
    const quint64 session = session_;
    QTimer::singleShot(delay, this, [this, reply, session] {
        if (open_ && session == session_)
            buffer_.append(reply);
    });
}

QByteArray SimSerialPort::readAll() {
    QByteArray all;
    all.swap(buffer_);
    return all;
}

QByteArray SimSerialPort::read(int count) {
    const QByteArray head = buffer_.left(count);
    buffer_.remove(0, head.size());
    return head;
}

void SimSerialPort::unplug() {
    const bool wasOpen = open_;
    close();
    plugged_ = false;
    errorText_ = QStringLiteral("the device is not present");
    if (wasOpen)
        Q_EMIT deviceLost();
}

void SimSerialPort::replug() {
    plugged_ = true;
}

void SimSerialPort::takeEnginePending() {
    const QByteArray unsolicited = engine_.takeUnsolicited();
    if (open_)
        buffer_.append(unsolicited);
    for (MeterEngine::TransportRequest request : engine_.takeTransportRequests()) {
        if (request == MeterEngine::TransportRequest::Unplug)
            unplug();
        else if (request == MeterEngine::TransportRequest::Replug)
            replug();
    }
}
