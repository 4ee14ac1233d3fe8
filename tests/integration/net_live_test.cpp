#include "HttpClient.h"
#include "net/http/HttpServer.h"
#include "net/live/EventHub.h"
#include "net/live/LivePage.h"
#include "net/live/MeterStateBoard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QByteArray securityPolicy(
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The live page served from files of the test's own, for one meter.
struct LiveRig {
    QTemporaryDir dir;
    MeterStateBoard board{std::vector<MeterState>(1)};
    EventHub events;
    std::unique_ptr<HttpServer> server;

    explicit LiveRig(bool withChart = true) {
        QDir(dir.path()).mkdir(QStringLiteral("page"));
        writeFile(dir.filePath(QStringLiteral("page/index.html")), "<p>page</p>\n");
        writeFile(dir.filePath(QStringLiteral("page/page.js")), "export {};\n");
        if (withChart)
            writeFile(dir.filePath(QStringLiteral("chart.min.js")), "var Chart;\n");
        board.update(0, [](MeterState& state) { state.id = QStringLiteral("hall"); });
        RouteTable routes;
        addLivePage(
            routes, board, events,
            {dir.filePath(QStringLiteral("page")), dir.filePath(QStringLiteral("chart.min.js"))});
        server = std::make_unique<HttpServer>(routes, [this] { events.close(); });
    }
    bool start() { return bool(server->start({QStringLiteral("127.0.0.1"), 0})); }
    int port() const { return server->port(); }
    QByteArray exchange(const QByteArray& path, const QByteArray& method = "GET",
                        const QByteArray& headers = QByteArray()) const {
        HttpClient client(port());
        client.get(path, method, headers);
        return client.readAll();
    }
};

const QByteArray metersOfTheRig(
    "{\"meters\":[{\"batteryLow\":false,\"dewPoint\":null,\"dewPointKind\":\"dew\",\"file\":\"\","
    "\"humidity\":null,\"humidityStatus\":\"none\",\"id\":\"hall\",\"message\":\"\",\"meter\":0,"
    "\"port\":\"\",\"readings\":0,\"state\":\"starting\",\"takenAt\":null,\"temperature\":null,"
    "\"temperatureStatus\":\"none\",\"temperatureUnit\":\"°C\"}]}");

// What an event stream opens with.
const QByteArray streamStart = "retry: 3000\n\nevent: meters\ndata: " + metersOfTheRig + "\n\n";

} // namespace

