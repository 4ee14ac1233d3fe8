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

void ScriptedSerialPort::unplug() {
    open_ = false;
    buffer_.clear();
    Q_EMIT deviceLost();
}
