#pragma once

#include "cli/RecordPlan.h"
#include "device/platform/Clock.h"
#include "logic/result/Result.h"

#include <QObject>
#include <vector>

class FleetPoller;
class MeterNetwork;
class MeterRecording;
class QThread;
class RecordStatus;

// A recording of one or many meters, from the opening of every port and file to the last file
// closed: every meter in one thread beside this one, polled together, and this one watching the
// signals, the duration and the status, and handing the readings to the network. finished()
// carries the exit status.
class RecordRun final : public QObject {
    Q_OBJECT
public:
    RecordRun(QObject* parent, const RecordPlan& plan, bool terminal);
    ~RecordRun() override;

    void start();
    // Ends every meter's recording with its files complete.
    void stop();
    // Every meter still recording opens its file again by its name.
    void reopenFiles();

Q_SIGNALS:
    void finished(int exitStatus);

private:
    void onPrepared(const Result<>& outcome);
    void onSessionFinished(int meter, qint64 rows);
    // Every meter prepared: their ids on the network settled and the network started. False
    // (after saying why) when it cannot start.
    bool startNetwork();
    // Tells why the run cannot go on, and stops it: the first failure's status is the run's.
    void fail(const Failure& failure);

    RecordPlan plan_;
    SystemClock clock_;
    RecordStatus* status_;
    MeterNetwork* network_;
    QStringList meterIds_;
    QThread* thread_;
    FleetPoller* poller_;
    std::vector<MeterRecording*> sessions_;
    int prepared_ = 0;
    int running_ = 0;
    int exitStatus_ = 0;
    bool began_ = false;
    bool stopping_ = false;
};
