#include "LoggerProcess.h"
#include "LoopbackBroker.h"
#include "MetricsScrape.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A subscriber with a session the broker keeps while either of them is away, taking every
// message at QoS 1.
class Subscriber {
public:
    // Once the broker keeps its session: a message on its topic has reached it.
    Subscriber(const LoopbackBroker& broker, const QString& topic) {
        process_.start(QStringLiteral("mosquitto_sub"),
                       broker.at() + QStringList{QStringLiteral("-c"), QStringLiteral("-i"),
                                                 QStringLiteral("network-test"),
                                                 QStringLiteral("-q"), QStringLiteral("1"),
                                                 QStringLiteral("-t"), topic});
        subscribed_ = process_.waitForStarted(5000) && QTest::qWaitFor(
                                                           [&] {
                                                               broker.publish(topic, Probe);
                                                               return read().contains(Probe);
                                                           },
                                                           10000);
    }
    ~Subscriber() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool subscribed() const { return subscribed_; }
    // What came, but the probes.
    QStringList payloads() {
        QStringList lines = read();
        lines.removeAll(Probe);
        return lines;
    }

private:
    static constexpr QLatin1StringView Probe{"probe"};

    QStringList read() {
        received_ += QString::fromUtf8(process_.readAllStandardOutput());
        return received_.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QProcess process_;
    QString received_;
    bool subscribed_ = false;
};

// The times of the file's whole lines: one being written has no end yet.
QStringList csvTimes(const QString& path) {
    QByteArrayList lines = readFile(path).split('\n');
    lines.removeLast();
    QStringList times;
    for (const QByteArray& line : lines.mid(1))
        times << QString::fromLatin1(line.left(line.indexOf(',')));
    return times;
}

// The times of the readings a backlog file holds after its header.
QStringList backlogTimes(const QString& path) {
    QStringList times;
    for (const QByteArray& line : readFile(path).split('\n').mid(1))
        if (!line.isEmpty())
            times << QJsonDocument::fromJson(line).object()[u"time"].toString();
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
        // The subscriber's session is in place, kept by the broker while both are away.
        LoopbackBroker broker;
        QVERIFY(broker.start());
        const QString state = QStringLiteral("meter/4321/state");
        Subscriber subscriber(broker, state);
        QVERIFY(subscriber.subscribed());
        broker.stop();
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("meter.csv"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), csv,
                       QStringLiteral("--mqtt"), broker.url(), QStringLiteral("--ha-discovery")});
        const QString name = QFileInfo(sim.devicePath()).fileName();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return logger.says(
                    name + QStringLiteral(": no broker (connection refused), readings queued"));
            },
            10000));
        QTest::qWait(2000);
        QVERIFY(broker.start());
        const auto readings = [&subscriber] { return subscriber.payloads(); };
        QVERIFY2(QTest::qWaitFor([&] { return readings().size() >= 4; }, 10000),
                 qPrintable(logger.errors));
        broker.stop();
        sim.control(QStringLiteral("unit F"));
        QTest::qWait(3000);
        QVERIFY(broker.start());
        QTest::qWait(3000);
        logger.process.terminate();
        QCOMPARE(logger.exitStatus(), 0);

        const QStringList written = csvTimes(csv);
        QVERIFY(QTest::qWaitFor([&] { return readings().size() >= written.size(); }, 5000));
        // QoS 1 is at least once: a reading in flight as the broker stops may come once more
        // after its return, right after its first copy. Once, not more.
        QStringList received = readings();
        received.erase(std::unique(received.begin(), received.end()), received.end());
        QVERIFY(readings().size() - received.size() <= 1);
        QCOMPARE(timesOf(received), written);
        QVERIFY(readings().first().contains(
            QStringLiteral("\"temperature\":21.5,\"temperature_unit\":\"C\"")));
        QVERIFY(readings().last().contains(
            QStringLiteral("\"temperature\":70.7,\"temperature_unit\":\"F\"")));
        QCOMPARE(broker.retained(QStringLiteral("meter/4321/availability")),
                 QStringList{QStringLiteral("meter/4321/availability offline")});
        const QStringList configs = broker.retained(QStringLiteral("homeassistant/#"));
        QCOMPARE(configs.size(), 4);
        QVERIFY(configs.filter(QStringLiteral("homeassistant/sensor/meter_4321/temperature/config"))
                    .first()
                    .contains(QStringLiteral("\"unit_of_measurement\":\"°F\"")));
    }

    // What a killed logger could not publish is kept beside its file and goes first when it
    // records again, whatever the broker got meanwhile.
    void aRestartSendsWhatTheLastRunCouldNot() {
        SimProcess sim;
        QVERIFY(sim.start());
        LoopbackBroker broker;
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("meter.csv"));
        const QStringList arguments{QStringLiteral("--port"), sim.devicePath(),
                                    QStringLiteral("-o"),     csv,
                                    QStringLiteral("--mqtt"), broker.url(),
                                    QStringLiteral("--id"),   QStringLiteral("hall")};
        {
            Logger killed(arguments);
            QVERIFY(QTest::qWaitFor([&] { return csvTimes(csv).size() >= 3; }, 10000));
            killed.process.kill();
            QVERIFY(killed.process.waitForFinished(5000));
        }
        const QStringList unpublished = csvTimes(csv);
        QVERIFY(broker.start());
        Subscriber subscriber(broker, QStringLiteral("meter/hall/state"));
        QVERIFY(subscriber.subscribed());
        Logger logger(arguments);
        QVERIFY(QTest::qWaitFor(
            [&] { return subscriber.payloads().size() >= unpublished.size() + 2; }, 10000));
        logger.process.terminate();
        QCOMPARE(logger.exitStatus(), 0);
        // The reading being taken as the kill came may be in the backlog and not yet in the
        // file: that one may come besides, right after the killed run's last line.
        const QStringList expected = csvTimes(csv);
        QVERIFY(
            QTest::qWaitFor([&] { return subscriber.payloads().size() >= expected.size(); }, 5000));
        QStringList received = timesOf(subscriber.payloads());
        if (received.size() == expected.size() + 1 &&
            received[unpublished.size()] > unpublished.last())
            received.removeAt(unpublished.size());
        QCOMPARE(received, expected);
    }

    // Killed the instant a reading lands in its file, the logger has it in the backlog already:
    // the next run publishes every reading the file holds.
    void aKillAsALineLandsLeavesItInTheBacklog() {
        SimProcess sim;
        QVERIFY(sim.start());
        // Never started: every reading waits in the backlog.
        LoopbackBroker broker;
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("meter.csv"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), csv,
                       QStringLiteral("--mqtt"), broker.url(), QStringLiteral("--id"),
                       QStringLiteral("hall")});
        QVERIFY(QTest::qWaitFor([&] { return csvTimes(csv).size() >= 2; }, 10000));
        const QByteArray path = QFile::encodeName(csv);
        struct stat file {};
        QVERIFY(::stat(path.constData(), &file) == 0);
        const off_t size = file.st_size;
        QElapsedTimer waited;
        waited.start();
        // Asked without a pause, so that the kill comes before the logger's next step.
        while (::stat(path.constData(), &file) == 0 && file.st_size == size &&
               waited.elapsed() < 5000) {
        }
        ::kill(static_cast<pid_t>(logger.process.processId()), SIGKILL);
        QVERIFY(logger.process.waitForFinished(5000));
        QVERIFY(file.st_size > size);
        const QString backlog = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        QCOMPARE(backlogTimes(backlog), csvTimes(csv));

        // A line that is none of its readings is said, and left out.
        QFile junk(backlog);
        QVERIFY(junk.open(QIODevice::Append) && junk.write("hello world\n") == 12);
        junk.close();
        Logger next({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), csv,
                     QStringLiteral("--mqtt"), broker.url(), QStringLiteral("--id"),
                     QStringLiteral("hall")});
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         return next.says(
                             QFileInfo(sim.devicePath()).fileName() + QStringLiteral(": ") +
                             backlog +
                             QStringLiteral(": left out 1 line that is no reading of this "
                                            "program"));
                     },
                     10000),
                 qPrintable(next.errors));
    }

    // After a clean run with the broker there the backlog file is empty, and the next run sends
    // its own readings alone.
    void aRestartAfterACleanRunSendsNothingTwice() {
        SimProcess sim;
        // Readings of one length: the file starts over and its lines end where earlier ones did.
        QVERIFY(sim.start({"drift off"}));
        LoopbackBroker broker;
        QVERIFY(broker.start());
        Subscriber subscriber(broker, QStringLiteral("meter/hall/state"));
        QVERIFY(subscriber.subscribed());
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("meter.csv"));
        for (int run = 0; run < 2; ++run) {
            Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), csv,
                           QStringLiteral("--mqtt"), broker.url(), QStringLiteral("--id"),
                           QStringLiteral("hall"), QStringLiteral("--samples"),
                           QStringLiteral("3")});
            QCOMPARE(logger.exitStatus(), 0);
            QCOMPARE(readFile(dir.filePath(QStringLiteral("hall.mqtt-backlog"))),
                     QByteArray("taken 0000000000000000026\n"));
        }
        const QStringList written = csvTimes(csv);
        QCOMPARE(written.size(), 6);
        QVERIFY(QTest::qWaitFor([&] { return subscriber.payloads().size() >= 6; }, 5000));
        QCOMPARE(timesOf(subscriber.payloads()), written);
    }

    // Two meters of one ID code, each with its logger in one folder: the second is refused
    // rather than publish as the first.
    void aSecondLoggerOfTheSameMeterIdIsRefused() {
        SimProcess first;
        SimProcess second;
        QVERIFY(first.start() && second.start());
        LoopbackBroker broker;
        QTemporaryDir dir;
        const auto record = [&](const SimProcess& sim, const char* file) {
            return QStringList{QStringLiteral("--port"), sim.devicePath(),
                               QStringLiteral("-o"),     dir.filePath(QLatin1String(file)),
                               QStringLiteral("--mqtt"), broker.url()};
        };
        Logger holder(record(first, "first.csv"));
        QVERIFY(QTest::qWaitFor(
            [&] {
                return holder.says(
                    QFileInfo(first.devicePath()).fileName() +
                    QStringLiteral(": no broker (connection refused), readings queued"));
            },
            10000));
        Logger refused(record(second, "second.csv"));
        QCOMPARE(refused.exitStatus(), 69);
        QVERIFY2(refused.says(QStringLiteral("meter-logger record: another meter-logger publishes "
                                             "as the meter 1234 (it holds %1): give each meter "
                                             "its own ID code (meter-logger set-id) or name it "
                                             "with --id")
                                  .arg(dir.filePath(QStringLiteral("1234.mqtt-backlog")))),
                 qPrintable(refused.errors));
        QCOMPARE(holder.process.state(), QProcess::Running);
    }

    // A TLS set-up that fails at the start is the program's failure, not a wrong call.
    void aTlsFailureAtTheStartIsNoUsageError() {
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString caFile = dir.filePath(QStringLiteral("missing.pem"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"),
                       dir.filePath(QStringLiteral("meter.csv")), QStringLiteral("--mqtt"),
                       QStringLiteral("mqtts://127.0.0.1:%1").arg(freeLoopbackPort()),
                       QStringLiteral("--mqtt-cafile"), caFile, QStringLiteral("--id"),
                       QStringLiteral("hall")});
        QCOMPARE(logger.exitStatus(), 70);
        QVERIFY2(logger.says(QStringLiteral("meter-logger record: TLS: a file does not open (check "
                                            "--mqtt-cafile, --mqtt-cert and "
                                            "--mqtt-key)")),
                 qPrintable(logger.errors));
    }

    // A logger that dies leaves its meters offline through the last will.
    void aKilledLoggerGoesOffline() {
        SimProcess sim;
        QVERIFY(sim.start());
        LoopbackBroker broker;
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
        const int port = freeLoopbackPort();
        QTemporaryDir dir;
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"),
                       dir.filePath(QStringLiteral("meter.csv")), QStringLiteral("--metrics"),
                       QString::number(port), QStringLiteral("--id"), QStringLiteral("hall")});
        const QString labels = QStringLiteral("{meter=\"hall\",port=\"%1\"}").arg(sim.devicePath());
        const auto shows = [&](const QString& metric, const QString& value) {
            return QTest::qWaitFor(
                [&] { return scrapeMetrics(port).contains(metric + labels + u' ' + value); },
                10000);
        };
        QVERIFY2(shows(QStringLiteral("meter_temperature_celsius"), QStringLiteral("21.5")),
                 qPrintable(scrapeMetrics(port).join(u'\n') + logger.errors));
        QVERIFY(shows(QStringLiteral("meter_relative_humidity_ratio"), QStringLiteral("0.4")));
        QVERIFY(shows(QStringLiteral("meter_up"), QStringLiteral("1")));
        sim.control(QStringLiteral("unit F"));
        sim.control(QStringLiteral("temp 30"));
        QVERIFY2(shows(QStringLiteral("meter_temperature_celsius"), QStringLiteral("30")),
                 qPrintable(scrapeMetrics(port).join(u'\n')));
        sim.control(QStringLiteral("overload on"));
        const QString overloaded =
            QStringLiteral("meter_overload{meter=\"hall\",port=\"%1\",quantity=\"temperature\"} 1");
        QVERIFY(QTest::qWaitFor(
            [&] { return scrapeMetrics(port).contains(overloaded.arg(sim.devicePath())); }, 10000));
        QVERIFY(!scrapeMetrics(port).join(u'\n').contains(
            QStringLiteral("meter_temperature_celsius{")));
    }
};

QTEST_GUILESS_MAIN(LoggerNetworkTest)
#include "cli_network_test.moc"
