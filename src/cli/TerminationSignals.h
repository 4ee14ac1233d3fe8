#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM as a Qt signal: the handler only writes a byte into a pipe, and the event
// loop reads it, so that the work of stopping happens outside the handler.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};
