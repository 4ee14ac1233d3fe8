#pragma once

#include "logic/mqtt/MqttMessages.h"
#include "logic/mqtt/PublishBacklog.h"
#include "net/mqtt/BacklogFile.h"
#include "net/mqtt/MosquittoClient.h"
#include "net/mqtt/PublisherPhase.h"

#include <QObject>
#include <deque>
#include <memory>
#include <vector>

struct ExportRow;
class QTimer;

struct PublishSettings {
    MqttConnection connection;
    QString prefix = QStringLiteral("meter");
    // Home Assistant discovery; its prefix.
    bool discovery = false;
    QString discoveryPrefix = QStringLiteral("homeassistant");
    // Readings kept per meter while the broker is away: a day at one a second.
    qsizetype backlogLimit = 86400;
    // Where they are kept on disk as well, to outlast a restart; empty: in memory only.
    QString backlogFile;
};

// One meter on the broker: its readings published in order at QoS 1 through a bounded backlog,
// its availability (retained, "offline" as the last will and when the meter's link is lost) and,
// with discovery, Home Assistant's configs, again whenever Home Assistant comes online or the
// meter's unit changes. Nothing it receives goes anywhere but into the choice to send the configs
// again.
class MeterPublisher final : public QObject {
    Q_OBJECT
public:
    MeterPublisher(QObject* parent, const PublishSettings& settings, const QString& meterId);

    // Loads what the runs before could not publish and starts connecting; why it cannot (another
    // logger publishes as this meter, say), else nothing.
    Result<> start();
    // Where the meter's thread appends each reading before its recording line; nothing when the
    // backlog is kept in memory only.
    std::shared_ptr<BacklogFile> backlogFile() const;
    // fileEnd: where the reading's line ends in the backlog file, -1 when it is not there.
    void publishReading(const ExportRow& row, qint64 fileEnd);
    // The meter's link answers (true) or is lost.
    void setMeterAvailable(bool available);
    // Publishes what is waiting (for at most a few seconds while the broker is there), then
    // "offline", then disconnects; finished() comes then.
    void finish();

    qsizetype queued() const { return backlog_.size() + inFlight_; }
    quint64 dropped() const { return backlog_.dropped(); }

Q_SIGNALS:
    void connected();
    // The broker is away: why, told once for each outage and again when the reason changes.
    void disconnected(const QString& reason);
    void refused(const QString& reason);
    // Something the broker should do for this meter could not be asked of it: why.
    void failed(const QString& reason);
    // queued() has changed without a reading taken.
    void queueChanged();
    // The backlog file could not be opened or written: the backlog is kept in memory only.
    void backlogFileFailed(const QString& reason);
    // Lines of the backlog file that were no reading of ours, left out.
    void backlogLinesSkipped(quint64 lines);
    // At the end: readings not published that no file keeps for the next run.
    void readingsGivenUp(qsizetype readings, const QString& reason);
    void finished();

private:
    // Why the broker is away, and which signal tells it.
    struct Outage {
        QString reason;
        void (MeterPublisher::*signal)(const QString&);
    };
    // The file the meter's thread appends to: not asked for or not opened, taking readings, or
    // taking none since a write failed (until the end, when the meters have stopped).
    enum class FileUse { None, Taking, Failed };

    // Every event goes through here: the phase changes as publisherStep says, then its effect.
    void handle(PublisherEvent event, const Outage& outage = {});
    void announce();
    void tellOutage(const Outage& outage);
    void sendOffline();
    void end();
    // Whether the client has a connection to hand messages to.
    bool brokerThere() const;
    void checkDrained();

    void onPublished(int messageId);
    void onReceived(const QByteArray& topic, const QByteArray& payload);
    void enqueue(QueuedReading reading);
    // The readings the broker has taken in a row from the oldest: how far the file is taken.
    void settleTaken();
    void saveTaken();
    void fileFailed();
    // At the end, with the meters stopped: readings the file could not take go there now.
    void keepUnpublished();
    void sendWaiting();
    void sendAvailability();
    void sendDiscovery();

    PublishSettings settings_;
    MeterTopics topics_;
    MosquittoClient* client_;
    // Handed to libmosquitto (or dropped, which settles them too), oldest first.
    struct Handed {
        int messageId;
        qint64 fileEnd;
        bool taken;
    };

    PublisherPhase phase_ = PublisherPhase::Idle;
    // Runs out while draining, and again while the "offline" is on its way.
    QTimer* finishTimer_;
    QTimer* saveTimer_;
    PublishBacklog backlog_;
    std::shared_ptr<BacklogFile> file_;
    FileUse fileUse_ = FileUse::None;
    std::deque<Handed> handed_;
    qsizetype inFlight_ = 0;
    qint64 takenOffset_ = -1;
    std::optional<char> unit_;
    // The outage's reason last told; empty while connected.
    QString lastTold_;
    // The message ids of the round of discovery configs the broker has not yet taken, and whether
    // another round was asked for meanwhile: a flood of requests makes one more round, not many.
    std::vector<int> discoveryInFlight_;
    bool discoveryAgain_ = false;
    bool meterAvailable_ = true;
    // Meaningful while sending "offline".
    int offlineMessage_ = 0;
};
