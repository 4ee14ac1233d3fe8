#include "HttpClient.h"
#include "LoggerProcess.h"
#include "LoopbackBroker.h"
#include "SimProcess.h"
#include "logic/recording/ExportRow.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

QByteArray exchange(int port, const QByteArray& path, const QByteArray& method = "GET") {
    HttpClient client(port);
    client.get(path, method);
    return client.readAll();
}

// The first meter of /api/meters.
QJsonObject firstMeter(int port) {
    return QJsonDocument::fromJson(bodyOfAnswer(exchange(port, "/api/meters")))
        .object()[u"meters"]
        .toArray()
        .first()
        .toObject();
}

// A CSV line as record writes it, of a reading taken at ms.
QByteArray recordedLine(qint64 ms, const char* humidity, const char* temperature) {
    const QDateTime takenAt = QDateTime::fromMSecsSinceEpoch(ms);
    ExportRow row{takenAt.date(),
                  takenAt.time(),
                  takenAt.offsetFromUtc(),
                  exportValue(humidity).value_or(ExportValue{}),
                  exportValue(temperature).value_or(ExportValue{}),
                  'C',
                  false,
                  std::nullopt,
                  TemperatureUnit::Meter};
    row.dewPointCelsius = exportDewPoint(row.humidity, row.temperature, 'C');
    QByteArray line;
    appendCsvLine(line, row, DewPointColumn::With);
    return line;
}

} // namespace

