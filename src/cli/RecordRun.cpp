#include "cli/RecordRun.h"

#include "cli/ErrorLine.h"
#include "cli/MeterRecording.h"
#include "cli/RecordStatus.h"
#include "cli/RunDeadline.h"
#include "device/link/FleetPoller.h"
#include "logic/result/ExitStatus.h"
#include "net/MeterNetwork.h"

#include <QThread>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

QStringList meterNames(const RecordPlan& plan) {
    QStringList names;
    for (const RecordTarget& target : plan.targets)
        names.append(portBaseName(target.port));
    return names;
}

std::vector<NetworkedMeter> networkedMeters(const RecordPlan& plan) {
    std::vector<NetworkedMeter> meters;
    for (const RecordTarget& target : plan.targets)
        meters.push_back({target.port.given, target.path, plan.format, plan.options.dewPoint});
    return meters;
}

void writeToStderr(const QString& text) {
    std::fputs(qPrintable(text), stderr);
    std::fflush(stderr);
}

} // namespace

RecordRun::RecordRun(QObject* parent, const RecordPlan& plan, bool terminal)
    : QObject(parent), plan_(plan),
      status_(new RecordStatus(this, meterNames(plan), terminal, writeToStderr)),
      network_(new MeterNetwork(this, plan.network, networkedMeters(plan))),
      meterIds_(plan.network.meterIds), thread_(new QThread(this)),
      // Without a parent, like the sessions: it lives in their thread and goes when it ends.
      poller_(new FleetPoller(nullptr)) {
    const bool readIdCodes = plan.network.needsMeterIds() && meterIds_.isEmpty();
    if (readIdCodes)
        meterIds_.resize(static_cast<qsizetype>(plan_.targets.size()));
    connect(network_, &MeterNetwork::brokerState, status_, &RecordStatus::brokerState);
    connect(network_, &MeterNetwork::finished, this, [this] { Q_EMIT finished(exitStatus_); });
    poller_->moveToThread(thread_);
    connect(thread_, &QThread::finished, poller_, &QObject::deleteLater);
    for (const RecordTarget& target : plan_.targets) {
        const int meter = static_cast<int>(sessions_.size());
        auto* session = new MeterRecording(target, plan_.format, plan_.options, plan_.samples,
                                           readIdCodes, *poller_);
        session->moveToThread(thread_);
        connect(thread_, &QThread::finished, session, &QObject::deleteLater);
        connect(session, &MeterRecording::prepared, this, &RecordRun::onPrepared);
        connect(session, &MeterRecording::noAnswer, status_, [this, meter] {
            status_->noAnswer(meter);
            network_->noAnswer(meter);
        });
        connect(session, &MeterRecording::idCodeRead, this,
                [this, meter](int idCode) { meterIds_[meter] = QString::number(idCode); });
        connect(session, &MeterRecording::linkLost, status_, [this, meter](bool portGone) {
            status_->linkLost(meter);
            network_->linkLost(meter, portGone);
        });
        connect(session, &MeterRecording::linkBack, status_, [this, meter] {
            status_->linkBack(meter);
            network_->linkBack(meter);
        });
        // Each reading crosses to this thread only for what shows it: a busy main thread woken
        // 32 times a second for nothing is a board's battery and processor spent.
        if (plan_.network.takesReadings())
            connect(
                session, &MeterRecording::readingTaken, network_,
                [this, meter](const QDateTime& takenAt, const ExportRow& row, qint64 backlogEnd) {
                    network_->readingTaken(meter, takenAt, row, backlogEnd);
                });
        if (terminal)
            connect(session, &MeterRecording::rowWritten, status_,
                    [this, meter](qint64 rows, const QString& reading) {
                        status_->rowWritten(meter, rows, reading);
                    });
        connect(session, &MeterRecording::writeFailed, this, [this, meter](const Failure& failure) {
            exitStatus_ = failure.exitStatus;
            status_->failed(meter, failure.message);
            network_->failed(meter, failure.message);
        });
        connect(session, &MeterRecording::finished, this,
                [this, meter](qint64 rows) { onSessionFinished(meter, rows); });
        sessions_.push_back(session);
    }
}

RecordRun::~RecordRun() {
    thread_->quit();
    thread_->wait();
}

