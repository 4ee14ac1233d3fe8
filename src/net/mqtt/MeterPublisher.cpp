#include "net/mqtt/MeterPublisher.h"

#include "logic/recording/ExportRow.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <sysexits.h>

namespace {

// Readings handed to libmosquitto and not yet acknowledged; fewer than its own in-flight limit.
constexpr qsizetype Window = 16;
// How often the backlog file is told how far the broker has taken it: a restart sends at most
// this much again.
constexpr auto SaveInterval = std::chrono::seconds(1);
// At the end, how long the backlog may take to go out, and the "offline" after it.
constexpr auto DrainTime = std::chrono::seconds(5);
constexpr auto OfflineTime = std::chrono::seconds(1);

QString clientId(const QString& meterId) {
    return QStringLiteral("meter-logger-%1-%2")
        .arg(meterId)
        .arg(QCoreApplication::applicationPid());
}

} // namespace

MeterPublisher::MeterPublisher(QObject* parent, const PublishSettings& settings,
                               const QString& meterId)
    : QObject(parent), settings_(settings), topics_(settings.prefix, meterId),
      client_(new MosquittoClient(this, clientId(meterId))), finishTimer_(new QTimer(this)),
      saveTimer_(new QTimer(this)), backlog_(settings.backlogLimit),
      file_(std::make_shared<BacklogFile>()) {
    finishTimer_->setSingleShot(true);
    saveTimer_->setSingleShot(true);
    connect(saveTimer_, &QTimer::timeout, this, &MeterPublisher::saveTaken);
    connect(client_, &MosquittoClient::connected, this, &MeterPublisher::onConnected);
    connect(client_, &MosquittoClient::disconnected, this,
            [this](const QString& reason) { tellOutage(reason, &MeterPublisher::disconnected); });
    connect(client_, &MosquittoClient::refused, this,
            [this](const QString& reason) { tellOutage(reason, &MeterPublisher::refused); });
    connect(client_, &MosquittoClient::published, this, &MeterPublisher::onPublished);
    connect(client_, &MosquittoClient::received, this, &MeterPublisher::onReceived);
}

std::optional<StartFailure> MeterPublisher::start() {
    if (!settings_.backlogFile.isEmpty()) {
        // What a run before this one could not publish goes first.
        const std::variant<BacklogFile::Loaded, BacklogFile::Unusable> opened =
            file_->open(settings_.backlogFile, settings_.backlogLimit);
        if (const auto* unusable = std::get_if<BacklogFile::Unusable>(&opened)) {
            if (unusable->heldByAnother)
                return StartFailure{
                    EX_UNAVAILABLE,
                    QStringLiteral("another meter-logger publishes as the meter %1 (it holds "
                                   "%2): give each meter its own ID code (meter-logger set-id) or "
                                   "name it with --id")
                        .arg(topics_.meterId(), settings_.backlogFile)};
            Q_EMIT backlogFileFailed(unusable->reason);
        } else {
            const BacklogFile::Loaded& loaded = std::get<BacklogFile::Loaded>(opened);
            fileOpened_ = fileInUse_ = true;
            backlog_.countDropped(loaded.dropped);
            for (const BacklogFile::Pending& reading : loaded.pending)
                enqueue({reading.payload, reading.end});
            if (loaded.unreadable > 0)
                Q_EMIT backlogLinesSkipped(loaded.unreadable);
        }
    }
    return client_->start(settings_.connection,
                          MqttMessage{topics_.availability(), QByteArrayLiteral("offline"), true});
}

std::shared_ptr<BacklogFile> MeterPublisher::backlogFile() const {
    return fileInUse_ ? file_ : nullptr;
}

void MeterPublisher::publishReading(const ExportRow& row, qint64 fileEnd) {
    // The meter's thread could not write it there: the file takes no more in this run.
    if (fileInUse_ && fileEnd < 0) {
        fileInUse_ = false;
        Q_EMIT backlogFileFailed(file_->failure());
    }
    enqueue({statePayload(row), fileEnd});
    if (unit_ != writtenUnit(row)) {
        unit_ = writtenUnit(row);
        sendDiscovery();
    }
    sendWaiting();
}

void MeterPublisher::setMeterAvailable(bool available) {
    meterAvailable_ = available;
    sendAvailability();
}

void MeterPublisher::finish() {
    if (finishing_)
        return;
    finishing_ = true;
    if (!connected_ || queued() == 0) {
        endAfterOffline();
        return;
    }
    connect(finishTimer_, &QTimer::timeout, this, &MeterPublisher::endAfterOffline);
    finishTimer_->start(DrainTime);
}

void MeterPublisher::tellOutage(const QString& reason,
                                void (MeterPublisher::*signal)(const QString&)) {
    connected_ = false;
    // Every failed attempt to reconnect ends here too: the outage's reason is told once.
    if (reason != lastTold_ && !ended_)
        Q_EMIT(this->*signal)(reason);
    lastTold_ = reason;
}

