#include "LoggerProcess.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A loopback port nobody listens on now.
int freePort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

// A real mosquitto on 127.0.0.1 that keeps its sessions across a restart, as a broker in
// service does.
class Broker {
public:
    Broker() : port_(freePort()) {
        QFile config(dir_.filePath(QStringLiteral("mosquitto.conf")));
        if (config.open(QIODevice::WriteOnly))
            config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n"
                                        "persistence true\npersistence_location %2/\n")
                             .arg(port_)
                             .arg(dir_.path())
                             .toUtf8());
    }
    ~Broker() { stop(); }

    bool start() {
        process_.start(QStringLiteral("mosquitto"),
                       {QStringLiteral("-c"), dir_.filePath(QStringLiteral("mosquitto.conf"))});
        return process_.waitForStarted(5000) &&
               QTest::qWaitFor([this] { return !retained(QStringLiteral("$SYS/#"), 1).isEmpty(); },
                               5000);
    }
    void stop() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(port_); }
    QStringList at() const {
        return {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                QString::number(port_)};
    }
    // "topic payload" of what the broker holds retained under the filter now.
    QStringList retained(const QString& filter, int seconds = 2) const {
        QProcess subscriber;
        subscriber.start(QStringLiteral("mosquitto_sub"),
                         at() + QStringList{QStringLiteral("--retained-only"), QStringLiteral("-v"),
                                            QStringLiteral("-W"), QString::number(seconds),
                                            QStringLiteral("-t"), filter});
        subscriber.waitForFinished(1000 * seconds + 3000);
        return QString::fromUtf8(subscriber.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    int port_;
    QProcess process_;
};

// A subscriber with a session the broker keeps while either of them is away, taking every
// message at QoS 1.
class Subscriber {
public:
    Subscriber(const Broker& broker, const QString& filter) {
        process_.start(QStringLiteral("mosquitto_sub"),
                       broker.at() + QStringList{QStringLiteral("-c"), QStringLiteral("-i"),
                                                 QStringLiteral("network-test"),
                                                 QStringLiteral("-q"), QStringLiteral("1"),
                                                 QStringLiteral("-t"), filter});
        process_.waitForStarted(5000);
    }
    ~Subscriber() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    QStringList payloads() {
        received_ += QString::fromUtf8(process_.readAllStandardOutput());
        return received_.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QProcess process_;
    QString received_;
};

// The body of GET /metrics from 127.0.0.1:port.
QString scrape(int port) {
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<quint16>(port));
    QByteArray answer;
    if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const QByteArray request("GET /metrics HTTP/1.0\r\n\r\n");
        if (::write(client, request.constData(), request.size()) == request.size()) {
            char buffer[4096];
            ssize_t got;
            while ((got = ::read(client, buffer, sizeof buffer)) > 0)
                answer.append(buffer, got);
        }
    }
    ::close(client);
    return QString::fromUtf8(answer.mid(answer.indexOf("\r\n\r\n") + 4));
}

QStringList csvTimes(const QString& path) {
    QStringList times;
    for (const QByteArray& line : readFile(path).split('\n').mid(1))
        if (!line.isEmpty())
            times << QString::fromLatin1(line.left(line.indexOf(',')));
    return times;
}

QStringList timesOf(const QStringList& payloads) {
    QStringList times;
    for (const QString& payload : payloads)
        times << QJsonDocument::fromJson(payload.toUtf8()).object()[u"time"].toString();
    return times;
}

} // namespace

