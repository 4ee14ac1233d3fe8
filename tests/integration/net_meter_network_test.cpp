#include "HttpClient.h"
#include "LoopbackBroker.h"
#include "MetricsScrape.h"
#include "logic/recording/ExportRow.h"
#include "net/MeterNetwork.h"
#include "net/mqtt/MosquittoClient.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <future>
#include <mosquitto.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A CA and the certificates it signs, made by openssl in a folder of their own.
class Certificates {
public:
    Certificates() {
        made_ = openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                         "-nodes", "-keyout", path("ca.key"), "-out", path("ca.pem"), "-days", "2",
                         "-subj", "/CN=Test CA"});
    }
    // A certificate for the host name, signed by the CA; its key is beside it as NAME.key.
    QString issue(const QString& name) {
        made_ = made_ &&
                openssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                         "-keyout", path(name + ".key"), "-out", path(name + ".csr"), "-subj",
                         "/CN=" + name, "-addext", "subjectAltName=DNS:" + name}) &&
                openssl({"x509", "-req", "-in", path(name + ".csr"), "-CA", path("ca.pem"),
                         "-CAkey", path("ca.key"), "-CAcreateserial", "-out", path(name + ".pem"),
                         "-days", "2", "-copy_extensions", "copy"});
        return path(name + ".pem");
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    bool made() const { return made_; }

private:
    static bool openssl(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral("openssl"), arguments);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QTemporaryDir dir_;
    bool made_ = false;
};

// A loopback port that takes connections and is no broker: it answers each with these bytes,
// or, given none, never says a word.
class FakeServer {
public:
    FakeServer(int port, const QByteArray& answer) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<quint16>(port));
        listening_ =
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(listener_, 16) == 0;
        if (answer.isEmpty())
            return;
        auto* notifier = new QSocketNotifier(listener_, QSocketNotifier::Read, &owner_);
        QObject::connect(notifier, &QSocketNotifier::activated, &owner_, [this, answer] {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            clients_.push_back(client);
            if (::send(client, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL) < 0)
                return;
        });
    }
    ~FakeServer() {
        for (const int client : clients_)
            ::close(client);
        ::close(listener_);
    }
    bool listening() const { return listening_; }

private:
    QObject owner_;
    int listener_ = -1;
    bool listening_ = false;
    std::vector<int> clients_;
};

// What a web server on the port would say.
QByteArray httpAnswer() {
    return QByteArray("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n").repeated(20);
}

ExportRow reading(const char* temperature, char unit,
                  TemperatureUnit written = TemperatureUnit::Meter) {
    const ExportValue humidity{ExportValue::Status::Ok, "45.6"};
    const ExportValue value{ExportValue::Status::Ok, temperature};
    return ExportRow{QDate(2026, 12, 6),
                     QTime(9, 45, 7),
                     3600,
                     humidity,
                     value,
                     unit,
                     false,
                     exportDewPoint(humidity, value, unit),
                     written};
}

NetworkPlan mqttPlan(const QString& url, const QString& caFile = {}) {
    PublishSettings settings;
    settings.connection.broker = MqttUrl::parse(url).value();
    settings.connection.caFile = caFile;
    settings.discovery = true;
    NetworkPlan plan;
    plan.mqtt = settings;
    return plan;
}

// A broker by name, for a client whose connect step stands in for libmosquitto's.
MqttConnection lanBroker() {
    MqttConnection connection;
    connection.broker = MqttUrl::parse(QStringLiteral("mqtt://broker.lan")).value();
    return connection;
}

