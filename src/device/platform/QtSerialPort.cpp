#include "device/platform/QtSerialPort.h"

#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/file.h>
#endif

QString serialDeviceName(int portNumber) {
    const QByteArray variable = "METER_COM" + QByteArray::number(portNumber);
    const QString fromEnvironment = qEnvironmentVariable(variable.constData());
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent), port_(new QSerialPort(this)) {
    connect(port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

bool QtSerialPort::open(int portNumber) {
    if (portNumber < 1 || portNumber > 8)
        return false;
    portNumber_ = portNumber;
    devicePath_.clear();
    return openNamed(serialDeviceName(portNumber));
}

bool QtSerialPort::openDevice(const QString& path) {
    portNumber_ = 0;
    devicePath_ = path;
    return openNamed(path);
}

bool QtSerialPort::reopen() {
    if (portNumber_ != 0)
        return open(portNumber_);
    return !devicePath_.isEmpty() && openDevice(devicePath_);
}

bool QtSerialPort::openNamed(const QString& deviceName) {
    if (port_->isOpen())
        port_->close();
    port_->setPortName(deviceName);
    inUseByAnother_ = false;
    if (!port_->open(QIODevice::ReadWrite)) {
        // Qt's lock file, or the exclusive mode another program set on the line.
        inUseByAnother_ = port_->error() == QSerialPort::PermissionError;
        return false;
    }
#ifdef Q_OS_UNIX
    // Two programs polling one meter would each read half of the other's replies. Qt's lock file
    // and exclusive mode do not stop root or a program that ignores lock files; a lock on the open
    // device does, and it goes with the descriptor when the port closes or the program dies.
    if (::flock(static_cast<int>(port_->handle()), LOCK_EX | LOCK_NB) != 0 &&
        errno == EWOULDBLOCK) {
        port_->close();
        inUseByAnother_ = true;
        return false;
    }
#endif
    // The meter's replies use all eight bits of each byte: no parity, one stop bit.
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void QtSerialPort::close() {
    if (port_->isOpen())
        port_->close();
}

bool QtSerialPort::isOpen() const {
    return port_->isOpen();
}

QString QtSerialPort::errorText() const {
    return inUseByAnother_ ? QStringLiteral("in use by another program") : port_->errorString();
}

void QtSerialPort::write(const QByteArray& bytes) {
    if (port_->isOpen())
        port_->write(bytes);
}

int QtSerialPort::bytesWaiting() const {
    return port_->isOpen() ? static_cast<int>(port_->bytesAvailable()) : 0;
}

QByteArray QtSerialPort::readAll() {
    return port_->isOpen() ? port_->readAll() : QByteArray();
}

QByteArray QtSerialPort::read(int count) {
    return port_->isOpen() ? port_->read(count) : QByteArray();
}

void QtSerialPort::onError() {
    // A vanished device keeps reporting errors while it stays open: a USB adapter pulled out
    // gives ResourceError, a closed pseudo-terminal a stream of ReadError. Close at once so that
    // the program sees a closed port instead of an error storm, and say so once; the no-device
    // state reopens the port when the device is back.
    const QSerialPort::SerialPortError error = port_->error();
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) &&
        port_->isOpen()) {
        port_->close();
        Q_EMIT deviceLost();
    }
}
