#include "device/link/MeterLink.h"

#include "device/platform/SerialPort.h"
#include "device/waits/Waiter.h"
#include "logic/link/FrameDecoder.h"

#include <QScopedValueRollback>
#include <QTimer>

MeterLink::MeterLink(QObject* parent, SerialPort& port, Waiter& waiter, LiveReading& reading)
    : QObject(parent), port_(port), waiter_(waiter), reading_(reading),
      pollTimer_(new QTimer(this)) {
    pollTimer_->setObjectName(QStringLiteral("Timer1"));
    pollTimer_->setInterval(1000);
    connect(pollTimer_, &QTimer::timeout, this, &MeterLink::Timer1_Timer);
}

void MeterLink::startPolling() {
    if (pauseDepth_ == 0 && !pollTimer_->isActive())
        pollTimer_->start();
}

void MeterLink::stopPolling() {
    pollTimer_->stop();
}

void MeterLink::Timer1_Timer() {
    if (polling_ || waiter_.stopping())
        return;
    const QScopedValueRollback<bool> running(polling_, true);

    if (quietLineWanted_ && !waitForQuietLine())
        return;

    // A port whose device went away cannot answer: no point in fifty tries.
    if (!port_.isOpen()) {
        WaitForMeter();
        return;
    }
    for (int attempt = 1;; ++attempt) {
        askForFrame();
        if (!waiter_.WaitSeconds(FrameWaitSeconds))
            return;
        if (takeFrame())
            return;
        if (attempt >= AttemptsPerPoll) {
            WaitForMeter();
            return;
        }
    }
}

void MeterLink::WaitForMeter() {
    enterNoDevice();
    for (int round = 0;; ++round) {
        callMeter(round);
        if (!waiter_.WaitSeconds(CallWaitSeconds))
            return;
        if (meterCalledBack())
            break;
    }
    if (pauseDepth_ == 0)
        pollTimer_->start();
    leaveNoDevice();
}

void MeterLink::askForFrame() {
    DiscardInput();
    port_.write(QByteArrayLiteral(" "));
}

bool MeterLink::portOpen() const {
    return port_.isOpen();
}

bool MeterLink::takeFrame() {
    if (port_.bytesWaiting() != FrameLength)
        return false;
    reading_.LastFrame = port_.read(FrameLength);
    decodeLiveFrame(reading_.LastFrame, reading_);
    Q_EMIT frameDecoded();
    return true;
}

void MeterLink::enterNoDevice() {
    Q_EMIT noDeviceEntered();
}

void MeterLink::callMeter(int round) {
    if (port_.isOpen())
        port_.write(QByteArrayLiteral(" "));
    else if (round % RoundsPerReopen == 0 && port_.reopen())
        port_.write(QByteArrayLiteral(" "));
}

bool MeterLink::meterCalledBack() const {
    return port_.isOpen() && port_.bytesWaiting() >= 1;
}

void MeterLink::leaveNoDevice() {
    Q_EMIT noDeviceLeft();
}

bool MeterLink::waitForQuietLine() {
    constexpr double step = 0.1;
    constexpr int quietSteps = static_cast<int>(QuietLineSeconds / step);
    // An exchange that runs and gives up during these waits asks again.
    quietLineWanted_ = false;
    DiscardInput();
    for (int quiet = 0; quiet < quietSteps && port_.isOpen();) {
        if (!waiter_.WaitSeconds(step))
            return false;
        if (port_.bytesWaiting() > 0) {
            DiscardInput();
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return true;
}

void MeterLink::DiscardInput() {
    if (port_.bytesWaiting() > 0)
        port_.readAll();
}

void MeterLink::sendCommand(const QByteArray& bytes, bool discardFirst) {
    pausePoll();
    if (discardFirst)
        DiscardInput();
    port_.write(bytes);
    resumePoll();
}

void MeterLink::sendCommandAndWait(const QByteArray& bytes, double seconds) {
    pausePoll();
    DiscardInput();
    port_.write(bytes);
    if (waiter_.WaitSeconds(seconds))
        resumePoll();
}

void MeterLink::pausePoll() {
    pollTimer_->stop();
    if (++pauseDepth_ == 1)
        Q_EMIT pollPausedChanged(true);
}

void MeterLink::resumePoll() {
    if (pauseDepth_ == 0)
        return;
    if (--pauseDepth_ > 0)
        return;
    // An exchange unwinding because the program ends must not start the poll again.
    if (!waiter_.stopping())
        pollTimer_->start();
    Q_EMIT pollPausedChanged(false);
}
