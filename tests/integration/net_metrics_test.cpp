#include "logic/metrics/ListenAddress.h"
#include "logic/metrics/MetricsText.h"
#include "net/http/HttpServer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <atomic>
#include <limits>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::vector<MeterGauges>)

namespace {

constexpr double now = 1765000010;

MeterGauges upMeter(const char* id, const char* port, double lastReading) {
    MeterGauges meter;
    meter.meter = QString::fromUtf8(id);
    meter.port = QString::fromUtf8(port);
    meter.up = true;
    meter.lastReadingSeconds = lastReading;
    return meter;
}

// A socket to the server that gives up reading after a few seconds, far more than an answer takes
// and less than the server's own timeout for a silent client.
class Client {
public:
    explicit Client(const ListenAddress& server) {
        addrinfo hints{};
        hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (::getaddrinfo(server.host.toLatin1().constData(),
                          QByteArray::number(server.port).constData(), &hints, &found) != 0)
            return;
        descriptor_ = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval wait{3, 0};
        ::setsockopt(descriptor_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        connected_ = ::connect(descriptor_, found->ai_addr, found->ai_addrlen) == 0;
        ::freeaddrinfo(found);
    }
    ~Client() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return connected_; }
    void send(const QByteArray& bytes) {
        QVERIFY(::send(descriptor_, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) ==
                bytes.size());
    }
    // Everything until the server closes, or what came before the wait ran out.
    QByteArray readAll() {
        QByteArray received;
        char buffer[4096];
        for (ssize_t n; (n = ::recv(descriptor_, buffer, sizeof buffer, 0)) > 0;)
            received.append(buffer, n);
        return received;
    }

private:
    int descriptor_ = -1;
    bool connected_ = false;
};

QByteArray exchange(const ListenAddress& server, const QByteArray& request) {
    Client client(server);
    client.send(request);
    return client.readAll();
}

QByteArray requestFor(const char* method, const char* path) {
    return QByteArray(method) + ' ' + path +
           " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
}

QByteArray headerValue(const QByteArray& response, const QByteArray& name) {
    const QByteArray head = response.left(response.indexOf("\r\n\r\n"));
    for (const QByteArray& line : head.split('\n')) {
        if (line.toLower().startsWith(name.toLower() + ':'))
            return line.mid(name.size() + 1).trimmed();
    }
    return QByteArray();
}

// The listener with /metrics alone, as the metrics have it.
RouteTable metricsOnly(const std::function<QByteArray()>& render) {
    RouteTable routes;
    routes.add(QByteArrayLiteral("/metrics"), [render](const HttpRequest&) {
        return HttpAnswer{200,
                          QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8"),
                          render(),
                          {},
                          nullptr};
    });
    return routes;
}

QByteArray bodyOf(const QByteArray& response) {
    return response.mid(response.indexOf("\r\n\r\n") + 4);
}

} // namespace

class NetMetricsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void metricsText_data() {
        QTest::addColumn<std::vector<MeterGauges>>("meters");
        QTest::addColumn<QByteArray>("expected");

