// The simulated meter's control lines that the program's tests use to make faults.
#include "FakeClock.h"
#include "FrameBytes.h"
#include "engine/MeterEngine.h"

#include <QtTest>

class SimControlTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<FakeClock> clock_;
    std::unique_ptr<MeterEngine> engine_;

private Q_SLOTS:
    void init() {
        engine_.reset();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)));
        engine_ = std::make_unique<MeterEngine>([clock = clock_.get()] { return clock->now(); });
    }

    void rejectsBadLines_data() {
        QTest::addColumn<QString>("line");
        for (const char* line : {"frobnicate", "rh 101", "rh wet", "temp", "unit K",
                                 "battery maybe", "delay -5", "raw 0", "raw zz", "quit now"})
            QTest::newRow(line) << QString::fromLatin1(line);
    }
    void rejectsBadLines() {
        QFETCH(QString, line);
        const QByteArray before = engine_->receive(" ");
        QVERIFY(engine_->control(line).startsWith(QStringLiteral("error:")));
        QCOMPARE(engine_->receive(" "), before);
        QVERIFY(engine_->takeUnsolicited().isEmpty());
        QVERIFY(engine_->takeTransportRequests().isEmpty());
    }

    void readingAndFlagsShowInTheFrame() {
        engine_->control("rh 55.5");
        engine_->control("temp 21.3");
        QCOMPARE(decodedLive(engine_->receive(" ")).TemperatureText, QStringLiteral("21.3"));
        engine_->control("unit F");
        engine_->control("battery on");
        LiveReading reading = decodedLive(engine_->receive(" "));
        QCOMPARE(reading.TemperatureText,
                 QStringLiteral("70.3")); // 21.3 * 9 / 5 + 32 = 70.34
        QCOMPARE(reading.HumidityText, QStringLiteral("55.5"));
        QCOMPARE(reading.BatteryLow, 1);
        engine_->control("overload on");
        engine_->control("hold on");
        engine_->control("rh 70");
        reading = decodedLive(engine_->receive(" "));
        QCOMPARE(reading.TemperatureText, QStringLiteral("OL"));
        QCOMPARE(reading.HoldOn, 1);
        QCOMPARE(reading.HumidityText, QStringLiteral("55.5")); // held
        engine_->control("hold off");
        QCOMPARE(decodedLive(engine_->receive(" ")).HumidityText, QStringLiteral("70"));
    }

    void silentMeterHearsNothing() {
        QCOMPARE(engine_->control("silent on"), QStringLiteral("ok"));
        QVERIFY(engine_->receive(" ").isEmpty());
        // Half a frame heard while silent is not completed by what comes after.
        engine_->receive("K");
        engine_->control("silent off");
        QCOMPARE(engine_->receive(" ").size(), 8);
        QCOMPARE(engine_->receive("Y").size(), 9);
    }

    void dropAndExtraShapeTheNextReplies() {
        const QByteArray frame = engine_->receive(" ");
        engine_->control("drop 3");
        QCOMPARE(engine_->receive(" "), frame.mid(3));
        QCOMPARE(engine_->receive(" "), frame);
        engine_->control("drop 10");
        QVERIFY(engine_->receive(" ").isEmpty());
        QCOMPARE(engine_->receive("Y").size(), 9 - 2);
        engine_->control("extra 2");
        // A command without a reply leaves the garbage for the next reply.
        QVERIFY(engine_->receive("T").isEmpty());
        QCOMPARE(engine_->receive(" "), frame + QByteArray(2, MeterEngine::GarbageByte));
        QCOMPARE(engine_->receive(" "), frame);
    }

    void rawBytesAndTransportRequestsWaitForTheTransport() {
        using Request = MeterEngine::TransportRequest;
        int notified = 0;
        engine_->setPendingNotifier([&notified] { ++notified; });
        QCOMPARE(engine_->control("raw 02 12 05"), QStringLiteral("ok"));
        QCOMPARE(engine_->control("raw 0a0B"), QStringLiteral("ok"));
        QCOMPARE(engine_->takeUnsolicited(), QByteArray("\x02\x12\x05\x0a\x0b", 5));
        QVERIFY(engine_->takeUnsolicited().isEmpty());
        engine_->control("unplug");
        engine_->control("replug");
        engine_->control("quit");
        QCOMPARE(notified, 5);
        QCOMPARE(engine_->takeTransportRequests(),
                 (QList<Request>{Request::Unplug, Request::Replug, Request::Quit}));
        QVERIFY(engine_->takeTransportRequests().isEmpty());
    }

    // The program's tests turn drift off to read fixed values.
    void driftOffFreezesTheReading() {
        engine_->control("drift off");
        const QByteArray frozen = engine_->receive(" ");
        clock_->advanceMilliseconds(120'000);
        QCOMPARE(engine_->receive(" ").mid(3, 4), frozen.mid(3, 4));
        engine_->control("drift on");
        clock_->advanceMilliseconds(120'000);
        QVERIFY(engine_->receive(" ").mid(3, 4) != frozen.mid(3, 4));
    }
};

QTEST_GUILESS_MAIN(SimControlTest)
#include "sim_control_test.moc"
