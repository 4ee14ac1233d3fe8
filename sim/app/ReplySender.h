#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

class PtyDevice;
class QTimer;

// Puts the meter's replies on the line: after the reply delay, and either at once or paced at
// the rate of a 9600-baud line.
class ReplySender final : public QObject {
    Q_OBJECT
public:
    ReplySender(PtyDevice* device, QObject* parent);

    void send(const QByteArray& bytes, int delayMs, bool paced);
    // Forgets replies still waiting for their delay or their turn on the line.
    void clear();

private:
    void put(const QByteArray& bytes, bool paced);
    void pump();

    PtyDevice* device_;
    QTimer* paceTimer_;
    QElapsedTimer paceClock_;
    QByteArray queue_;
    qint64 sentSincePaceStart_ = 0;
    // Counts clear() calls, so that a delayed reply from before an unplug is not sent after it.
    quint64 generation_ = 0;
};