// Meters on /dev/ttyS0, /dev/ttyS1, … on the network, their state lines gathered as they come.
class Rig {
public:
    explicit Rig(const NetworkPlan& plan, int meters = 1) {
        std::vector<NetworkedMeter> networked;
        for (int meter = 0; meter < meters; ++meter)
            networked.push_back({QStringLiteral("/dev/ttyS%1").arg(meter),
                                 dir_.filePath(QStringLiteral("m%1.csv").arg(meter))});
        network = new MeterNetwork(&owner_, plan, networked);
        QObject::connect(network, &MeterNetwork::brokerState, &owner_,
                         [this](int, const QString& state) { states << state; });
    }
    // A reading as a meter's thread hands it over: into the backlog file first, when there is one.
    void take(int meter, const ExportRow& row) {
        qint64 backlogEnd = -1;
        if (const std::shared_ptr<BacklogFile> backlog = network->backlogOf(meter))
            backlogEnd = backlog->append(statePayload(row)).value_or(-1);
        network->readingTaken(meter, QDateTime::currentDateTime(), row, backlogEnd);
    }
    bool says(const QString& state, int milliseconds = 10000) const {
        return QTest::qWaitFor([&] { return states.contains(state); }, milliseconds);
    }

    MeterNetwork* network;
    QStringList states;

private:
    QTemporaryDir dir_;
    QObject owner_;
};

} // namespace

