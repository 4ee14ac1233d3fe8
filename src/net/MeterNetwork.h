#pragma once

#include "net/NetworkPlan.h"
#include "net/live/EventHub.h"
#include "net/live/HistoryBoard.h"
#include "net/live/MeterStateBoard.h"
#include "net/metrics/GaugeBoard.h"

#include <QObject>
#include <atomic>
#include <memory>
#include <vector>

struct ExportRow;
class BacklogFile;
class MeterPublisher;
class QThread;
class QTimer;
class HttpServer;

// A recording's meters on the network: each meter's publisher on the broker, and the gauges and
// the live page the HTTP listener serves. It lives on the main thread, where the meters' thread
// sends it its news; nothing it receives reaches a meter.
class MeterNetwork final : public QObject {
    Q_OBJECT
public:
    MeterNetwork(QObject* parent, const NetworkPlan& plan,
                 const std::vector<NetworkedMeter>& meters);
    ~MeterNetwork() override;

    // Opens the HTTP listener (metrics and live page), when asked for.
    Result<> listen();
    // Every meter's id known: the labels set and the publishers connecting.
    Result<> start(const QStringList& meterIds);

    // Where the meter's thread appends each reading for the broker; nothing without one, or when
    // the meter's backlog is kept in memory only.
    std::shared_ptr<BacklogFile> backlogOf(int meter) const;
    // backlogEnd: where the reading's line ends in that file, -1 when it is not there.
    void readingTaken(int meter, const QDateTime& takenAt, const ExportRow& row, qint64 backlogEnd);
    // The meter never answered yet.
    void noAnswer(int meter);
    // portGone: the port itself went away, rather than the meter falling silent on it.
    void linkLost(int meter, bool portGone);
    void linkBack(int meter);
    // The meter stopped: its file could not take a reading.
    void failed(int meter, const QString& message);
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
    // Fills each meter's history from its files.
    void refillHistories();
    // Changes the meter's live state and tells the open pages.
    void changeState(int meter, const std::function<void(MeterState&)>& change);
    // The event to the open pages with the others of its moment, none when no page is open.
    void tellPages(const QByteArray& name, const QByteArray& data);
    void sendToPages();

    NetworkPlan plan_;
    std::vector<NetworkedMeter> meters_;
    // The order matters: the server, destroyed first, stops its thread before the boards and the
    // hub go, for its routes read them.
    GaugeBoard board_;
    MeterStateBoard states_;
    HistoryBoard histories_;
    EventHub events_;
    // Events gathered for one write to each page: the meters' polls come at one moment.
    QByteArray pageEvents_;
    QTimer* pageBatch_;
    QThread* refill_ = nullptr;
    std::atomic_bool stopRefill_{false};
    std::unique_ptr<HttpServer> server_;
    std::vector<MeterPublisher*> publishers_;
    int publishing_ = 0;
    bool finishing_ = false;
};