// meter-logger record publishing to a real broker: what the meter sends and the file holds is
// what a subscriber gets, once each and in order, whether the broker was there all along or not.
class LoggerNetworkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The broker comes only after the recording started, goes away, comes back; meanwhile the
    // meter's unit changes.
    void readingsCrossABrokerOutageInOrder() {
        SimProcess sim;
        QVERIFY(sim.start({"drift off", "rh 40", "temp 21.5"}));
        QProcess setId;
        setId.start(qEnvironmentVariable("METER_LOGGER"),
                    {QStringLiteral("set-id"), QStringLiteral("--port"), sim.devicePath(),
                     QStringLiteral("4321")});
        QVERIFY(setId.waitForFinished(10000) && setId.exitCode() == 0);
        Broker broker;
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("meter.csv"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), csv,
                       QStringLiteral("--mqtt"), broker.url(), QStringLiteral("--ha-discovery")});
        const QString name = QFileInfo(sim.devicePath()).fileName();
        QVERIFY(QTest::qWaitFor(
            [&] { return logger.says(name + QStringLiteral(": no broker, readings queued")); },
            10000));
        QTest::qWait(2000);
        QVERIFY(broker.start());
        Subscriber subscriber(broker, QStringLiteral("meter/4321/state"));
        QVERIFY2(QTest::qWaitFor([&] { return subscriber.payloads().size() >= 4; }, 10000),
                 qPrintable(logger.errors));
        broker.stop();
        sim.control(QStringLiteral("unit F"));
        QTest::qWait(3000);
        QVERIFY(broker.start());
        QTest::qWait(3000);
        logger.process.terminate();
        QCOMPARE(logger.exitStatus(), 0);

        const QStringList written = csvTimes(csv);
        QVERIFY(
            QTest::qWaitFor([&] { return subscriber.payloads().size() >= written.size(); }, 5000));
        QCOMPARE(timesOf(subscriber.payloads()), written);
        QVERIFY(subscriber.payloads().first().contains(
            QStringLiteral("\"temperature\":21.5,\"temperature_unit\":\"C\"")));
        QVERIFY(subscriber.payloads().last().contains(
            QStringLiteral("\"temperature\":70.7,\"temperature_unit\":\"F\"")));
        QCOMPARE(broker.retained(QStringLiteral("meter/4321/availability")),
                 QStringList{QStringLiteral("meter/4321/availability offline")});
        const QStringList configs = broker.retained(QStringLiteral("homeassistant/#"));
        QCOMPARE(configs.size(), 2);
        QVERIFY(configs.filter(QStringLiteral("homeassistant/sensor/meter_4321/temperature/config"))
                    .first()
                    .contains(QStringLiteral("\"unit_of_measurement\":\"°F\"")));
    }

    // A logger that dies leaves its meters offline through the last will.
    void aKilledLoggerGoesOffline() {
        SimProcess sim;
        QVERIFY(sim.start());
        Broker broker;
        QVERIFY(broker.start());
        QTemporaryDir dir;
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"),
                       dir.filePath(QStringLiteral("meter.csv")), QStringLiteral("--mqtt"),
                       broker.url(), QStringLiteral("--id"), QStringLiteral("hall")});
        const QString availability = QStringLiteral("meter/hall/availability");
        QVERIFY(QTest::qWaitFor(
            [&] {
                return broker.retained(availability, 1) ==
                       QStringList{availability + QStringLiteral(" online")};
            },
            10000));
        logger.process.kill();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return broker.retained(availability, 1) ==
                       QStringList{availability + QStringLiteral(" offline")};
            },
            5000));
    }

    // The endpoint shows what the meter sends, in Celsius whatever the meter shows, and no
    // number for a reading the meter could not give.
    void metricsShowWhatTheMeterSends() {
        SimProcess sim;
        QVERIFY(sim.start({"drift off", "rh 40", "temp 21.5"}));
        const int port = freePort();
        QTemporaryDir dir;
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"),
                       dir.filePath(QStringLiteral("meter.csv")), QStringLiteral("--metrics"),
                       QString::number(port), QStringLiteral("--id"), QStringLiteral("hall")});
        const QString labels = QStringLiteral("{meter=\"hall\",port=\"%1\"}").arg(sim.devicePath());
        const auto shows = [&](const QString& metric, const QString& value) {
            return QTest::qWaitFor(
                [&] { return scrape(port).split(u'\n').contains(metric + labels + u' ' + value); },
                10000);
        };
        QVERIFY2(shows(QStringLiteral("meter_temperature_celsius"), QStringLiteral("21.5")),
                 qPrintable(scrape(port) + logger.errors));
        QVERIFY(shows(QStringLiteral("meter_relative_humidity_ratio"), QStringLiteral("0.4")));
        QVERIFY(shows(QStringLiteral("meter_up"), QStringLiteral("1")));
        sim.control(QStringLiteral("unit F"));
        sim.control(QStringLiteral("temp 30"));
        QVERIFY2(shows(QStringLiteral("meter_temperature_celsius"), QStringLiteral("30")),
                 qPrintable(scrape(port)));
        sim.control(QStringLiteral("overload on"));
        const QString overloaded =
            QStringLiteral("meter_overload{meter=\"hall\",port=\"%1\",quantity=\"temperature\"} 1");
        QVERIFY(QTest::qWaitFor(
            [&] { return scrape(port).split(u'\n').contains(overloaded.arg(sim.devicePath())); },
            10000));
        QVERIFY(!scrape(port).contains(QStringLiteral("meter_temperature_celsius{")));
    }
};

QTEST_GUILESS_MAIN(LoggerNetworkTest)
#include "logger_network_test.moc"
