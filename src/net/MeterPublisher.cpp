#include "net/MeterPublisher.h"

#include "recording/ExportRow.h"

#include <QCoreApplication>
#include <QTimer>

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
      saveTimer_(new QTimer(this)), backlog_(settings.backlogLimit) {
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
        if (std::optional<std::vector<BacklogFile::Pending>> pending =
                file_.open(settings_.backlogFile)) {
            fileInUse_ = true;
            for (BacklogFile::Pending& reading : *pending)
                enqueue({std::move(reading.payload), reading.end});
        } else {
            Q_EMIT backlogFileFailed(file_.errorText());
        }
    }
    return client_->start(settings_.connection,
                          MqttMessage{topics_.availability(), QByteArrayLiteral("offline"), true});
}

void MeterPublisher::publishReading(const ExportRow& row) {
    QueuedReading reading{statePayload(row)};
    if (fileInUse_) {
        if (const std::optional<qint64> end = file_.append(reading.payload)) {
            reading.fileEnd = *end;
        } else {
            fileInUse_ = false;
            Q_EMIT backlogFileFailed(file_.errorText());
        }
    }
    enqueue(std::move(reading));
    if (unit_ != row.unit) {
        unit_ = row.unit;
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
    while (!handed_.empty() && handed_.front().taken) {
        if (handed_.front().fileEnd >= 0)
            takenOffset_ = handed_.front().fileEnd;
        handed_.pop_front();
    }
    if (fileInUse_ && takenOffset_ != savedOffset_ && !saveTimer_->isActive())
        saveTimer_->start(SaveInterval);
}

void MeterPublisher::saveTaken() {
    if (!fileInUse_ || takenOffset_ == savedOffset_)
        return;
    if (!file_.markTaken(takenOffset_)) {
        fileInUse_ = false;
        Q_EMIT backlogFileFailed(file_.errorText());
        return;
    }
    savedOffset_ = takenOffset_;
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
    saveTaken();
    client_->disconnect();
    Q_EMIT finished();
}