void MeterPublisher::onConnected() {
    connected_ = true;
    lastTold_.clear();
    Q_EMIT connected();
    sendAvailability();
    if (settings_.discovery) {
        const QByteArray status = discoveryStatusTopic(settings_.discoveryPrefix);
        if (const std::optional<QString> wrong = client_->subscribe(status))
            Q_EMIT failed(QStringLiteral("could not subscribe to %1: %2")
                              .arg(QString::fromUtf8(status), *wrong));
    }
    // A round in flight on the connection before may never be acknowledged.
    discoveryInFlight_.clear();
    sendDiscovery();
    sendWaiting();
}

void MeterPublisher::onPublished(int messageId) {
    if (offlineMessage_ == messageId) {
        end();
        return;
    }
    if (std::erase(discoveryInFlight_, messageId) > 0) {
        if (discoveryInFlight_.empty() && discoveryAgain_)
            sendDiscovery();
        return;
    }
    const auto handed =
        std::find_if(handed_.begin(), handed_.end(), [messageId](const Handed& each) {
            return each.messageId == messageId && !each.taken;
        });
    if (handed == handed_.end())
        return;
    handed->taken = true;
    --inFlight_;
    Q_EMIT queueChanged();
    settleTaken();
    sendWaiting();
    if (finishing_ && queued() == 0 && !offlineMessage_)
        endAfterOffline();
}

void MeterPublisher::onReceived(const QByteArray& topic, const QByteArray& payload) {
    if (topic == discoveryStatusTopic(settings_.discoveryPrefix) && payload == "online")
        sendDiscovery();
}

void MeterPublisher::enqueue(QueuedReading reading) {
    // One the bound pushes out is settled as if taken: it will never be sent.
    if (const std::optional<QueuedReading> gone = backlog_.push(std::move(reading))) {
        handed_.push_back({-1, gone->fileEnd, true});
        settleTaken();
    }
}

void MeterPublisher::settleTaken() {
    bool moved = false;
    while (!handed_.empty() && handed_.front().taken) {
        if (handed_.front().fileEnd >= 0) {
            takenOffset_ = handed_.front().fileEnd;
            moved = true;
        }
        handed_.pop_front();
    }
    if (fileInUse_ && moved && !saveTimer_->isActive())
        saveTimer_->start(SaveInterval);
}

void MeterPublisher::saveTaken() {
    if (!fileInUse_ || takenOffset_ < 0)
        return;
    if (!file_->markTaken(takenOffset_)) {
        fileInUse_ = false;
        Q_EMIT backlogFileFailed(file_->failure());
    }
}

void MeterPublisher::keepUnpublished() {
    qsizetype givenUp = std::count_if(handed_.begin(), handed_.end(), [](const Handed& each) {
        return !each.taken && each.fileEnd < 0;
    });
    // The meters have stopped, so nothing else appends: a file that failed may take them now
    // (the disk may have room again), after those it holds.
    if (fileOpened_ && !fileInUse_) {
        file_->resume();
        fileInUse_ = true;
    }
    saveTaken();
    for (; !backlog_.isEmpty(); backlog_.dropOldest()) {
        if (backlog_.oldest().fileEnd >= 0)
            continue;
        if (!fileInUse_ || !file_->append(backlog_.oldest().payload)) {
            fileInUse_ = false;
            ++givenUp;
        }
    }
    if (givenUp > 0)
        Q_EMIT readingsGivenUp(givenUp, file_->failure());
}

void MeterPublisher::sendWaiting() {
    while (connected_ && inFlight_ < Window && !backlog_.isEmpty()) {
        const QueuedReading& oldest = backlog_.oldest();
        const std::optional<int> messageId =
            client_->publish(MqttMessage{topics_.state(), oldest.payload, false});
        if (!messageId)
            return;
        handed_.push_back({*messageId, oldest.fileEnd, false});
        ++inFlight_;
        backlog_.dropOldest();
    }
}

void MeterPublisher::sendAvailability() {
    if (connected_ && !finishing_)
        client_->publish(MqttMessage{
            topics_.availability(),
            meterAvailable_ ? QByteArrayLiteral("online") : QByteArrayLiteral("offline"), true});
}

void MeterPublisher::sendDiscovery() {
    if (!settings_.discovery || !connected_ || !unit_)
        return;
    discoveryAgain_ = !discoveryInFlight_.empty();
    if (discoveryAgain_)
        return;
    for (const MqttMessage& config : discoveryMessages(settings_.discoveryPrefix, topics_, *unit_,
                                                       QStringLiteral(METER_VERSION))) {
        if (const std::optional<int> messageId = client_->publish(config))
            discoveryInFlight_.push_back(*messageId);
    }
}

void MeterPublisher::endAfterOffline() {
    if (offlineMessage_ || ended_)
        return;
    if (connected_)
        offlineMessage_ = client_->publish(
            MqttMessage{topics_.availability(), QByteArrayLiteral("offline"), true});
    if (!offlineMessage_) {
        end();
        return;
    }
    finishTimer_->disconnect(this);
    connect(finishTimer_, &QTimer::timeout, this, &MeterPublisher::end);
    finishTimer_->start(OfflineTime);
}

void MeterPublisher::end() {
    if (ended_)
        return;
    ended_ = true;
    finishTimer_->stop();
    keepUnpublished();
    client_->disconnect();
    Q_EMIT finished();
}