// meter-logger record --http as a browser meets it, the meter simulated: the page and its state,
// the events that follow each reading, and the listener's limits.
class LoggerLivePageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void thePageFollowsTheMeter() {
        SimProcess sim;
        QVERIFY(sim.start({"drift off", "rh 40", "temp 21.5"}));
        const int port = freeLoopbackPort();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("hall.csv"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), file,
                       QStringLiteral("--http"), QString::number(port), QStringLiteral("--id"),
                       QStringLiteral("hall")});
        QVERIFY2(QTest::qWaitFor([&] { return firstMeter(port)[u"readings"].toInt() > 0; }, 10000),
                 qPrintable(logger.errors));
        const QJsonObject meter = firstMeter(port);
        QCOMPARE(meter[u"id"].toString(), QStringLiteral("hall"));
        QCOMPARE(meter[u"port"].toString(), sim.devicePath());
        QCOMPARE(meter[u"file"].toString(), file);
        QCOMPARE(meter[u"state"].toString(), QStringLiteral("recording"));
        QCOMPARE(meter[u"humidity"].toDouble(), 40.0);
        QCOMPARE(meter[u"temperature"].toDouble(), 21.5);
        QCOMPARE(meter[u"temperatureUnit"].toString(), QStringLiteral("°C"));

        const QByteArray page = exchange(port, "/");
        QCOMPARE(statusLineOf(page), QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(headerOf(page, "Content-Type"), QByteArray("text/html; charset=utf-8"));
        QCOMPARE(headerOf(page, "Content-Security-Policy"),
                 QByteArray("default-src 'none'; script-src 'self'; style-src 'self'; img-src "
                            "'self' data:; connect-src 'self'; base-uri 'none'; form-action "
                            "'none'; frame-ancestors 'none'"));
        // The doctype is read in either case.
        QVERIFY(bodyOfAnswer(page).toLower().startsWith("<!doctype html>"));
        QCOMPARE(statusLineOf(exchange(port, "/api/meters", "POST")),
                 QByteArray("HTTP/1.1 405 Method Not Allowed"));
        QVERIFY(bodyOfAnswer(exchange(port, "/metrics"))
                    .contains("meter_up{meter=\"hall\",port=\"" + sim.devicePath().toUtf8() +
                              "\"} 1\n"));

        HttpClient events(port);
        QVERIFY(events.get("/events"));
        QByteArray received;
        QVERIFY(events.readUntil(received, "event: meters\ndata: {\"meters\":[{"));
        sim.control(QStringLiteral("rh 55"));
        QVERIFY2(events.readUntil(received, "\"humidity\":55,"), received);
        QVERIFY(received.contains("event: meter\ndata: {\"batteryLow\":false,"));
    }

    // A restart finds the day in the file: the chart has its points a minute from the start, and
    // the readings of a range download as the file has them.
    void theDayComesFromTheFile() {
        SimProcess sim;
        QVERIFY(sim.start({"drift off", "rh 40", "temp 21.5"}));
        const int port = freeLoopbackPort();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.csv"));
        const qint64 now = QDateTime::currentSecsSinceEpoch() * 1000;
        const auto minutesAgo = [now](int minutes) { return now - minutes * 60000LL; };
        QByteArray before = csvHeader(DewPointColumn::With);
        // Older than a day: in the file, not in the chart.
        before += recordedLine(minutesAgo(25 * 60), "30.0", "18.0");
        QByteArray inRange;
        for (int minutes = 150; minutes > 30; --minutes) {
            const QByteArray line = recordedLine(
                minutesAgo(minutes), minutes == 120 ? "OL" : "45.0", minutes % 2 ? "20.0" : "20.5");
            before += line;
            if (minutes <= 100 && minutes > 50)
                inRange += line;
            if (minutes == 90)
                before += "2026-12-07T18:30:05+01:00,garbage\r\n";
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), path,
                       QStringLiteral("--format"), QStringLiteral("csv"),
                       QStringLiteral("--dew-point"), QStringLiteral("--http"),
                       QString::number(port), QStringLiteral("--id"), QStringLiteral("hall")});
        QVERIFY2(QTest::qWaitFor([&] { return HttpClient(port).connected(); }, 10000),
                 qPrintable(logger.errors));

        // The day is read from the file beside the recording, not before it.
        QJsonObject history;
        QVERIFY(QTest::qWaitFor(
            [&] {
                history =
                    QJsonDocument::fromJson(bodyOfAnswer(exchange(port, "/api/history?meter=0")))
                        .object();
                return history[u"t"].toArray().size() >= 120;
            },
            10000));
        QCOMPARE(history[u"meter"].toInt(), 0);
        QCOMPARE(history[u"temperatureUnit"].toString(), QStringLiteral("°C"));
        const QJsonArray times = history[u"t"].toArray();
        // A minute of the logger's own may have completed since.
        QVERIFY2(times.size() == 120 || times.size() == 121, QByteArray::number(times.size()));
        QCOMPARE(times.first().toDouble(), double(minutesAgo(150)));
        QCOMPARE(times[119].toDouble(), double(minutesAgo(31)));
        QCOMPARE(history[u"humidity"].toArray()[30], QJsonValue(QJsonValue::Null));
        QCOMPARE(history[u"humidity"].toArray()[31].toDouble(), 45.0);
        QCOMPARE(history[u"temperature"].toArray()[0].toDouble(), 20.5);
        QCOMPARE(history[u"temperature"].toArray()[1].toDouble(), 20.0);
        QCOMPARE(history[u"dewPoint"].toArray()[1].toDouble(), 7.7);

        const QByteArray range = "/readings.csv?meter=0&from=" +
                                 QDateTime::fromMSecsSinceEpoch(minutesAgo(100))
                                     .toOffsetFromUtc(3600)
                                     .toString(Qt::ISODate)
                                     .toLatin1()
                                     .replace("+", "%2B") +
                                 "&to=" + QByteArray::number(minutesAgo(50));
        const QByteArray download = exchange(port, range);
        QCOMPARE(statusLineOf(download), QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(headerOf(download, "Content-Type"), QByteArray("text/csv; charset=utf-8"));
        QCOMPARE(headerOf(download, "Content-Disposition"),
                 QByteArray("attachment; filename=\"hall.csv\""));
        QCOMPARE(unchunked(bodyOfAnswer(download)),
                 "time,relative_humidity_percent,humidity_status,temperature,temperature_unit,"
                 "temperature_status,battery_low,dew_point\r\n" +
                     inRange);

        const QByteArray refused = exchange(port, "/readings.csv?meter=0&from=yesterday");
        QCOMPARE(statusLineOf(refused), QByteArray("HTTP/1.1 400 Bad Request"));
        QCOMPARE(bodyOfAnswer(refused), QByteArray("from is not a time: 'yesterday'"));
        QCOMPARE(bodyOfAnswer(exchange(port, "/api/history?meter=1")),
                 QByteArray("no meter '1': this logger has meter 0"));
    }

    // Eight pages follow the logger; the ninth is told to close one.
    void theNinthPageIsTurnedAway() {
        SimProcess sim;
        QVERIFY(sim.start());
        const int port = freeLoopbackPort();
        QTemporaryDir dir;
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"),
                       dir.filePath(QStringLiteral("m.csv")), QStringLiteral("--metrics"),
                       QString::number(port), QStringLiteral("--id"), QStringLiteral("m")});
        QVERIFY2(QTest::qWaitFor([&] { return HttpClient(port).connected(); }, 10000),
                 qPrintable(logger.errors));
        std::vector<std::unique_ptr<HttpClient>> pages;
        for (int page = 0; page < 8; ++page) {
            pages.push_back(std::make_unique<HttpClient>(port));
            QVERIFY(pages.back()->get("/events"));
            QByteArray received;
            QVERIFY(pages.back()->readUntil(received, "retry: 3000\n\n"));
        }
        const QByteArray refused = exchange(port, "/events");
        QCOMPARE(statusLineOf(refused), QByteArray("HTTP/1.1 503 Service Unavailable"));
        QCOMPARE(bodyOfAnswer(refused),
                 QByteArray("Too many live pages are open (8): close one and reload."));
    }
};

QTEST_GUILESS_MAIN(LoggerLivePageTest)
#include "cli_live_page_test.moc"
