#include "net/MeterPublisher.h"

#include "recording/ExportRow.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

// Readings handed to libmosquitto and not yet acknowledged; fewer than its own in-flight limit.
constexpr qsizetype Window = 16;
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
      backlog_(settings.backlogLimit) {
    finishTimer_->setSingleShot(true);
    connect(client_, &MosquittoClient::connected, this, &MeterPublisher::onConnected);
    connect(client_, &MosquittoClient::disconnected, this, [this] {
        // Every failed attempt to reconnect ends here too: the first one says it.
        const bool wasConnected = connected_ || !triedBefore_;
        connected_ = false;
        triedBefore_ = true;
        if (wasConnected && !ended_)
            Q_EMIT disconnected();
    });
    connect(client_, &MosquittoClient::refused, this, &MeterPublisher::refused);
    connect(client_, &MosquittoClient::published, this, &MeterPublisher::onPublished);
    connect(client_, &MosquittoClient::received, this, &MeterPublisher::onReceived);
}

std::optional<QString> MeterPublisher::start() {
    return client_->start(settings_.connection,
                          MqttMessage{topics_.availability(), QByteArrayLiteral("offline"), true});
}

void MeterPublisher::publishReading(const ExportRow& row) {
    backlog_.push(statePayload(row));
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

void MeterPublisher::onConnected() {
    connected_ = true;
    Q_EMIT connected();
    sendAvailability();
    if (settings_.discovery)
        client_->subscribe(discoveryStatusTopic(settings_.discoveryPrefix));
    sendDiscovery();
    sendWaiting();
}

void MeterPublisher::onPublished(int messageId) {
    if (offlineMessage_ == messageId) {
        end();
        return;
    }
    if (!inFlight_.remove(messageId))
        return;
    sendWaiting();
    if (finishing_ && queued() == 0 && !offlineMessage_)
        endAfterOffline();
}

void MeterPublisher::onReceived(const QByteArray& topic, const QByteArray& payload) {
    if (topic == discoveryStatusTopic(settings_.discoveryPrefix) && payload == "online")
        sendDiscovery();
}

void MeterPublisher::sendWaiting() {
    while (connected_ && inFlight_.size() < Window && !backlog_.isEmpty()) {
        const std::optional<int> messageId =
            client_->publish(MqttMessage{topics_.state(), backlog_.oldest(), false});
        if (!messageId)
            return;
        inFlight_.insert(*messageId);
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
    for (const MqttMessage& config : discoveryMessages(settings_.discoveryPrefix, topics_, *unit_))
        client_->publish(config);
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
    client_->disconnect();
    Q_EMIT finished();
}
