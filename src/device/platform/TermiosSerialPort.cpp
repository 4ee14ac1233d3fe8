#include "device/platform/TermiosSerialPort.h"

#include "device/platform/QtSerialPort.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr qsizetype readChunk = 4096;

// What tells that the device itself is gone (an adapter pulled out, a pseudo-terminal's other
// end closed), as against a line that merely has nothing to give.
bool deviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EBADF;
}

bool setRawLine(int descriptor) {
    termios settings{};
    if (::tcgetattr(descriptor, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    // The meter's replies use all eight bits of each byte: no parity, one stop bit, no flow
    // control; the modem lines are not the meter's.
    settings.c_cflag &= ~(PARENB | CSTOPB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    // Non-blocking reads then answer "nothing yet" (EAGAIN) apart from "hung up" (0).
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    return ::cfsetispeed(&settings, B9600) == 0 && ::cfsetospeed(&settings, B9600) == 0 &&
           ::tcsetattr(descriptor, TCSANOW, &settings) == 0;
}

} // namespace

TermiosSerialPort::TermiosSerialPort(QObject* parent) : SerialPort(parent) {}

TermiosSerialPort::~TermiosSerialPort() {
    close();
}

bool TermiosSerialPort::open(int portNumber) {
    if (portNumber < 1 || portNumber > 8)
        return false;
    portNumber_ = portNumber;
    devicePath_.clear();
    return openNamed(serialDeviceName(portNumber));
}

bool TermiosSerialPort::openDevice(const QString& path) {
    portNumber_ = 0;
    devicePath_ = path;
    return openNamed(path);
}

bool TermiosSerialPort::reopen() {
    if (portNumber_ != 0)
        return open(portNumber_);
    return !devicePath_.isEmpty() && openDevice(devicePath_);
}

bool TermiosSerialPort::openNamed(const QString& deviceName) {
    close();
    inUseByAnother_ = false;
    const int descriptor = ::open(QFile::encodeName(deviceName).constData(),
                                  O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        // A line another program holds exclusively.
        inUseByAnother_ = errno == EBUSY;
        fail(errno);
        return false;
    }
    // Two programs polling one meter would each read half of the other's replies. The lock goes
    // with the descriptor when the port closes or the program dies.
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(descriptor);
        inUseByAnother_ = true;
        fail(EBUSY);
        return false;
    }
    if (!setRawLine(descriptor) || ::ioctl(descriptor, TIOCEXCL) != 0) {
        fail(errno);
        ::close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    received_.clear();
    return true;
}

void TermiosSerialPort::close() {
    if (descriptor_ < 0)
        return;
    ::close(descriptor_);
    descriptor_ = -1;
    received_.clear();
}

void TermiosSerialPort::write(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (descriptor_ >= 0 && sent < bytes.size()) {
        const ssize_t written = ::write(descriptor_, bytes.constData() + sent,
                                        static_cast<size_t>(bytes.size() - sent));
        if (written > 0) {
            sent += written;
        } else if (errno != EINTR) {
            // A full output queue drops the rest, as a line with no answer would: the link asks
            // again.
            if (deviceGone(errno))
                lose();
            return;
        }
    }
}

int TermiosSerialPort::bytesWaiting() const {
    // Reading is how the count is taken: what came is then ours, and the system's queue never
    // fills while the link waits.
    const_cast<TermiosSerialPort*>(this)->takeWaiting();
    return static_cast<int>(received_.size());
}

QByteArray TermiosSerialPort::readAll() {
    takeWaiting();
    return std::exchange(received_, QByteArray());
}

QByteArray TermiosSerialPort::read(int count) {
    if (received_.size() < count)
        takeWaiting();
    const QByteArray taken = received_.left(count);
    received_.remove(0, taken.size());
    return taken;
}

void TermiosSerialPort::takeWaiting() {
    // Read on the stack: what is kept grows by what came, not by a chunk, for each of the meters.
    std::array<char, readChunk> chunk;
    while (descriptor_ >= 0) {
        const ssize_t got = ::read(descriptor_, chunk.data(), chunk.size());
        const int error = errno;
        if (got > 0)
            received_.append(chunk.data(), got);
        if (got > 0 && got < readChunk)
            return;
        if (got > 0 || (got < 0 && error == EINTR))
            continue;
        if (got == 0 || deviceGone(error))
            lose();
        return;
    }
}

void TermiosSerialPort::lose() {
    close();
    error_ = QStringLiteral("the device went away");
    Q_EMIT deviceLost();
}

void TermiosSerialPort::fail(int error) {
    error_ = inUseByAnother_ ? QStringLiteral("in use by another program")
                             : QString::fromLocal8Bit(std::strerror(error));
}
