#pragma once

#include "device/platform/SerialPort.h"

class QSerialPort;

// Port n opens the device named by METER_COM<n> when that variable is set, else the system's
// usual name for COM<n>.
QString serialDeviceName(int portNumber);

class QtSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent);

    bool open(int portNumber) override;
    bool openDevice(const QString& path) override;
    bool reopen() override;
    void close() override;
    bool isOpen() const override;
    int portNumber() const override { return portNumber_; }
    QString errorText() const override;
    // The last open failed because another program has the device open.
    bool inUseByAnother() const { return inUseByAnother_; }

    void write(const QByteArray& bytes) override;
    int bytesWaiting() const override;
    QByteArray readAll() override;
    QByteArray read(int count) override;

private:
    void onError();

    // 9600 8N1 on the named device.
    bool openNamed(const QString& deviceName);

    QSerialPort* port_;
    int portNumber_ = 0;
    QString devicePath_;
    bool inUseByAnother_ = false;
};
