#include "ScriptedSerialPort.h"

bool ScriptedSerialPort::open(int portNumber) {
    portNumber_ = portNumber;
    ++openCount;
    open_ = availablePorts.contains(portNumber);
    return open_;
}

void ScriptedSerialPort::write(const QByteArray& bytes) {
    if (!open_)
        return;
    writes.append(bytes);
    if (responder)
        buffer_.append(responder(bytes));
}

QByteArray ScriptedSerialPort::readAll() {
    QByteArray all;
    all.swap(buffer_);
    return all;
}

QByteArray ScriptedSerialPort::read(int count) {
    const QByteArray head = buffer_.left(count);
    buffer_.remove(0, head.size());
    return head;
}

void ScriptedSerialPort::unplug() {
    open_ = false;
    buffer_.clear();
    Q_EMIT deviceLost();
}