        MeterGauges first = upMeter("lab-1", "COM1", now - 0.5);
        first.humidityRatio = 0.453;
        first.temperatureCelsius = -10.2;
        first.dewPointCelsius = -14.1;
        first.batteryLow = true;
        first.readings = 42;
        first.reconnects = 1;
        MeterGauges tenSecondsOld = upMeter("lab-2", "/dev/ttyUSB0", now - 10);
        tenSecondsOld.humidityRatio = 0.5;
        tenSecondsOld.temperatureCelsius = 21.5;
        tenSecondsOld.readings = 7;
        QTest::newRow("fresh meters, every family's samples together")
            << std::vector{first, tenSecondsOld}
            << QByteArrayLiteral(
                   "# HELP meter_relative_humidity_ratio Relative humidity of the last reading (0 "
                   "to 1).\n"
                   "# TYPE meter_relative_humidity_ratio gauge\n"
                   "meter_relative_humidity_ratio{meter=\"lab-1\",port=\"COM1\"} 0.453\n"
                   "meter_relative_humidity_ratio{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} 0.5\n"
                   "# HELP meter_temperature_celsius Temperature of the last reading in degrees "
                   "Celsius.\n"
                   "# TYPE meter_temperature_celsius gauge\n"
                   "meter_temperature_celsius{meter=\"lab-1\",port=\"COM1\"} -10.2\n"
                   "meter_temperature_celsius{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} 21.5\n"
                   "# HELP meter_dew_point_celsius Dew (frost) point of the last reading in "
                   "degrees Celsius.\n"
                   "# TYPE meter_dew_point_celsius gauge\n"
                   "meter_dew_point_celsius{meter=\"lab-1\",port=\"COM1\"} -14.1\n"
                   "# HELP meter_up 1 when the meter answers on its link, 0 when it does not.\n"
                   "# TYPE meter_up gauge\n"
                   "meter_up{meter=\"lab-1\",port=\"COM1\"} 1\n"
                   "meter_up{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} 1\n"
                   "# HELP meter_battery_low 1 when the last reading showed a low battery.\n"
                   "# TYPE meter_battery_low gauge\n"
                   "meter_battery_low{meter=\"lab-1\",port=\"COM1\"} 1\n"
                   "meter_battery_low{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} 0\n"
                   "# HELP meter_overload 1 when the last reading was beyond the meter's range.\n"
                   "# TYPE meter_overload gauge\n"
                   "meter_overload{meter=\"lab-1\",port=\"COM1\",quantity=\"humidity\"} 0\n"
                   "meter_overload{meter=\"lab-1\",port=\"COM1\",quantity=\"temperature\"} 0\n"
                   "meter_overload{meter=\"lab-2\",port=\"/dev/ttyUSB0\",quantity=\"humidity\"} 0\n"
                   "meter_overload{meter=\"lab-2\",port=\"/dev/ttyUSB0\",quantity=\"temperature\"} "
                   "0\n"
                   "# HELP meter_readings_total Readings received from the meter.\n"
                   "# TYPE meter_readings_total counter\n"
                   "meter_readings_total{meter=\"lab-1\",port=\"COM1\"} 42\n"
                   "meter_readings_total{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} 7\n"
                   "# HELP meter_reconnects_total Times the link came back after it was lost.\n"
                   "# TYPE meter_reconnects_total counter\n"
                   "meter_reconnects_total{meter=\"lab-1\",port=\"COM1\"} 1\n"
                   "meter_reconnects_total{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} 0\n"
                   "# HELP meter_last_reading_timestamp_seconds When the last reading arrived, in "
                   "seconds since the epoch.\n"
                   "# TYPE meter_last_reading_timestamp_seconds gauge\n"
                   "meter_last_reading_timestamp_seconds{meter=\"lab-1\",port=\"COM1\"} "
                   "1765000009.5\n"
                   "meter_last_reading_timestamp_seconds{meter=\"lab-2\",port=\"/dev/ttyUSB0\"} "
                   "1765000000\n");

        MeterGauges overloaded = upMeter("m", "COM2", now);
        overloaded.humidityRatio = 0.215;
        overloaded.temperatureCelsius = std::numeric_limits<double>::quiet_NaN();
        overloaded.temperatureOverload = true;
        QTest::newRow("an overloaded temperature is no number")
            << std::vector{overloaded}
            << QByteArrayLiteral(
                   "meter_relative_humidity_ratio{meter=\"m\",port=\"COM2\"} 0.215\n"
                   "meter_up{meter=\"m\",port=\"COM2\"} 1\n"
                   "meter_battery_low{meter=\"m\",port=\"COM2\"} 0\n"
                   "meter_overload{meter=\"m\",port=\"COM2\",quantity=\"humidity\"} 0\n"
                   "meter_overload{meter=\"m\",port=\"COM2\",quantity=\"temperature\"} 1\n"
                   "meter_readings_total{meter=\"m\",port=\"COM2\"} 0\n"
                   "meter_reconnects_total{meter=\"m\",port=\"COM2\"} 0\n"
                   "meter_last_reading_timestamp_seconds{meter=\"m\",port=\"COM2\"} 1765000010\n");

