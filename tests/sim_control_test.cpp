// The simulated meter's control lines: what each one changes in the meter's answers.
#include "FakeClock.h"
#include "engine/MeterEngine.h"
#include "link/FrameDecoder.h"

#include <QtTest>

namespace {

LiveReading decode(const QByteArray& frame) {
    LiveReading reading;
    decodeLiveFrame(frame, reading);
    return reading;
}

} // namespace

class SimControlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void rejectsBadLines_data();
    void rejectsBadLines();
    void emptyLineGivesNoReply();
    void silentMeterHearsNothing();
    void dropLosesTheNextReplyBytes();
    void extraAppendsGarbageToTheNextReply();
    void delayAndPaceAreForTheTransport();
    void rawBytesWaitForTheTransport();
    void transportRequests();
    void holdFreezesTheShownReading();
    void flagsShowInTheFrame();
    void driftMovesSlowlyAndStopsWhenAsked();
    void eraseFillAndPreload();
    void statusNamesTheState();

private:
    FakeClock* clock_ = nullptr;
    MeterEngine* engine_ = nullptr;
};

void SimControlTest::init() {
    clock_ = new FakeClock(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)));
    FakeClock* clock = clock_;
    engine_ = new MeterEngine([clock] { return clock->now(); });
}

void SimControlTest::cleanup() {
    delete engine_;
    delete clock_;
}

void SimControlTest::rejectsBadLines_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("unknown") << "frobnicate";
    QTest::newRow("humidity above 100") << "rh 101";
    QTest::newRow("humidity not a number") << "rh wet";
    QTest::newRow("temperature missing") << "temp";
    QTest::newRow("unit K") << "unit K";
    QTest::newRow("battery maybe") << "battery maybe";
    QTest::newRow("negative delay") << "delay -5";
    QTest::newRow("odd hex digits") << "raw 0";
    QTest::newRow("not hex") << "raw zz";
    QTest::newRow("quit with words") << "quit now";
}

void SimControlTest::rejectsBadLines() {
    QFETCH(QString, line);
    const QByteArray before = engine_->receive(" ");
    QVERIFY(engine_->control(line).startsWith(QStringLiteral("error:")));
    QCOMPARE(engine_->receive(" "), before);
    QVERIFY(engine_->takeUnsolicited().isEmpty());
    QVERIFY(engine_->takeTransportRequests().isEmpty());
}

void SimControlTest::emptyLineGivesNoReply() {
    QVERIFY(engine_->control(QString()).isEmpty());
    QVERIFY(engine_->control(QStringLiteral("   ")).isEmpty());
}

void SimControlTest::silentMeterHearsNothing() {
    QCOMPARE(engine_->control("silent on"), QStringLiteral("ok"));
    QVERIFY(engine_->silent());
    QVERIFY(engine_->receive(" ").isEmpty());
    QVERIFY(engine_->receive("Y").isEmpty());
    // Half a frame heard while silent is not completed by what comes after.
    engine_->receive("K");
    engine_->control("silent off");
    QCOMPARE(engine_->receive(" ").size(), 8);
    QCOMPARE(engine_->receive("Y").size(), 9);
}

void SimControlTest::dropLosesTheNextReplyBytes() {
    const QByteArray frame = engine_->receive(" ");
    engine_->control("drop 3");
    QCOMPARE(engine_->receive(" "), frame.mid(3));
    QCOMPARE(engine_->receive(" "), frame);

    engine_->control("drop 10");
    QVERIFY(engine_->receive(" ").isEmpty());
    QCOMPARE(engine_->receive("Y").size(), 9 - 2);
    QCOMPARE(engine_->receive("Y").size(), 9);
}

void SimControlTest::extraAppendsGarbageToTheNextReply() {
    engine_->control("extra 2");
    // A command without a reply leaves the garbage for the next reply.
    QVERIFY(engine_->receive("T").isEmpty());
    const QByteArray frame = engine_->receive(" ");
    QCOMPARE(frame.size(), 10);
    QCOMPARE(frame.right(2), QByteArray(2, MeterEngine::GarbageByte));
    QCOMPARE(engine_->receive(" ").size(), 8);
}

void SimControlTest::delayAndPaceAreForTheTransport() {
    QCOMPARE(engine_->replyDelayMs(), 0);
    QVERIFY(!engine_->paced());
    engine_->control("delay 250");
    engine_->control("pace on");
    QCOMPARE(engine_->replyDelayMs(), 250);
    QVERIFY(engine_->paced());
    // The engine itself still answers at once; the transport does the waiting.
    QCOMPARE(engine_->receive(" ").size(), 8);
    engine_->control("pace off");
    QVERIFY(!engine_->paced());
}

void SimControlTest::rawBytesWaitForTheTransport() {
    int notified = 0;
    engine_->setPendingNotifier([&notified] { ++notified; });
    QCOMPARE(engine_->control("raw 02 12 05"), QStringLiteral("ok"));
    QCOMPARE(engine_->control("raw 0a0B"), QStringLiteral("ok"));
    QCOMPARE(notified, 2);
    QCOMPARE(engine_->takeUnsolicited(), QByteArray("\x02\x12\x05\x0a\x0b", 5));
    QVERIFY(engine_->takeUnsolicited().isEmpty());
}

