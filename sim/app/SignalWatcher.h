#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal through a signalfd, so the simulator stops through
// its event loop and its destructors remove the link and close the terminal.
class SignalWatcher final : public QObject {
    Q_OBJECT
public:
    // Blocks the two signals so that only the descriptor receives them. Call it first in main(),
    // before any thread starts, since threads inherit the mask of their creator.
    static bool blockStopSignals();

    explicit SignalWatcher(QObject* parent);
    ~SignalWatcher() override;

    bool isValid() const { return fd_ >= 0; }

Q_SIGNALS:
    void stopRequested();

private:
    void readSignal();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
