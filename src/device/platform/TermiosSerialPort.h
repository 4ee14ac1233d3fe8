#pragma once

#include "device/platform/SerialPort.h"

// The meter's line straight on the system's terminal interface, for a logger that only polls:
// nothing is read until the link asks how much is waiting, so the thread sleeps through a reply's
// arrival instead of waking for it, as a port that reads whatever comes would. The device is held
// exclusively, and locked, as the desktop program holds it.
class TermiosSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit TermiosSerialPort(QObject* parent);
    ~TermiosSerialPort() override;

    bool open(int portNumber) override;
    bool openDevice(const QString& path) override;
    bool reopen() override;
    void close() override;
    bool isOpen() const override { return descriptor_ >= 0; }
    int portNumber() const override { return portNumber_; }
    QString errorText() const override { return error_; }
    // The last open failed because another program has the device open.
    bool inUseByAnother() const { return inUseByAnother_; }

    void write(const QByteArray& bytes) override;
    int bytesWaiting() const override;
    QByteArray readAll() override;
    QByteArray read(int count) override;

private:
    // 9600 8N1, raw, on the named device.
    bool openNamed(const QString& deviceName);
    // Moves what the system holds for the line into received_.
    void takeWaiting();
    // The device went away: the port closes and says so once.
    void lose();
    void fail(int error);

    int descriptor_ = -1;
    int portNumber_ = 0;
    QString devicePath_;
    QString error_;
    bool inUseByAnother_ = false;
    QByteArray received_;
};