// The meters' publishers and gauges against a real broker on loopback, and against ports that
// fail as a broker's network can.
class NetMeterNetworkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each outage says why, once.
    void outagesSayWhy_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("state");
        const QString wrongCertificate =
            QStringLiteral("no broker (TLS: certificate verify failed: %1), readings queued");
        QTest::newRow("a refused port") << "refused"
                                        << "no broker (connection refused), readings queued";
        QTest::newRow("an untrusted certificate")
            << "untrusted" << wrongCertificate.arg(u"unable to get local issuer certificate");
        QTest::newRow("a wrong certificate name")
            << "wrong name"
            << "no broker (TLS: host name verification failed), readings queued";
        QTest::newRow("a CA file that is a key")
            << "key as CA"
            << "no broker (TLS: unable to load CA certificates, check cafile \"CAFILE\"), readings "
               "queued";
        QTest::newRow("a port that answers junk") << "junk"
                                                  << "no broker (protocol error), readings queued";
    }
    void outagesSayWhy() {
        QFETCH(QString, fault);
        QFETCH(QString, state);
        Certificates trusted;
        Certificates untrusted;
        const QString localhost = trusted.issue(QStringLiteral("localhost"));
        const QString elsewhere = trusted.issue(QStringLiteral("elsewhere"));
        const QString stranger = untrusted.issue(QStringLiteral("localhost"));
        QVERIFY(trusted.made() && untrusted.made());
        LoopbackBroker broker;
        const int port = freeLoopbackPort();
        FakeServer junk(port, fault == u"junk" ? httpAnswer() : QByteArray());
        QString url = QStringLiteral("mqtt://127.0.0.1:%1").arg(port);
        QString caFile = trusted.path(QStringLiteral("ca.pem"));
        if (fault == u"refused") {
            url = broker.url();
        } else if (fault != u"junk") {
            if (fault == u"untrusted")
                broker.serveTls(stranger, untrusted.path(QStringLiteral("localhost.key")));
            else if (fault == u"wrong name")
                broker.serveTls(elsewhere, trusted.path(QStringLiteral("elsewhere.key")));
            else
                broker.serveTls(localhost, trusted.path(QStringLiteral("localhost.key")));
            if (fault == u"key as CA")
                caFile = trusted.path(QStringLiteral("ca.key"));
            QVERIFY(broker.start());
            url = QStringLiteral("mqtts://localhost:%1").arg(broker.tlsPort());
        }
        Rig rig(mqttPlan(url, url.startsWith(u"mqtts") ? caFile : QString()));
        QVERIFY(rig.network->start({QStringLiteral("hall")}));
        const QString expected = QString(state).replace(QStringLiteral("CAFILE"), caFile);
        QVERIFY2(rig.says(expected), qPrintable(rig.states.join(u'\n')));
        // The attempts go on, every second or few; the line does not.
        QVERIFY(!QTest::qWaitFor([&] { return rig.states.size() > 1; }, 3500));
    }

    // The name the resolver could not find is said.
    void aNameLookupFailureIsSaid() {
        QObject owner;
        auto* client = new MosquittoClient(&owner, QStringLiteral("lookup"),
                                           [](mosquitto*, const MqttUrl&, int) {
                                               errno = EAI_NONAME;
                                               return int(MOSQ_ERR_EAI);
                                           });
        QSignalSpy disconnected(client, &MosquittoClient::disconnected);
        QVERIFY(client->start(lanBroker(), MqttMessage{"a", "offline", true}));
        QVERIFY(disconnected.wait(5000));
        QCOMPARE(disconnected.first().first().toString(),
                 QStringLiteral("name lookup failed: name or service not known"));
    }

    // Publishing comes back once the fault is mended, whatever the fault was.
    void publishingComesBackAfterAFault_data() {
        QTest::addColumn<bool>("tls");
        QTest::newRow("a wrong certificate name, then the right one") << true;
        QTest::newRow("a port that answered junk, then a broker") << false;
    }
    void publishingComesBackAfterAFault() {
        QFETCH(bool, tls);
        Certificates certificates;
        const QString elsewhere = certificates.issue(QStringLiteral("elsewhere"));
        const QString localhost = certificates.issue(QStringLiteral("localhost"));
        QVERIFY(certificates.made());
        const int port = freeLoopbackPort();
        LoopbackBroker broker(tls ? freeLoopbackPort() : port);
        auto junk = std::make_unique<FakeServer>(port, httpAnswer());
        if (tls) {
            junk.reset();
            broker.serveTls(elsewhere, certificates.path(QStringLiteral("elsewhere.key")), port);
            QVERIFY(broker.start());
        }
        Rig rig(
            mqttPlan(QStringLiteral("%1://localhost:%2").arg(tls ? u"mqtts" : u"mqtt").arg(port),
                     tls ? certificates.path(QStringLiteral("ca.pem")) : QString()));
        QVERIFY(rig.network->start({QStringLiteral("hall")}));
        QVERIFY(QTest::qWaitFor([&] { return !rig.states.isEmpty(); }, 10000));
        broker.stop();
        junk.reset();
        if (tls)
            broker.serveTls(localhost, certificates.path(QStringLiteral("localhost.key")), port);
        QVERIFY(broker.start());
        QVERIFY2(rig.says(QStringLiteral("connected to the broker")),
                 qPrintable(rig.states.join(u'\n')));
        rig.take(0, reading("21.5", 'C'));
        QVERIFY(QTest::qWaitFor(
            [&] { return broker.retained(QStringLiteral("homeassistant/#"), 1).size() == 4; },
            10000));
    }

    // A stop waits for no thread the resolver holds.
    void aStopLeavesAStuckResolverBehind() {
        std::promise<void> answer;
        const std::shared_future<void> answered = answer.get_future().share();
        QObject owner;
        auto* client = new MosquittoClient(&owner, QStringLiteral("stuck"),
                                           [answered](mosquitto*, const MqttUrl&, int) {
                                               answered.wait_for(std::chrono::seconds(20));
                                               errno = EAI_AGAIN;
                                               return int(MOSQ_ERR_EAI);
                                           });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(client->start(lanBroker(), MqttMessage{"a", "offline", true}));
        QVERIFY(client->stop());
        delete client;
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        answer.set_value();
    }

    // A TLS port that takes the connection and never answers holds no stop up.
    void aStopEndsInTimeAgainstASilentPort() {
        Certificates certificates;
        QVERIFY(certificates.made());
        const int port = freeLoopbackPort();
        const FakeServer silent(port, {});
        QVERIFY(silent.listening());
        Rig rig(mqttPlan(QStringLiteral("mqtts://localhost:%1").arg(port),
                         certificates.path(QStringLiteral("ca.pem"))));
        QVERIFY(rig.network->start({QStringLiteral("hall")}));
        rig.take(0, reading("21.5", 'C'));
        QSignalSpy finished(rig.network, &MeterNetwork::finished);
        QElapsedTimer clock;
        clock.start();
        rig.network->finish();
        QVERIFY(!finished.isEmpty() || finished.wait(6000));
        delete rig.network;
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    }

    // However many times Home Assistant says it is online, the configs go at most once more
    // than they were asked for while a round was on its way.
    void aFloodOfStatusMessagesMakesFewRounds() {
        LoopbackBroker broker;
        QVERIFY(broker.start());
        QProcess subscriber;
        subscriber.start(QStringLiteral("mosquitto_sub"),
                         broker.at() +
                             QStringList{QStringLiteral("-t"), QStringLiteral("homeassistant/#")});
        QVERIFY(subscriber.waitForStarted(5000));
        QString received;
        // Lines that hold the text.
        const auto count = [&](const QString& text) {
            received += QString::fromUtf8(subscriber.readAllStandardOutput());
            return received.split(u'\n').filter(text).size();
        };
        Rig rig(mqttPlan(broker.url()));
        QVERIFY(rig.network->start({QStringLiteral("hall")}));
        QVERIFY(rig.says(QStringLiteral("connected to the broker")));
        rig.take(0, reading("21.5", 'C'));
        QVERIFY(
            QTest::qWaitFor([&] { return count(QStringLiteral("\"unique_id\"")) == 4; }, 10000));
        QProcess flood;
        flood.start(QStringLiteral("mosquitto_pub"),
                    broker.at() +
                        QStringList{QStringLiteral("-q"), QStringLiteral("1"), QStringLiteral("-t"),
                                    QStringLiteral("homeassistant/status"), QStringLiteral("-l")});
        QVERIFY(flood.waitForStarted(5000));
        constexpr int Floods = 500;
        for (int each = 0; each < Floods; ++each)
            flood.write("online\n");
        flood.closeWriteChannel();
        QVERIFY(flood.waitForFinished(10000));
        QVERIFY(QTest::qWaitFor(
            [&] {
                count(QStringLiteral("online"));
                return received.split(u'\n').count(QStringLiteral("online")) == Floods;
            },
            10000));
        QVERIFY(
            QTest::qWaitFor([&] { return count(QStringLiteral("\"unique_id\"")) >= 8; }, 10000));
        QVERIFY2(
            !QTest::qWaitFor([&] { return count(QStringLiteral("\"unique_id\"")) > 12; }, 3000),
            qPrintable(QString::number(count(QStringLiteral("\"unique_id\"")))));
        subscriber.kill();
        subscriber.waitForFinished(3000);
    }

    // Readings are news, not a state the broker keeps; a unit change is told to Home Assistant
    // at once, by this release.
    void readingsAreNotKeptAndAUnitChangeIsAnnounced() {
        LoopbackBroker broker;
        QVERIFY(broker.start());
        Rig rig(mqttPlan(broker.url()));
        QVERIFY(rig.network->start({QStringLiteral("hall")}));
        QVERIFY(rig.says(QStringLiteral("connected to the broker")));
        rig.take(0, reading("21.5", 'C'));
        const QString config = QStringLiteral("homeassistant/sensor/meter_hall/temperature/config");
        const auto announces = [&](const QString& unit) {
            return QTest::qWaitFor(
                [&] {
                    const QStringList kept = broker.retained(config, 1);
                    return kept.size() == 1 &&
                           kept.first().contains(
                               QStringLiteral("\"unit_of_measurement\":\"%1\"").arg(unit));
                },
                10000);
        };
        QVERIFY(announces(QStringLiteral("°C")));
        QVERIFY(broker.retained(config, 1).first().contains(
            QStringLiteral("\"sw_version\":\"%1\"").arg(QStringLiteral(METER_VERSION))));
        rig.take(0, reading("70.7", 'F'));
        QVERIFY(announces(QStringLiteral("°F")));
        QCOMPARE(broker.retained(QStringLiteral("meter/hall/state"), 1), QStringList());
    }

    // The queue's gauge reads what waits now: nothing once the broker has taken it all.
    void theQueueGaugeReadsNow() {
        LoopbackBroker broker;
        QVERIFY(broker.start());
        NetworkPlan plan = mqttPlan(broker.url());
        const int port = freeLoopbackPort();
        plan.metricsAddress = ListenAddress{QStringLiteral("127.0.0.1"), quint16(port)};
        Rig rig(plan);
        QVERIFY(rig.network->listen());
        QVERIFY(rig.network->start({QStringLiteral("hall")}));
        QVERIFY(rig.says(QStringLiteral("connected to the broker")));
        rig.take(0, reading("21.5", 'C'));
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         return scrapeMetrics(port).contains(QStringLiteral(
                             "meter_mqtt_queued_messages{meter=\"hall\",port=\"/dev/ttyS0\"} 0"));
                     },
                     10000),
                 qPrintable(scrapeMetrics(port).join(u'\n')));
    }

    // Each meter's gauges are its own, its link's returns counted.
    void eachMeterHasItsOwnGauges() {
        NetworkPlan plan;
        const int port = freeLoopbackPort();
        plan.metricsAddress = ListenAddress{QStringLiteral("127.0.0.1"), quint16(port)};
        Rig rig(plan, 2);
        QVERIFY(rig.network->listen());
        QVERIFY(rig.network->start({QStringLiteral("hall"), QStringLiteral("cellar")}));
        // Published in °F, told to Prometheus in °C.
        rig.take(0, reading("21.5", 'C', TemperatureUnit::Fahrenheit));
        rig.take(1, reading("12.0", 'C'));
        rig.network->linkLost(1, false);
        rig.network->linkBack(1);
        const QStringList metrics = scrapeMetrics(port);
        for (const char* line :
             {"meter_temperature_celsius{meter=\"hall\",port=\"/dev/ttyS0\"} 21.5",
              "meter_temperature_celsius{meter=\"cellar\",port=\"/dev/ttyS1\"} 12",
              "meter_dew_point_celsius{meter=\"hall\",port=\"/dev/ttyS0\"} 9.3",
              "meter_dew_point_celsius{meter=\"cellar\",port=\"/dev/ttyS1\"} 0.6",
              "meter_reconnects_total{meter=\"hall\",port=\"/dev/ttyS0\"} 0",
              "meter_reconnects_total{meter=\"cellar\",port=\"/dev/ttyS1\"} 1"})
            QVERIFY2(metrics.contains(QString::fromUtf8(line)), line);
    }

    // A minute's point goes to the open pages once the next minute's first reading comes, and
    // it is the minute's last reading.
    void aCompletedMinuteGoesToThePages() {
        NetworkPlan plan;
        const int port = freeLoopbackPort();
        plan.metricsAddress = ListenAddress{QStringLiteral("127.0.0.1"), quint16(port)};
        Rig rig(plan);
        QVERIFY(rig.network->listen());
        HttpClient page(port);
        QVERIFY(page.get("/events"));
        QByteArray received;
        QVERIFY(page.readUntil(received, "event: meters\n"));
        // 2026-12-07 10:00:00 UTC, on a minute.
        const QDateTime minute = QDateTime::fromMSecsSinceEpoch(1796637600000, QTimeZone::utc());
        rig.network->readingTaken(0, minute.addSecs(10), reading("20.0", 'C'), -1);
        rig.network->readingTaken(0, minute.addSecs(59), reading("21.5", 'C'), -1);
        rig.network->readingTaken(0, minute.addSecs(61), reading("22.0", 'C'), -1);
        // The events of a moment go to the pages together, from this thread's event loop.
        const QByteArray point(
            "event: point\ndata: {\"dewPoint\":9.3,\"humidity\":45.6,\"meter\":0,"
            "\"t\":1796637659000,\"temperature\":21.5}\n\n");
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         page.readWaiting(received);
                         return received.contains(point);
                     },
                     5000),
                 received);
        QCOMPARE(received.count("event: point"), 1);
    }
};

QTEST_GUILESS_MAIN(NetMeterNetworkTest)
#include "net_meter_network_test.moc"
