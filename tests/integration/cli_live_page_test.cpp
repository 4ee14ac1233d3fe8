#include "HttpClient.h"
#include "LoggerProcess.h"
#include "LoopbackBroker.h"
#include "SimProcess.h"

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
        QVERIFY(bodyOfAnswer(page).startsWith("<!DOCTYPE html>"));
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