        MeterGauges old = upMeter("old", "COM1", now - 10.5);
        old.humidityRatio = 0.4;
        old.temperatureCelsius = 20;
        MeterGauges down = upMeter("down", "COM2", now - 1);
        down.up = false;
        down.humidityRatio = 0.4;
        down.temperatureCelsius = 20;
        down.reconnects = 3;
        MeterGauges waiting = upMeter("new", "COM3", now);
        waiting.lastReadingSeconds.reset();
        QTest::newRow("stale, down, no reading yet: the last reading is not told")
            << std::vector{old, down, waiting}
            << QByteArrayLiteral(
                   "meter_up{meter=\"old\",port=\"COM1\"} 1\n"
                   "meter_up{meter=\"down\",port=\"COM2\"} 0\n"
                   "meter_up{meter=\"new\",port=\"COM3\"} 1\n"
                   "meter_readings_total{meter=\"old\",port=\"COM1\"} 0\n"
                   "meter_readings_total{meter=\"down\",port=\"COM2\"} 0\n"
                   "meter_readings_total{meter=\"new\",port=\"COM3\"} 0\n"
                   "meter_reconnects_total{meter=\"old\",port=\"COM1\"} 0\n"
                   "meter_reconnects_total{meter=\"down\",port=\"COM2\"} 3\n"
                   "meter_reconnects_total{meter=\"new\",port=\"COM3\"} 0\n"
                   "meter_last_reading_timestamp_seconds{meter=\"old\",port=\"COM1\"} "
                   "1764999999.5\n"
                   "meter_last_reading_timestamp_seconds{meter=\"down\",port=\"COM2\"} "
                   "1765000009\n");

