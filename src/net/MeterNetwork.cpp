#include "net/MeterNetwork.h"

#include "logic/live/HistoryRefill.h"
#include "logic/metrics/MetricsText.h"
#include "logic/recording/DatedReadingFile.h"
#include "logic/recording/ExportRow.h"
#include "net/http/HttpServer.h"
#include "net/live/LivePage.h"
#include "net/live/RecordedPaths.h"
#include "net/mqtt/MeterPublisher.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace {

std::vector<MeterGauges> unnamedMeters(const std::vector<NetworkedMeter>& meters) {
    std::vector<MeterGauges> gauges(meters.size());
    for (size_t meter = 0; meter < meters.size(); ++meter)
        gauges[meter].port = meters[meter].port;
    return gauges;
}

// The ids given on the command line are known before any meter answers: a download asked for
// at once is named by its meter's.
std::vector<MeterState> startingMeters(const std::vector<NetworkedMeter>& meters,
                                       const QStringList& ids) {
    std::vector<MeterState> states(meters.size());
    const QDateTime now = QDateTime::currentDateTime();
    for (size_t meter = 0; meter < meters.size(); ++meter) {
        states[meter].meter = static_cast<int>(meter);
        states[meter].id = ids.value(static_cast<qsizetype>(meter));
        states[meter].port = meters[meter].port;
        states[meter].file = filePathAt(meters[meter].filePath, now);
    }
    return states;
}

std::optional<double> number(const ExportValue& value) {
    if (value.status != ExportValue::Status::Ok)
        return std::nullopt;
    return value.decimal.toDouble();
}

bool outOfRange(const ExportValue& value) {
    return value.status == ExportValue::Status::Overload ||
           value.status == ExportValue::Status::Underload;
}

void takeReading(MeterGauges& gauges, const QDateTime& takenAt, const ExportRow& row) {
    gauges.humidityRatio.reset();
    if (const std::optional<double> percent = number(row.humidity))
        gauges.humidityRatio = humidityRatioFromPercent(*percent);
    gauges.temperatureCelsius = number(row.temperature);
    // To the micro-degree: the meter's tenth of a degree Fahrenheit is kept whole, and the
    // arithmetic's last binary digits do not show as 21.500000000000004.
    if (gauges.temperatureCelsius && row.unit == 'F')
        gauges.temperatureCelsius =
            std::round((*gauges.temperatureCelsius - 32) * 5 / 9 * 1e6) / 1e6;
    ExportRow inCelsius = row;
    inCelsius.writtenUnit = TemperatureUnit::Celsius;
    gauges.dewPointCelsius = number(writtenDewPoint(inCelsius));
    gauges.humidityOverload = outOfRange(row.humidity);
    gauges.temperatureOverload = outOfRange(row.temperature);
    gauges.batteryLow = row.batteryLow;
    gauges.up = true;
    ++gauges.readings;
    gauges.lastReadingSeconds = static_cast<double>(takenAt.toMSecsSinceEpoch()) / 1000;
}

} // namespace

MeterNetwork::MeterNetwork(QObject* parent, const NetworkPlan& plan,
                           const std::vector<NetworkedMeter>& meters)
    : QObject(parent), plan_(plan), meters_(meters), board_(unnamedMeters(meters)),
      states_(startingMeters(meters, plan.meterIds)), histories_(meters.size()),
      pageBatch_(new QTimer(this)) {
    // A page then wakes, and the server writes to it, once a second for all the meters, not once
    // for each; a tenth of a second late is nothing to a person reading it.
    pageBatch_->setSingleShot(true);
    pageBatch_->setInterval(100);
    connect(pageBatch_, &QTimer::timeout, this, &MeterNetwork::sendToPages);
}

MeterNetwork::~MeterNetwork() {
    // The refill reads into the boards: it ends before they go.
    stopRefill_ = true;
    if (refill_)
        refill_->wait();
}

Result<> MeterNetwork::listen() {
    if (!plan_.metricsAddress)
        return {};
    RouteTable routes;
    // Rendered on the server's thread from a copy of the gauges: a scrape never waits on a meter
    // and a meter never waits on a scrape.
    routes.add(QByteArrayLiteral("/metrics"), [this](const HttpRequest&) {
        return HttpAnswer{
            200,
            QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8"),
            metricsText(board_.snapshot(),
                        static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000),
            {},
            nullptr};
    });
    addLivePage(routes, states_, events_);
    std::vector<RecordedFiles> files;
    for (const NetworkedMeter& meter : meters_)
        files.push_back({meter.filePath, meter.format, meter.dewPoint});
    addRecordedPaths(routes, histories_, states_, std::move(files));
    // So that a restart does not blank the charts.
    refillHistories();
    server_ = std::make_unique<HttpServer>(routes, [this] { events_.close(); });
    return server_->start(*plan_.metricsAddress);
}