void RecordRun::start() {
    if (const Result<> listening = network_->listen(); !listening) {
        // Before any port opens: finished() leaves once the event loop runs.
        fail(listening.failure());
        QMetaObject::invokeMethod(network_, &MeterNetwork::finish, Qt::QueuedConnection);
        return;
    }
    running_ = static_cast<int>(sessions_.size());
    thread_->start();
    // From one call: a meter's wait for its ID code must not run another meter's preparing
    // inside it. Every port and file is opened first, so that each one that cannot be is said;
    // then the ID codes are read one after the other: the first meter that does not answer stops
    // the run, which ends the others' readings at once.
    QMetaObject::invokeMethod(
        poller_,
        [sessions = sessions_] {
            bool opened = true;
            for (MeterRecording* session : sessions)
                opened = session->open() && opened;
            if (!opened)
                return;
            for (MeterRecording* session : sessions)
                session->readIdCode();
#ifdef __GLIBC__
            // What preparing freed (the files' first lines read, the names made) goes back to the
            // system instead of staying resident for a run of years.
            malloc_trim(0);
#endif
        },
        Qt::QueuedConnection);
}

void RecordRun::stop() {
    if (stopping_)
        return;
    stopping_ = true;
    for (MeterRecording* session : sessions_)
        if (session)
            QMetaObject::invokeMethod(session, &MeterRecording::finish, Qt::QueuedConnection);
}

void RecordRun::reopenFiles() {
    for (MeterRecording* session : sessions_)
        if (session)
            QMetaObject::invokeMethod(session, &MeterRecording::reopenFile, Qt::QueuedConnection);
}

void RecordRun::onPrepared(const Result<>& outcome) {
    // Nothing records unless every port and file opened.
    if (!outcome)
        fail(outcome.failure());
    if (++prepared_ < static_cast<int>(sessions_.size()) || stopping_ || !startNetwork())
        return;
    began_ = true;
    for (size_t meter = 0; meter < sessions_.size(); ++meter) {
        status_->started(static_cast<int>(meter), plan_.targets[meter].path);
        QMetaObject::invokeMethod(
            sessions_[meter],
            [session = sessions_[meter], backlog = network_->backlogOf(static_cast<int>(meter))] {
                session->begin(backlog);
            },
            Qt::QueuedConnection);
    }
    if (plan_.seconds > 0) {
        auto* deadline = new RunDeadline(this, clock_, plan_.seconds);
        connect(deadline, &RunDeadline::reached, this, &RecordRun::stop);
        deadline->start();
    }
}

void RecordRun::onSessionFinished(int meter, qint64 rows) {
    if (began_) {
        status_->stopped(meter, rows);
        // A run that heard nothing from a meter did not do what it was asked.
        if (rows == 0 && exitStatus_ == ExitStatus::Ok)
            exitStatus_ = ExitStatus::Unavailable;
    }
    // The session goes with the thread: a stop asked for later must not reach it.
    sessions_[static_cast<size_t>(meter)] = nullptr;
    if (--running_ == 0) {
        thread_->quit();
        thread_->wait();
        network_->finish();
    }
}

bool RecordRun::startNetwork() {
    for (qsizetype meter = 0; meter < meterIds_.size(); ++meter) {
        const qsizetype twin = meterIds_.indexOf(meterIds_[meter]);
        if (twin != meter) {
            // The call was right: the meters themselves cannot be told apart.
            fail(
                {ExitStatus::Unavailable,
                 QStringLiteral("the meters on %1 and %2 both have the ID code %3: give each its "
                                "own (meter-logger set-id) or name them with --id")
                     .arg(plan_.targets[static_cast<size_t>(twin)].port.given,
                          plan_.targets[static_cast<size_t>(meter)].port.given, meterIds_[meter])});
            return false;
        }
    }
    if (const Result<> started = network_->start(meterIds_); !started) {
        fail(started.failure());
        return false;
    }
    return true;
}

void RecordRun::fail(const Failure& failure) {
    printError(QStringLiteral("meter-logger record: ") + failure.message);
    if (exitStatus_ == ExitStatus::Ok)
        exitStatus_ = failure.exitStatus;
    stop();
}