        MeterGauges strange = upMeter("a \"b\" \\c\nd", "/dev/tty\\1", now);
        strange.up = false;
        strange.lastReadingSeconds.reset();
        MeterGauges publishing = upMeter("p", "COM4", now);
        publishing.up = false;
        publishing.lastReadingSeconds.reset();
        publishing.mqttQueued = 5;
        publishing.mqttDropped = 2;
        QTest::newRow("escaped labels; MQTT families for the meters that publish")
            << std::vector{strange, publishing}
            << QByteArrayLiteral(
                   "meter_up{meter=\"a \\\"b\\\" \\\\c\\nd\",port=\"/dev/tty\\\\1\"} 0\n"
                   "meter_up{meter=\"p\",port=\"COM4\"} 0\n"
                   "meter_readings_total{meter=\"a \\\"b\\\" \\\\c\\nd\",port=\"/dev/tty\\\\1\"} "
                   "0\n"
                   "meter_readings_total{meter=\"p\",port=\"COM4\"} 0\n"
                   "meter_reconnects_total{meter=\"a \\\"b\\\" \\\\c\\nd\",port=\"/dev/"
                   "tty\\\\1\"} 0\n"
                   "meter_reconnects_total{meter=\"p\",port=\"COM4\"} 0\n"
                   "meter_mqtt_queued_messages{meter=\"p\",port=\"COM4\"} 5\n"
                   "meter_mqtt_dropped_total{meter=\"p\",port=\"COM4\"} 2\n");
    }
    void metricsText() {
        QFETCH(std::vector<MeterGauges>, meters);
        QFETCH(QByteArray, expected);
        // Line by line, so that a failure names the first line that differs. Where only the
        // samples are written out, only the samples are compared.
        QByteArrayList lines = ::metricsText(meters, now).split('\n');
        if (!expected.startsWith('#'))
            lines.removeIf([](const QByteArray& line) { return line.startsWith('#'); });
        QCOMPARE(lines, expected.split('\n'));
    }

    // The shortest text that reads back as the same number, in plain digits where they stay short.
    void numberText_data() {
        QTest::addColumn<double>("celsius");
        QTest::addColumn<QByteArray>("sample");
        for (const auto& [celsius, sample] : {std::pair{-10.2, "-10.2"},
                                              {21.5, "21.5"},
                                              {-0.0, "0"},
                                              {1e-7, "1e-07"},
                                              {1e22, "1e+22"}})
            QTest::addRow("%s", sample) << celsius << QByteArray(sample);
    }
    void numberText() {
        QFETCH(double, celsius);
        QFETCH(QByteArray, sample);
        MeterGauges meter = upMeter("m", "COM1", now);
        meter.temperatureCelsius = celsius;
        const QByteArray text = ::metricsText({meter}, now);
        QVERIFY2(
            text.contains("meter_temperature_celsius{meter=\"m\",port=\"COM1\"} " + sample + '\n'),
            text);
    }

    // The meter's tenths of a percent, and no more digits, in the text a scraper reads.
    void humidityRatioFromPercent_data() {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QByteArray>("sample");
        for (const auto& [percent, sample] :
             {std::pair{45.3, "0.453"}, {54.3, "0.543"}, {99.9, "0.999"}, {0.1, "0.001"}})
            QTest::addRow("%s", sample) << percent << QByteArray(sample);
    }
    void humidityRatioFromPercent() {
        QFETCH(double, percent);
        QFETCH(QByteArray, sample);
        MeterGauges meter = upMeter("m", "COM1", now);
        meter.humidityRatio = ::humidityRatioFromPercent(percent);
        const QByteArray text = ::metricsText({meter}, now);
        QVERIFY2(text.contains("{meter=\"m\",port=\"COM1\"} " + sample + '\n'), text);
    }

    // A port alone means the loopback; hosts are numeric, IPv6 ones in brackets.
    void parseListenAddress_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        const QString badHost = QStringLiteral(
            "is no listen address: the host must be an IPv4 address (127.0.0.1:9464) or an IPv6 "
            "address in brackets ([::1]:9464)");
        const QString badPort =
            QStringLiteral("is no listen address: the port must be a number from 1 to 65535");
        const std::pair<const char*, QString> cases[] = {
            {"9464", QStringLiteral("127.0.0.1 9464")},
            {"127.0.0.1:9464", QStringLiteral("127.0.0.1 9464")},
            {"[::1]:9464", QStringLiteral("::1 9464")},
            {"[::ffff:10.0.0.1]:80", QStringLiteral("::ffff:10.0.0.1 80")},
            {"localhost:9464", badHost},
            {"::1:9464", badHost},
            {"127.0.0.01:9464", badHost},
            {"[1::2::3]:80", badHost},
            {"[::1:9464", badHost},
            {"[::1]", badPort},
            {"0", badPort},
            {"65536", badPort},
            {"", badPort},
        };
        for (const auto& [text, result] : cases) {
            const QString given = QString::fromLatin1(text);
            QTest::addRow("%s", text)
                << given
                << (result.startsWith(QLatin1String("is no"))
                        ? QLatin1Char('"') + given + QStringLiteral("\" ") + result
                        : result);
        }
    }
    void parseListenAddress() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        const auto parsed = ::parseListenAddress(text);
        if (parsed)
            QCOMPARE(parsed->host + QLatin1Char(' ') + QString::number(parsed->port), result);
        else
            QCOMPARE(parsed.failure().message, result);
    }

    void serverAnswersOnlyMetrics_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<QByteArray>("body");
        const QByteArray text = QByteArrayLiteral("meter_up{meter=\"m\",port=\"COM1\"} 1\n");
        QTest::newRow("GET /metrics")
            << requestFor("GET", "/metrics") << QByteArrayLiteral("HTTP/1.1 200 OK") << text;
        QTest::newRow("HEAD /metrics") << requestFor("HEAD", "/metrics")
                                       << QByteArrayLiteral("HTTP/1.1 200 OK") << QByteArray("");
        QTest::newRow("GET /other")
            << requestFor("GET", "/other") << QByteArrayLiteral("HTTP/1.1 404 Not Found")
            << QByteArrayLiteral("Not Found\n");
        QTest::newRow("GET /metrics/")
            << requestFor("GET", "/metrics/") << QByteArrayLiteral("HTTP/1.1 404 Not Found")
            << QByteArrayLiteral("Not Found\n");
        QTest::newRow("POST /metrics") << requestFor("POST", "/metrics")
                                       << QByteArrayLiteral("HTTP/1.1 405 Method Not Allowed")
                                       << QByteArrayLiteral("Method Not Allowed\n");
        QTest::newRow("GET /metrics with a body")
            << QByteArrayLiteral("GET /metrics HTTP/1.1\r\nHost: localhost\r\nConnection: "
                                 "close\r\nContent-Length: 5\r\n\r\nhello")
            << QByteArrayLiteral("HTTP/1.1 413 Content Too Large")
            << QByteArrayLiteral("No body expected\n");
        // A request is held in a few KiB. The library writes the page that says so (a null body:
        // its text is not checked).
        QTest::newRow("GET /metrics with 20 KiB of headers")
            << QByteArray(
                   "GET /metrics HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\nX-Filler: " +
                   QByteArray(20 * 1024, 'a') + "\r\n\r\n")
            << QByteArrayLiteral("HTTP/1.1 431 Request Header Fields Too Large") << QByteArray();
    }
    void serverAnswersOnlyMetrics() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, statusLine);
        QFETCH(QByteArray, body);
        HttpServer server(metricsOnly(
            [] { return QByteArrayLiteral("meter_up{meter=\"m\",port=\"COM1\"} 1\n"); }));
        QVERIFY(server.start({QStringLiteral("127.0.0.1"), 0}));
        const QByteArray response = exchange({QStringLiteral("127.0.0.1"), server.port()}, request);
        QCOMPARE(response.left(response.indexOf("\r\n")), statusLine);
        if (!body.isNull())
            QCOMPARE(bodyOf(response), body);
        if (statusLine.contains("200"))
            QCOMPARE(headerValue(response, "Content-Type"),
                     QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8"));
    }

    // The render function runs on the server's thread while a client that said nothing holds its
    // connection open; a second server on the same port is told why it cannot listen.
    void serverServesBesideASilentClient_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("inUse");
        QTest::newRow("IPv4") << QStringLiteral("127.0.0.1")
                              << QStringLiteral("127.0.0.1:%1: address already in use");
        QTest::newRow("IPv6") << QStringLiteral("::1")
                              << QStringLiteral("[::1]:%1: address already in use");
    }
    void serverServesBesideASilentClient() {
        QFETCH(QString, host);
        QFETCH(QString, inUse);
        std::atomic<int> renders = 0;
        HttpServer server(metricsOnly([&renders] {
            ++renders;
            return QByteArrayLiteral("meter_up 1\n");
        }));
        const Result<> started = server.start({host, 0});
        // A machine without IPv6 has no ::1 to listen on; any other failure is one.
        if (!started &&
            (started.failure().message.endsWith(QLatin1String("no such address on this machine")) ||
             started.failure().message.endsWith(QLatin1String("not supported by protocol"))))
            QSKIP(qPrintable(started.failure().message));
        QVERIFY2(started, qPrintable(started ? QString() : started.failure().message));
        const ListenAddress bound{host, server.port()};
        Client silent(bound);
        QVERIFY(silent.connected());
        Client halfway(bound);
        halfway.send(QByteArrayLiteral("GET /metr"));
        QCOMPARE(bodyOf(exchange(bound, requestFor("GET", "/metrics"))),
                 QByteArrayLiteral("meter_up 1\n"));
        QCOMPARE(renders.load(), 1);

        HttpServer second(RouteTable{});
        const Result<> refused = second.start(bound);
        QVERIFY(!refused);
        QCOMPARE(refused.failure().message, inUse.arg(server.port()));
        QCOMPARE(refused.failure().exitStatus, 69);
    }

    // "[::]" is every IPv6 address and no IPv4 one: 0.0.0.0 is asked for by name.
    void anyIpv6AddressTakesNoIpv4() {
        HttpServer server(metricsOnly([] { return QByteArrayLiteral("meter_up 1\n"); }));
        const Result<> started = server.start({QStringLiteral("::"), 0});
        if (!started &&
            started.failure().message.endsWith(QLatin1String("not supported by protocol")))
            QSKIP(qPrintable(started.failure().message));
        QVERIFY2(started, qPrintable(started ? QString() : started.failure().message));
        QVERIFY(Client({QStringLiteral("::1"), server.port()}).connected());
        QVERIFY(!Client({QStringLiteral("127.0.0.1"), server.port()}).connected());
    }

    // The text of meters in every state passes the format's own checker.
    void promtoolFindsNothing() {
        const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
        if (promtool.isEmpty())
            QSKIP("promtool is not installed");
        MeterGauges fresh = upMeter("lab \"1\"", "COM1", now);
        fresh.humidityRatio = 0.453;
        fresh.temperatureCelsius = -10.2;
        fresh.readings = 12;
        fresh.mqttQueued = 1;
        fresh.mqttDropped = 0;
        MeterGauges overloaded = upMeter("lab-2", "/dev/ttyUSB0", now);
        overloaded.humidityOverload = true;
        MeterGauges down = upMeter("lab-3", "COM3", now - 60);
        down.up = false;
        QProcess check;
        check.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
        QVERIFY(check.waitForStarted());
        check.write(::metricsText({fresh, overloaded, down}, now));
        check.closeWriteChannel();
        QVERIFY(check.waitForFinished());
        const QByteArray complaints = check.readAllStandardOutput() + check.readAllStandardError();
        QVERIFY2(check.exitCode() == 0 && complaints.isEmpty(), complaints);
    }
};

QTEST_MAIN(NetMetricsTest)
#include "net_metrics_test.moc"
