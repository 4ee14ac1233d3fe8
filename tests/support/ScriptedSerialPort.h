#pragma once

#include "device/platform/SerialPort.h"

#include <QList>
#include <functional>
#include <utility>

// A serial port whose other end is the test: it records what the program writes and lets the
// test feed() bytes or answer each write through a responder.
class ScriptedSerialPort : public SerialPort {
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    bool open(int portNumber) override;
    // The scripted port has numbers only.
    bool openDevice(const QString&) override { return false; }
    bool reopen() override { return open(portNumber_); }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int portNumber() const override { return portNumber_; }
    QString errorText() const override { return QStringLiteral("scripted failure"); }

    void write(const QByteArray& bytes) override;
    int bytesWaiting() const override { return static_cast<int>(buffer_.size()); }
    QByteArray readAll() override { return std::exchange(buffer_, {}); }
    QByteArray read(int count) override {
        const QByteArray head = buffer_.left(count);
        buffer_.remove(0, head.size());
        return head;
    }

    void feed(const QByteArray& bytes) { buffer_.append(bytes); }
    // Pulls the device out: the port closes and deviceLost is signalled.
    void unplug();

    // Ports that exist; open() of any other fails.
    QList<int> availablePorts{1, 2, 3, 4, 5, 6, 7, 8};
    std::function<QByteArray(const QByteArray& written)> responder;
    QList<QByteArray> writes;
    int openCount = 0;

private:
    QByteArray buffer_;
    bool open_ = false;
    int portNumber_ = 0;
};
