#pragma once

#include "net/NetworkPlan.h"
#include "net/metrics/GaugeBoard.h"

#include <QObject>
#include <memory>
#include <vector>

struct ExportRow;
class BacklogFile;
class MeterPublisher;
class MetricsServer;

// A recording's meters on the network: each meter's publisher on the broker, and the gauges the
// metrics endpoint serves. It lives on the main thread, where each meter's thread sends it its
// news; nothing it receives reaches a meter.
class MeterNetwork final : public QObject {
    Q_OBJECT
public:
    MeterNetwork(QObject* parent, const NetworkPlan& plan,
                 const std::vector<NetworkedMeter>& meters);
    ~MeterNetwork() override;

    // Opens the metrics endpoint, when asked for.
    Result<> listen();
    // Every meter's id known: the labels set and the publishers connecting.
    Result<> start(const QStringList& meterIds);

    // Where the meter's thread appends each reading for the broker; nothing without one, or when
    // the meter's backlog is kept in memory only.
    std::shared_ptr<BacklogFile> backlogOf(int meter) const;
    // backlogEnd: where the reading's line ends in that file, -1 when it is not there.
    void readingTaken(int meter, const QDateTime& takenAt, const ExportRow& row, qint64 backlogEnd);
    void linkLost(int meter);
    void linkBack(int meter);
    // Publishes what is waiting and says goodbye to the broker; finished() comes then (at once
    // without a broker).
    void finish();

Q_SIGNALS:
    // "connected to the broker", "no broker (connection refused), readings queued", "broker
    // refused: …".
    void brokerState(int meter, const QString& state);
    void finished();

private:
    // The meter's publisher; nothing without a broker.
    MeterPublisher* publisherOf(int meter) const;
    // The gauges of the meter's backlog, as they are now.
    void showQueue(int meter);
    void publisherFinished();

    NetworkPlan plan_;
    std::vector<NetworkedMeter> meters_;
    // The order matters: the server, destroyed first, stops its thread before the board goes, for
    // its render function reads the board through this object.
    GaugeBoard board_;
    std::unique_ptr<MetricsServer> metrics_;
    std::vector<MeterPublisher*> publishers_;
    int publishing_ = 0;
    bool finishing_ = false;
};
