#include "ReplySender.h"

#include "PtyDevice.h"
#include "engine/MeterEngine.h"

#include <QTimer>

ReplySender::ReplySender(PtyDevice* device, QObject* parent)
    : QObject(parent), device_(device), paceTimer_(new QTimer(this)) {
    // A millisecond tick that lets out as many bytes as the line would have carried by now, so
    // the average rate is 9600 baud even though a timer cannot fire every 1.04 ms.
    paceTimer_->setTimerType(Qt::PreciseTimer);
    paceTimer_->setInterval(1);
    connect(paceTimer_, &QTimer::timeout, this, &ReplySender::pump);
}

void ReplySender::send(const QByteArray& bytes, int delayMs, bool paced) {
    if (bytes.isEmpty())
        return;
    if (delayMs <= 0) {
        put(bytes, paced);
        return;
    }
    const quint64 generation = generation_;
    QTimer::singleShot(delayMs, this, [this, bytes, paced, generation] {
        if (generation == generation_)
            put(bytes, paced);
    });
}

void ReplySender::clear() {
    ++generation_;
    queue_.clear();
    paceTimer_->stop();
}

void ReplySender::put(const QByteArray& bytes, bool paced) {
    // Bytes still waiting for the paced line go first, whatever the pacing of the new ones.
    if (!paced && queue_.isEmpty()) {
        device_->write(bytes);
        return;
    }
    queue_.append(bytes);
    if (!paceTimer_->isActive()) {
        paceClock_.start();
        sentSincePaceStart_ = 0;
        paceTimer_->start();
    }
    pump();
}

void ReplySender::pump() {
    // The first byte leaves at once; each further one a byte time after the one before.
    const qint64 due =
        paceClock_.nsecsElapsed() / 1000 / MeterEngine::ByteMicroseconds + 1 - sentSincePaceStart_;
    const qint64 count = std::min<qint64>(due, queue_.size());
    if (count > 0) {
        device_->write(queue_.left(count));
        queue_.remove(0, count);
        sentSincePaceStart_ += count;
    }
    if (queue_.isEmpty())
        paceTimer_->stop();
}