Result<> MeterNetwork::start(const QStringList& meterIds) {
    for (qsizetype meter = 0; meter < meterIds.size(); ++meter) {
        board_.update(static_cast<size_t>(meter),
                      [&id = meterIds[meter]](MeterGauges& gauges) { gauges.meter = id; });
        changeState(static_cast<int>(meter),
                    [&id = meterIds[meter]](MeterState& state) { state.id = id; });
    }
    if (!plan_.mqtt)
        return {};
    for (qsizetype meter = 0; meter < meterIds.size(); ++meter) {
        PublishSettings settings = *plan_.mqtt;
        settings.backlogFile = QFileInfo(meters_[static_cast<size_t>(meter)].filePath)
                                   .absoluteDir()
                                   .filePath(meterIds[meter] + QStringLiteral(".mqtt-backlog"));
        auto* publisher = new MeterPublisher(this, settings, meterIds[meter]);
        const int index = static_cast<int>(meter);
        connect(publisher, &MeterPublisher::backlogFileFailed, this,
                [this, index, path = settings.backlogFile](const QString& reason) {
                    Q_EMIT brokerState(index, QStringLiteral("%1: %2; the MQTT backlog is kept in "
                                                             "memory only")
                                                  .arg(path, reason));
                });
        connect(publisher, &MeterPublisher::backlogLinesSkipped, this,
                [this, index, path = settings.backlogFile](quint64 lines) {
                    Q_EMIT brokerState(
                        index, lines == 1 ? QStringLiteral("%1: left out 1 line that is no "
                                                           "reading of this program")
                                                .arg(path)
                                          : QStringLiteral("%1: left out %2 lines that are no "
                                                           "reading of this program")
                                                .arg(path)
                                                .arg(lines));
                });
        connect(
            publisher, &MeterPublisher::readingsGivenUp, this,
            [this, index, path = settings.backlogFile](qsizetype readings, const QString& reason) {
                Q_EMIT brokerState(
                    index, QStringLiteral("%1: cannot keep %2 not yet published "
                                          "for the next run (%3): given up")
                               .arg(path,
                                    readings == 1 ? QStringLiteral("1 reading")
                                                  : QStringLiteral("%1 readings").arg(readings),
                                    reason));
            });
        connect(publisher, &MeterPublisher::connected, this, [this, index] {
            Q_EMIT brokerState(index, QStringLiteral("connected to the broker"));
        });
        connect(publisher, &MeterPublisher::disconnected, this,
                [this, index](const QString& reason) {
                    Q_EMIT brokerState(
                        index, QStringLiteral("no broker (%1), readings queued").arg(reason));
                });
        connect(publisher, &MeterPublisher::refused, this, [this, index](const QString& reason) {
            Q_EMIT brokerState(index, QStringLiteral("broker refused: %1").arg(reason));
        });
        connect(publisher, &MeterPublisher::failed, this,
                [this, index](const QString& reason) { Q_EMIT brokerState(index, reason); });
        connect(publisher, &MeterPublisher::queueChanged, this,
                [this, index] { showQueue(index); });
        connect(publisher, &MeterPublisher::finished, this, &MeterNetwork::publisherFinished);
        publishers_.push_back(publisher);
        if (Result<> started = publisher->start(); !started)
            return started;
        showQueue(index);
    }
    return {};
}

void MeterNetwork::showQueue(int meter) {
    const MeterPublisher* publisher = publisherOf(meter);
    board_.update(static_cast<size_t>(meter), [publisher](MeterGauges& gauges) {
        gauges.mqttQueued = static_cast<quint64>(publisher->queued());
        gauges.mqttDropped = publisher->dropped();
    });
}

MeterPublisher* MeterNetwork::publisherOf(int meter) const {
    const auto index = static_cast<size_t>(meter);
    return index < publishers_.size() ? publishers_[index] : nullptr;
}

std::shared_ptr<BacklogFile> MeterNetwork::backlogOf(int meter) const {
    const MeterPublisher* publisher = publisherOf(meter);
    return publisher ? publisher->backlogFile() : nullptr;
}