void SimControlTest::transportRequests() {
    using Request = MeterEngine::TransportRequest;
    int notified = 0;
    engine_->setPendingNotifier([&notified] { ++notified; });
    engine_->control("unplug");
    engine_->control("replug");
    engine_->control("quit");
    QCOMPARE(notified, 3);
    QCOMPARE(engine_->takeTransportRequests(),
             (QList<Request>{Request::Unplug, Request::Replug, Request::Quit}));
    QVERIFY(engine_->takeTransportRequests().isEmpty());
}

void SimControlTest::holdFreezesTheShownReading() {
    engine_->control("rh 40");
    engine_->control("temp 18");
    engine_->control("hold on");
    engine_->control("rh 70");
    engine_->control("temp 30");
    LiveReading held = decode(engine_->receive(" "));
    QCOMPARE(held.HoldOn, 1);
    QCOMPARE(held.HumidityText, QStringLiteral("40"));
    QCOMPARE(held.TemperatureText, QStringLiteral("18"));

    engine_->control("hold off");
    const LiveReading live = decode(engine_->receive(" "));
    QCOMPARE(live.HoldOn, 0);
    QCOMPARE(live.HumidityText, QStringLiteral("70"));
    QCOMPARE(live.TemperatureText, QStringLiteral("30"));
}

void SimControlTest::flagsShowInTheFrame() {
    engine_->control("battery on");
    engine_->control("overload on");
    LiveReading reading = decode(engine_->receive(" "));
    QCOMPARE(reading.BatteryLow, 1);
    QCOMPARE(reading.TemperatureText, QStringLiteral("OL"));
    engine_->control("battery off");
    engine_->control("overload off");
    engine_->control("temp -40");
    reading = decode(engine_->receive(" "));
    QCOMPARE(reading.BatteryLow, 0);
    QCOMPARE(reading.TemperatureText, QStringLiteral("-40"));
    engine_->control("unit f");
    QCOMPARE(decode(engine_->receive(" ")).TemperatureText, QStringLiteral("-40"));
    engine_->control("rh 100");
    QCOMPARE(decode(engine_->receive(" ")).HumidityText, QStringLiteral("99.9"));
}

void SimControlTest::driftMovesSlowlyAndStopsWhenAsked() {
    double previous = engine_->shownReading().humidity;
    double lowest = previous;
    double highest = previous;
    for (int second = 0; second < 900; ++second) {
        clock_->advanceMilliseconds(1000);
        const SimReading reading = engine_->shownReading();
        QVERIFY(qAbs(reading.humidity - previous) < 0.1);
        QVERIFY(reading.humidity >= 45.0 && reading.humidity <= 55.0);
        QVERIFY(reading.temperature >= 20.0 && reading.temperature <= 25.0);
        lowest = qMin(lowest, reading.humidity);
        highest = qMax(highest, reading.humidity);
        previous = reading.humidity;
    }
    QVERIFY(highest - lowest > 5.0);

    engine_->control("drift off");
    const QByteArray frozen = engine_->receive(" ");
    clock_->advanceMilliseconds(120'000);
    QCOMPARE(engine_->receive(" ").mid(3, 4), frozen.mid(3, 4));
    engine_->control("drift on");
    clock_->advanceMilliseconds(120'000);
    QVERIFY(engine_->receive(" ").mid(3, 4) != frozen.mid(3, 4));
}

void SimControlTest::eraseFillAndPreload() {
    QCOMPARE(engine_->control("erase"), QStringLiteral("ok"));
    QCOMPARE(engine_->memory().setCount(), 0);
    QCOMPARE(engine_->control("fill"), QStringLiteral("ok"));
    QCOMPARE(decode(engine_->receive(" ")).MemoryFull, 1);
    QVERIFY(engine_->control("fill").startsWith(QStringLiteral("error:")));
    QCOMPARE(engine_->control("preload"), QStringLiteral("ok"));
    QCOMPARE(engine_->memory().setCount(), 3);
    QCOMPARE(decode(engine_->receive(" ")).MemoryFull, 0);
}

void SimControlTest::statusNamesTheState() {
    engine_->control("delay 40");
    engine_->control("battery on");
    const QString status = engine_->control("status");
    QVERIFY2(status.contains(QStringLiteral("delay=40")), qPrintable(status));
    QVERIFY2(status.contains(QStringLiteral("battery=on")), qPrintable(status));
    QVERIFY2(status.contains(QStringLiteral("sets=3")), qPrintable(status));
    QVERIFY2(status.contains(QStringLiteral("clock=2026-03-14 15:09:26")), qPrintable(status));
}

QTEST_GUILESS_MAIN(SimControlTest)
#include "sim_control_test.moc"