// The live page's paths on a real listener: what each answers, with which headers, and the event
// streams: bounded, woken by each event, and ended at once when the server stops.
class NetLiveTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void paths_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        const auto get = [](const char* path) {
            return QByteArray("GET ") + path +
                   " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
        };
        const QByteArray ok("HTTP/1.1 200 OK");
        const QByteArray plain("text/plain; charset=utf-8");
        QTest::newRow("/") << get("/") << ok << QByteArray("text/html; charset=utf-8")
                           << QByteArray("<p>page</p>\n");
        QTest::newRow("/index.html")
            << get("/index.html") << ok << QByteArray("text/html; charset=utf-8")
            << QByteArray("<p>page</p>\n");
        QTest::newRow("/page.js") << get("/page.js") << ok
                                  << QByteArray("text/javascript; charset=utf-8")
                                  << QByteArray("export {};\n");
        QTest::newRow("/chart.js")
            << get("/chart.js") << ok << QByteArray("text/javascript; charset=utf-8")
            << QByteArray("var Chart;\n");
        QTest::newRow("/api/meters")
            << get("/api/meters") << ok << QByteArray("application/json") << metersOfTheRig;
        QTest::newRow("/api/meters with a query")
            << get("/api/meters?x=1") << ok << QByteArray("application/json") << metersOfTheRig;
        QTest::newRow("an unknown path") << get("/page.jsx") << QByteArray("HTTP/1.1 404 Not Found")
                                         << plain << QByteArray("Not Found\n");
        QTest::newRow("a path out of the folder")
            << get("/../chart.min.js") << QByteArray("HTTP/1.1 404 Not Found") << plain
            << QByteArray("Not Found\n");
        for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS"})
            QTest::addRow("%s /api/meters", method)
                << QByteArray(method) + " /api/meters HTTP/1.1\r\nHost: localhost\r\nConnection: "
                                        "close\r\nContent-Length: 0\r\n\r\n"
                << QByteArray("HTTP/1.1 405 Method Not Allowed") << plain
                << QByteArray("Method Not Allowed\n");
        QTest::newRow("POST /events")
            << QByteArray("POST /events HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n")
            << QByteArray("HTTP/1.1 405 Method Not Allowed") << plain
            << QByteArray("Method Not Allowed\n");
        QTest::newRow("a body") << QByteArray(
                                       "GET / HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n"
                                       "Content-Length: 2\r\n\r\nhi")
                                << QByteArray("HTTP/1.1 413 Content Too Large") << plain
                                << QByteArray("No body expected\n");
    }
    void paths() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, statusLine);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        LiveRig rig;
        QVERIFY(rig.start());
        HttpClient client(rig.port());
        QVERIFY(client.send(request));
        const QByteArray response = client.readAll();
        QCOMPARE(statusLineOf(response), statusLine);
        QCOMPARE(headerOf(response, "Content-Type"), contentType);
        QCOMPARE(bodyOfAnswer(response), body);
        QCOMPARE(headerOf(response, "X-Content-Type-Options"), QByteArray("nosniff"));
        QCOMPARE(headerOf(response, "Referrer-Policy"), QByteArray("no-referrer"));
        QCOMPARE(headerOf(response, "Content-Security-Policy"), securityPolicy);
        QCOMPARE(headerOf(response, "Allow"),
                 statusLine.contains("405") ? QByteArray("GET, HEAD") : QByteArray());
    }

    // The browser's copy is asked about each time and kept while the file is the same.
    void pageFilesAreTaggedByContent() {
        LiveRig rig;
        QVERIFY(rig.start());
        const QByteArray first = rig.exchange("/page.js");
        const QByteArray tag = headerOf(first, "ETag");
        QCOMPARE(tag.size(), 34);
        QCOMPARE(headerOf(first, "Cache-Control"), QByteArray("no-cache"));
        const QByteArray again = rig.exchange("/page.js", "GET", "If-None-Match: " + tag + "\r\n");
        QCOMPARE(statusLineOf(again), QByteArray("HTTP/1.1 304 Not Modified"));
        QCOMPARE(bodyOfAnswer(again), QByteArray());
        const QByteArray listed =
            rig.exchange("/page.js", "GET", "If-None-Match: \"old\", W/" + tag + "\r\n");
        QCOMPARE(statusLineOf(listed), QByteArray("HTTP/1.1 304 Not Modified"));
        const QByteArray changed = rig.exchange("/page.js", "GET", "If-None-Match: \"old\"\r\n");
        QCOMPARE(statusLineOf(changed), QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(bodyOfAnswer(changed), QByteArray("export {};\n"));
        QVERIFY(headerOf(rig.exchange("/index.html"), "ETag") != tag);
    }

    void aMissingChartIsSaid() {
        LiveRig rig(false);
        QVERIFY(rig.start());
        const QByteArray response = rig.exchange("/chart.js");
        QCOMPARE(statusLineOf(response), QByteArray("HTTP/1.1 404 Not Found"));
        QCOMPARE(bodyOfAnswer(response),
                 QByteArray("Chart.js is not installed (package libjs-chart.js)"));
    }

    // Eight pages follow; the ninth is told to close one. Each event reaches every page, and a
    // stop with all of them open ends at once.
    void eventStreams() {
        LiveRig rig;
        QVERIFY(rig.start());
        std::vector<std::unique_ptr<HttpClient>> pages;
        std::vector<QByteArray> received(8);
        for (size_t page = 0; page < 8; ++page) {
            pages.push_back(std::make_unique<HttpClient>(rig.port()));
            QVERIFY(pages.back()->get("/events"));
            QVERIFY(pages.back()->readUntil(received[page], streamStart));
            QCOMPARE(headerOf(received[page], "Content-Type"), QByteArray("text/event-stream"));
        }
        const QByteArray refused = rig.exchange("/events");
        QCOMPARE(statusLineOf(refused), QByteArray("HTTP/1.1 503 Service Unavailable"));
        QCOMPARE(bodyOfAnswer(refused),
                 QByteArray("Too many live pages are open (8): close one and reload."));
        rig.events.publish(serverSentEvent("meter", "{\"meter\":0}"));
        for (size_t page = 0; page < 8; ++page)
            QVERIFY(
                pages[page]->readUntil(received[page], "event: meter\ndata: {\"meter\":0}\n\n"));
        QElapsedTimer stopping;
        stopping.start();
        rig.server->stop();
        QVERIFY2(stopping.elapsed() < 1000, QByteArray::number(stopping.elapsed()));
        QByteArray rest;
        while (pages[0]->readSome(rest))
            ;
        QVERIFY(rest.isEmpty() || rest.endsWith("0\r\n\r\n"));
    }

    // A page left open is not closed by the limit on a request's time: the server's 5 s pass.
    void aStreamOutlivesTheRequestTimeout() {
        LiveRig rig;
        QVERIFY(rig.start());
        HttpClient page(rig.port());
        QVERIFY(page.get("/events"));
        QByteArray received;
        QVERIFY(page.readUntil(received, streamStart));
        QTest::qWait(6500);
        rig.events.publish(serverSentEvent("meter", "{\"meter\":0}"));
        QVERIFY(page.readUntil(received, "event: meter\ndata: {\"meter\":0}\n\n"));
    }

    // A page that takes nothing is dropped once its queue is full, and its place is free again.
    void aPageThatDoesNotKeepUpIsDropped() {
        EventHub hub;
        std::shared_ptr<BodyStream> slow = hub.join("retry: 3000\n\n");
        QVERIFY(slow);
        int wakes = 0;
        slow->setWake([&wakes] { ++wakes; });
        const QByteArray event = serverSentEvent("meter", QByteArray(1000, 'x'));
        const qsizetype fit = (EventHub::QueueLimitBytes - 13) / event.size();
        for (qsizetype n = 0; n < fit; ++n)
            hub.publish(event);
        char buffer[64];
        int suspended = 0;
        QCOMPARE(slow->read(buffer, 64, [&suspended] { ++suspended; }), 64);
        hub.publish(event);
        QCOMPARE(slow->read(buffer, 64, [&suspended] { ++suspended; }), BodyStream::Failed);
        QCOMPARE(suspended, 0);
        QCOMPARE(wakes, 0);
        std::vector<std::shared_ptr<BodyStream>> others;
        for (int open = 1; open < EventHub::ClientLimit; ++open) {
            others.push_back(hub.join(QByteArray()));
            QVERIFY(others.back());
        }
        QVERIFY(!hub.join(QByteArray()));
        slow.reset();
        QVERIFY(hub.join(QByteArray()));
    }

    // A stream with nothing to send suspends, is woken by the next event, and ends on close.
    void anIdleStreamWaitsForTheNextEvent() {
        EventHub hub;
        const std::shared_ptr<BodyStream> stream = hub.join("a");
        int wakes = 0;
        stream->setWake([&wakes] { ++wakes; });
        char buffer[8];
        int suspended = 0;
        const auto suspend = [&suspended] { ++suspended; };
        QCOMPARE(stream->read(buffer, 8, suspend), 1);
        QCOMPARE(stream->read(buffer, 8, suspend), BodyStream::Waiting);
        QCOMPARE(suspended, 1);
        hub.publish("bc");
        QCOMPARE(wakes, 1);
        hub.publish("d");
        QCOMPARE(wakes, 1);
        QCOMPARE(stream->read(buffer, 8, suspend), 3);
        QCOMPARE(QByteArray(buffer, 3), QByteArray("bcd"));
        QCOMPARE(stream->read(buffer, 8, suspend), BodyStream::Waiting);
        hub.close();
        QCOMPARE(wakes, 2);
        QCOMPARE(stream->read(buffer, 8, suspend), BodyStream::Ended);
    }
};

QTEST_GUILESS_MAIN(NetLiveTest)
#include "net_live_test.moc"