void MeterNetwork::readingTaken(int meter, const QDateTime& takenAt, const ExportRow& row,
                                qint64 backlogEnd) {
    MeterPublisher* publisher = publisherOf(meter);
    if (publisher)
        publisher->publishReading(row, backlogEnd);
    board_.update(static_cast<size_t>(meter),
                  [&](MeterGauges& gauges) { takeReading(gauges, takenAt, row); });
    if (publisher)
        showQueue(meter);
    changeState(meter, [&](MeterState& state) {
        takeReading(state, takenAt, row);
        state.file = filePathAt(meters_[static_cast<size_t>(meter)].filePath, takenAt);
    });
    if (!server_)
        return;
    if (const std::optional<HistoryPoint> completed =
            histories_.take(static_cast<size_t>(meter),
                            historyPoint(takenAt.toMSecsSinceEpoch(), row), writtenUnit(row)))
        tellPages(QByteArrayLiteral("point"), historyPointJson(meter, *completed));
}

void MeterNetwork::refillHistories() {
    std::vector<std::pair<QString, FileFormat>> files;
    for (const NetworkedMeter& meter : meters_)
        files.emplace_back(meter.filePath, meter.format);
    // Off this thread: a day of thirty-two meters is many megabytes to read, and the meters must
    // not wait for it to start recording. The day goes under the readings taken meanwhile.
    refill_ = QThread::create([this, files, now = QDateTime::currentMSecsSinceEpoch()] {
        for (size_t meter = 0; meter < files.size(); ++meter) {
            MinuteHistory day;
            if (!refillHistory(day, files[meter].first, files[meter].second, now, stopRefill_))
                return;
            histories_.fill(meter, day);
        }
    });
    refill_->setParent(this);
    refill_->start(QThread::LowPriority);
}

void MeterNetwork::noAnswer(int meter) {
    changeState(meter, [](MeterState& state) { state.standing = MeterState::Standing::NoReading; });
}

void MeterNetwork::failed(int meter, const QString& message) {
    changeState(meter, [&message](MeterState& state) {
        state.standing = MeterState::Standing::Failed;
        state.message = message;
    });
}

void MeterNetwork::changeState(int meter, const std::function<void(MeterState&)>& change) {
    const MeterState state = states_.update(static_cast<size_t>(meter), change);
    if (events_.clients() > 0)
        tellPages(QByteArrayLiteral("meter"),
                  QJsonDocument(meterStateJson(state)).toJson(QJsonDocument::Compact));
}

void MeterNetwork::tellPages(const QByteArray& name, const QByteArray& data) {
    if (events_.clients() == 0)
        return;
    pageEvents_ += serverSentEvent(name, data);
    if (!pageBatch_->isActive())
        pageBatch_->start();
}

void MeterNetwork::sendToPages() {
    events_.publish(std::exchange(pageEvents_, QByteArray()));
}

void MeterNetwork::linkLost(int meter, bool portGone) {
    changeState(meter, [portGone](MeterState& state) {
        if (state.standing != MeterState::Standing::Failed)
            state.standing =
                portGone ? MeterState::Standing::PortGone : MeterState::Standing::Reconnecting;
    });
    board_.update(static_cast<size_t>(meter), [](MeterGauges& gauges) { gauges.up = false; });
    if (MeterPublisher* publisher = publisherOf(meter))
        publisher->setMeterAvailable(false);
}

void MeterNetwork::linkBack(int meter) {
    board_.update(static_cast<size_t>(meter), [](MeterGauges& gauges) {
        gauges.up = true;
        ++gauges.reconnects;
    });
    // The next reading tells whether it is in range.
    changeState(meter, [](MeterState& state) {
        if (state.standing != MeterState::Standing::Failed)
            state.standing = MeterState::Standing::Recording;
    });
    if (MeterPublisher* publisher = publisherOf(meter))
        publisher->setMeterAvailable(true);
}

void MeterNetwork::finish() {
    if (finishing_)
        return;
    finishing_ = true;
    stopRefill_ = true;
    publishing_ = static_cast<int>(publishers_.size());
    if (publishing_ == 0) {
        Q_EMIT finished();
        return;
    }
    for (MeterPublisher* publisher : publishers_)
        publisher->finish();
}

void MeterNetwork::publisherFinished() {
    if (--publishing_ == 0)
        Q_EMIT finished();
}
