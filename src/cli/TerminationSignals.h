#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM, which ask to stop, and SIGHUP, which asks to reopen the files, as Qt
// signals: the handler only writes the signal's number into a pipe, and the event loop reads it,
// so that the work happens outside the handler.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();
    void reopenRequested();

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};
