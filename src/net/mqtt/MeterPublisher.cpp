#include "net/mqtt/MeterPublisher.h"

#include "logic/recording/ExportRow.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

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
    connect(finishTimer_, &QTimer::timeout, this, [this] { handle(PublisherEvent::TimeUp); });
    connect(client_, &MosquittoClient::connected, this,
            [this] { handle(PublisherEvent::Connected); });
    connect(client_, &MosquittoClient::disconnected, this, [this](const QString& reason) {
        handle(PublisherEvent::Lost, {reason, &MeterPublisher::disconnected});
    });
    connect(client_, &MosquittoClient::refused, this, [this](const QString& reason) {
        handle(PublisherEvent::Lost, {reason, &MeterPublisher::refused});
    });
    connect(client_, &MosquittoClient::published, this, &MeterPublisher::onPublished);
    connect(client_, &MosquittoClient::received, this, &MeterPublisher::onReceived);
}

Result<> MeterPublisher::start() {
    if (!settings_.backlogFile.isEmpty()) {
        // What a run before this one could not publish goes first.
        const std::variant<BacklogFile::Loaded, BacklogFile::Unusable> opened =
            file_->open(settings_.backlogFile, settings_.backlogLimit);
        if (const auto* unusable = std::get_if<BacklogFile::Unusable>(&opened)) {
            if (unusable->heldByAnother)
                return Failure{
                    ExitStatus::Unavailable,
                    QStringLiteral("another meter-logger publishes as the meter %1 (it holds "
                                   "%2): give each meter its own ID code (meter-logger set-id) or "
                                   "name it with --id")
                        .arg(topics_.meterId(), settings_.backlogFile)};
            Q_EMIT backlogFileFailed(unusable->reason);
        } else {
            const BacklogFile::Loaded& loaded = std::get<BacklogFile::Loaded>(opened);
            fileUse_ = FileUse::Taking;
            backlog_.countDropped(loaded.dropped);
            for (const BacklogFile::Pending& reading : loaded.pending)
                enqueue({reading.payload, reading.end});
            if (loaded.unreadable > 0)
                Q_EMIT backlogLinesSkipped(loaded.unreadable);
        }
    }
    Result<> started =
        client_->start(settings_.connection,
                       MqttMessage{topics_.availability(), QByteArrayLiteral("offline"), true});
    if (started)
        handle(PublisherEvent::Start);
    return started;
}

std::shared_ptr<BacklogFile> MeterPublisher::backlogFile() const {
    return fileUse_ == FileUse::Taking ? file_ : nullptr;
}

void MeterPublisher::publishReading(const ExportRow& row, qint64 fileEnd) {
    // The meter's thread could not write it there: the file takes no more in this run.
    if (fileUse_ == FileUse::Taking && fileEnd < 0)
        fileFailed();
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
    handle(PublisherEvent::Finish);
    checkDrained();
}

void MeterPublisher::handle(PublisherEvent event, const Outage& outage) {
    const PublisherStep step = publisherStep(phase_, event);
    phase_ = step.next;
    switch (step.effect) {
    case PublisherEffect::None:
        return;
    case PublisherEffect::Announce:
        announce();
        return;
    case PublisherEffect::TellOutage:
        tellOutage(outage);
        return;
    case PublisherEffect::StartDraining:
        finishTimer_->start(DrainTime);
        return;
    case PublisherEffect::SendOffline:
        sendOffline();
        return;
    case PublisherEffect::End:
        end();
        return;
    }
}

bool MeterPublisher::brokerThere() const {
    return phase_ == PublisherPhase::Online || phase_ == PublisherPhase::Draining ||
           phase_ == PublisherPhase::SendingOffline;
}

void MeterPublisher::checkDrained() {
    if (queued() == 0)
        handle(PublisherEvent::Drained);
}

void MeterPublisher::tellOutage(const Outage& outage) {
    if (outage.reason != lastTold_)
        Q_EMIT(this->*outage.signal)(outage.reason);
    lastTold_ = outage.reason;
}

