#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The meter's serial line as the program uses it: everything is polled, nothing is event-driven,
// so the interface is just open, write, count and read.
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Opens port n (1 to 8). Returns false when the port does not exist or is in use.
    virtual bool open(int portNumber) = 0;
    // Opens a device by its path ("/dev/ttyUSB0"), for an adapter that has no port number.
    // portNumber() is then 0.
    virtual bool openDevice(const QString& path) = 0;
    // Opens again whatever was opened last, by number or by path, once its device is back.
    // False when nothing was ever opened.
    virtual bool reopen() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual int portNumber() const = 0;
    // A short human-readable reason for the last failure, for messages and logs.
    virtual QString errorText() const = 0;

    virtual void write(const QByteArray& bytes) = 0;
    virtual int bytesWaiting() const = 0;
    virtual QByteArray readAll() = 0;
    virtual QByteArray read(int count) = 0;

Q_SIGNALS:
    // The device went away (a USB adapter pulled out); the port has been closed.
    void deviceLost();
};
