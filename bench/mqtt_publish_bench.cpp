// Figures for the MQTT side against a real mosquitto on loopback, with a mosquitto_sub taking
// every message at QoS 1 and stamping its arrival:
// - latency: readings handed over from a thread of their own, as a meter's thread hands over
//   each decoded frame, to their arrival at the subscriber; median, 99th percentile, largest;
// - backlog: the broker stopped while every meter takes the readings of an outage, started
//   again; the readings queued, the time until the subscriber has them all, and whether every
//   one arrived once and in order.
// Each reading's humidity carries its sequence number, so that arrival pairs with hand-over.
//
//   mqtt_publish_bench [meters, default 8] [outage in seconds of readings, default 600]
#include "LoopbackBroker.h"
#include "logic/recording/ExportRow.h"
#include "net/mqtt/MeterPublisher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace {

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// QTest::qWait would sleep between its rounds of events and put its own latency into the figures.
void wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

ExportRow numbered(qint64 sequence) {
    const QDateTime now = QDateTime::currentDateTime();
    return ExportRow{now.date(),
                     now.time(),
                     now.offsetFromUtc(),
                     {ExportValue::Status::Ok, QByteArray::number(sequence)},
                     {ExportValue::Status::Ok, "21.5"},
                     'C',
                     false,
                     std::nullopt,
                     TemperatureUnit::Meter};
}

// Hands readings over from its own thread, as a meter's session does.
class Feeder final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    void reading(int meter, qint64 sequence, double handedAt);
};

struct Arrival {
    int meter;
    qint64 sequence;
    double at;
};

class Subscriber {
public:
    explicit Subscriber(int port) {
        process_.start(QStringLiteral("mosquitto_sub"),
                       {QStringLiteral("-p"), QString::number(port), QStringLiteral("-c"),
                        QStringLiteral("-i"), QStringLiteral("bench"), QStringLiteral("-q"),
                        QStringLiteral("1"), QStringLiteral("-t"), QStringLiteral("bench/+/state"),
                        QStringLiteral("-F"), QStringLiteral("%U %t %p")});
        process_.waitForStarted();
    }
    ~Subscriber() {
        process_.kill();
        process_.waitForFinished();
    }
    // Everything that arrived so far.
    const std::vector<Arrival>& arrivals() {
        pending_ += process_.readAllStandardOutput();
        qsizetype end;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QByteArray line = pending_.left(end);
            pending_.remove(0, end + 1);
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() < 3)
                continue;
            const QJsonObject state = QJsonDocument::fromJson(parts[2]).object();
            arrivals_.push_back({parts[1].split('/').value(1).mid(1).toInt(),
                                 state[u"relative_humidity_percent"].toInteger(),
                                 parts[0].toDouble()});
        }
        return arrivals_;
    }

private:
    QProcess process_;
    QByteArray pending_;
    std::vector<Arrival> arrivals_;
};

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(share * values.size()))];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int meters = argc > 1 ? std::atoi(argv[1]) : 8;
    const int outage = argc > 2 ? std::atoi(argv[2]) : 600;
    LoopbackBroker broker;
    broker.start();
    Subscriber subscriber(broker.port());
    PublishSettings settings;
    settings.connection.broker.host = QStringLiteral("127.0.0.1");
    settings.connection.broker.port = broker.port();
    settings.prefix = QStringLiteral("bench");
    std::vector<MeterPublisher*> publishers;
    for (int meter = 0; meter < meters; ++meter) {
        publishers.push_back(
            new MeterPublisher(&application, settings, QStringLiteral("m%1").arg(meter)));
        if (const Result<> started = publishers.back()->start(); !started) {
            std::fprintf(stderr, "%s\n", qPrintable(started.failure().message));
            return 1;
        }
    }
    wait(1000);

    std::map<std::pair<int, qint64>, double> handedAt;
    QThread feederThread;
    Feeder feeder;
    feeder.moveToThread(&feederThread);
    QObject::connect(
        &feeder, &Feeder::reading, &application, [&](int meter, qint64 sequence, double at) {
            handedAt[{meter, sequence}] = at;
            publishers[static_cast<size_t>(meter)]->publishReading(numbered(sequence), -1);
        });
    feederThread.start();
    std::vector<qint64> sequences(static_cast<size_t>(meters), 0);
    // Latency: each meter's reading once a second, the meters spread over the second, 30 s.
    const int latencyReadings = meters * 30;
    for (int reading = 0; reading < latencyReadings; ++reading) {
        const int meter = reading % meters;
        const qint64 sequence = ++sequences[static_cast<size_t>(meter)];
        QMetaObject::invokeMethod(
            &feeder,
            [&feeder, meter, sequence] { Q_EMIT feeder.reading(meter, sequence, wallSeconds()); },
            Qt::QueuedConnection);
        wait(1000 / meters);
    }
    wait(1000);
    std::vector<double> latencies;
    for (const Arrival& arrival : subscriber.arrivals())
        latencies.push_back(arrival.at - handedAt[{arrival.meter, arrival.sequence}]);
    std::printf(
        "latency, hand-over to subscriber, %zu of %d readings of %d meters: median %.2f ms, "
        "99th percentile %.2f ms, largest %.2f ms\n",
        latencies.size(), latencyReadings, meters, 1000 * percentile(latencies, 0.5),
        1000 * percentile(latencies, 0.99), 1000 * percentile(latencies, 1.0));

    // Backlog: the readings of the outage queue while the broker is away.
    broker.stop();
    wait(500);
    for (int second = 0; second < outage; ++second)
        for (int meter = 0; meter < meters; ++meter)
            publishers[static_cast<size_t>(meter)]->publishReading(
                numbered(++sequences[static_cast<size_t>(meter)]), -1);
    qsizetype queued = 0;
    for (MeterPublisher* publisher : publishers)
        queued += publisher->queued();
    const auto back = std::chrono::steady_clock::now();
    broker.start();
    const size_t expected = static_cast<size_t>(latencyReadings + meters * outage);
    if (!QTest::qWaitFor([&] { return subscriber.arrivals().size() >= expected; }, 600000))
        std::printf("backlog: not all readings arrived within 10 minutes\n");
    const double drain =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - back).count();
    std::vector<qint64> last(static_cast<size_t>(meters), 0);
    size_t outOfOrder = 0;
    for (const Arrival& arrival : subscriber.arrivals()) {
        qint64& previous = last[static_cast<size_t>(arrival.meter)];
        if (arrival.sequence != previous + 1 && ++outOfOrder <= 5)
            std::printf("meter %d: reading %lld after %lld\n", arrival.meter,
                        static_cast<long long>(arrival.sequence), static_cast<long long>(previous));
        previous = arrival.sequence;
    }
    std::printf("backlog: %lld readings queued (%d meters x %d s), drained in %.2f s after the "
                "broker came back; %zu of %zu arrived, %zu out of order or twice\n",
                static_cast<long long>(queued), meters, outage, drain, subscriber.arrivals().size(),
                expected, outOfOrder);
    feederThread.quit();
    feederThread.wait();
    return subscriber.arrivals().size() == expected && outOfOrder == 0 ? 0 : 1;
}

#include "mqtt_publish_bench.moc"