void MeterPublisher::announce() {
    lastTold_.clear();
    Q_EMIT connected();
    sendAvailability();
    if (settings_.discovery) {
        const QByteArray status = discoveryStatusTopic(settings_.discoveryPrefix);
        if (const Result<> subscribed = client_->subscribe(status); !subscribed)
            Q_EMIT failed(subscribed.failure().message);
    }
    // A round in flight on the connection before may never be acknowledged.
    discoveryInFlight_.clear();
    sendDiscovery();
    sendWaiting();
}

void MeterPublisher::onPublished(int messageId) {
    if (phase_ == PublisherPhase::SendingOffline && messageId == offlineMessage_) {
        handle(PublisherEvent::OfflineTaken);
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
    checkDrained();
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
    if (fileUse_ == FileUse::Taking && moved && !saveTimer_->isActive())
        saveTimer_->start(SaveInterval);
}

void MeterPublisher::saveTaken() {
    if (fileUse_ != FileUse::Taking || takenOffset_ < 0)
        return;
    if (!file_->markTaken(takenOffset_))
        fileFailed();
}

void MeterPublisher::fileFailed() {
    fileUse_ = FileUse::Failed;
    Q_EMIT backlogFileFailed(file_->failure());
}

void MeterPublisher::keepUnpublished() {
    qsizetype givenUp = std::count_if(handed_.begin(), handed_.end(), [](const Handed& each) {
        return !each.taken && each.fileEnd < 0;
    });
    // The meters have stopped, so nothing else appends: a file that failed may take them now
    // (the disk may have room again), after those it holds.
    if (fileUse_ == FileUse::Failed) {
        file_->resume();
        fileUse_ = FileUse::Taking;
    }
    saveTaken();
    for (; !backlog_.isEmpty(); backlog_.dropOldest()) {
        if (backlog_.oldest().fileEnd >= 0)
            continue;
        if (fileUse_ != FileUse::Taking || !file_->append(backlog_.oldest().payload)) {
            if (fileUse_ == FileUse::Taking)
                fileUse_ = FileUse::Failed;
            ++givenUp;
        }
    }
    if (givenUp > 0)
        Q_EMIT readingsGivenUp(givenUp, file_->failure());
}

void MeterPublisher::sendWaiting() {
    while (brokerThere() && inFlight_ < Window && !backlog_.isEmpty()) {
        const QueuedReading& oldest = backlog_.oldest();
        // One libmosquitto does not take waits for the next acknowledgement or connection.
        const Result<int> messageId =
            client_->publish(MqttMessage{topics_.state(), oldest.payload, false});
        if (!messageId)
            return;
        handed_.push_back({*messageId, oldest.fileEnd, false});
        ++inFlight_;
        backlog_.dropOldest();
    }
}

void MeterPublisher::sendAvailability() {
    if (phase_ != PublisherPhase::Online)
        return;
    const Result<int> sent = client_->publish(MqttMessage{
        topics_.availability(),
        meterAvailable_ ? QByteArrayLiteral("online") : QByteArrayLiteral("offline"), true});
    if (!sent)
        Q_EMIT failed(sent.failure().message);
}

void MeterPublisher::sendDiscovery() {
    if (!settings_.discovery || !brokerThere() || !unit_)
        return;
    discoveryAgain_ = !discoveryInFlight_.empty();
    if (discoveryAgain_)
        return;
    for (const MqttMessage& config : discoveryMessages(settings_.discoveryPrefix, topics_, *unit_,
                                                       QStringLiteral(METER_VERSION))) {
        if (const Result<int> messageId = client_->publish(config))
            discoveryInFlight_.push_back(*messageId);
        else
            Q_EMIT failed(messageId.failure().message);
    }
}

void MeterPublisher::sendOffline() {
    const Result<int> messageId =
        client_->publish(MqttMessage{topics_.availability(), QByteArrayLiteral("offline"), true});
    if (!messageId) {
        // A goodbye after it would drop the last will too: the availability stays as it was.
        Q_EMIT failed(messageId.failure().message);
        handle(PublisherEvent::OfflineRefused);
        return;
    }
    offlineMessage_ = *messageId;
    finishTimer_->start(OfflineTime);
}

void MeterPublisher::end() {
    finishTimer_->stop();
    keepUnpublished();
    if (const Result<> stopped = client_->stop(); !stopped)
        Q_EMIT failed(stopped.failure().message);
    Q_EMIT finished();
}
