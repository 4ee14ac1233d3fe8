// What the simulated meter does that the program's end-to-end runs do not look at closely: the
// readings in its live frame, the memory count in the status reply, each status flag on its own
// bit, and dropped bytes.
#include "FakeClock.h"
#include "FrameBytes.h"
#include "engine/MeterEngine.h"

#include <QtTest>

class SimEngineTest : public QObject {
    Q_OBJECT
private:
    FakeClock clock_{QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26))};
    std::unique_ptr<MeterEngine> engine_;

private Q_SLOTS:
    void init() {
        engine_ = std::make_unique<MeterEngine>([this] { return clock_.now(); });
    }

    // Sets, then bytes used: a header of 10 a set and 4 a record (12 + 1 + 30 records).
    void statusCountsSetsAndBytes() {
        const QByteArray status = engine_->receive("Y");
        QCOMPARE(status.size(), 9);
        QCOMPARE(quint8(status.at(4)), quint8(3));
        QCOMPARE(quint8(status.at(5)) * 256 + quint8(status.at(6)), 3 * 10 + 43 * 4);
        engine_->receive("EEE");
        QCOMPARE(engine_->receive("Y").mid(4, 3), QByteArray(3, '\0'));
    }

    void eachFlagHasItsBit_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QList<int>>("flags"); // battery, hold, memory full, recording
        QTest::newRow("battery") << "battery on" << QByteArray() << QList<int>{1, 0, 0, 0};
        QTest::newRow("hold") << "hold on" << QByteArray() << QList<int>{0, 1, 0, 0};
        QTest::newRow("full") << "fill" << QByteArray() << QList<int>{0, 0, 1, 0};
        QTest::newRow("recording") << "" << QByteArray("S") << QList<int>{0, 0, 0, 1};
    }
    void eachFlagHasItsBit() {
        QFETCH(QString, control);
        QFETCH(QByteArray, command);
        QFETCH(QList<int>, flags);
        engine_->control(control);
        engine_->receive(command);
        const LiveReading shown = decodedLive(engine_->receive(" "));
        QCOMPARE(
            (QList<int>{shown.BatteryLow, shown.HoldOn, shown.MemoryFull, shown.MeterRecording}),
            flags);
    }

    // What the meter is told to measure is what the program reads from its live frame.
    void liveFrameCarriesTheReading_data() {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QStringList>("read"); // humidity, temperature, unit, meter time
        QTest::newRow("frost") << QStringList{"rh 80", "temp -5.3"}
                               << QStringList{"80", "-05.3", "C", "15:09"};
        QTest::newRow("overload") << QStringList{"rh 10", "overload on"}
                                  << QStringList{"10", "OL", "C", "15:09"};
    }
    void liveFrameCarriesTheReading() {
        QFETCH(QStringList, controls);
        QFETCH(QStringList, read);
        for (const QString& line : QStringList{"drift off"} + controls)
            QCOMPARE(engine_->control(line), QStringLiteral("ok"));
        const LiveReading live = decodedLive(engine_->receive(" "));
        QCOMPARE((QStringList{live.HumidityText, live.TemperatureText, live.TempUnit,
                              live.MeterTimeText}),
                 read);
    }

    void dropAndExtraShapeTheNextReplies() {
        const QByteArray frame = engine_->receive(" ");
        engine_->control("drop 3");
        QCOMPARE(engine_->receive(" "), frame.mid(3));
        engine_->control("extra 2");
        QCOMPARE(engine_->receive(" "), frame + QByteArray(2, '\xFF'));
        QCOMPARE(engine_->receive(" "), frame);
    }

    // A byte lost in the middle of each long reply, while the short ones before pass; then a
    // command lost on its way to the meter.
    void slipAndDeafLoseBytesOnEitherSide() {
        const QByteArray download = QByteArray("K\x03", 2) + QByteArray(5, '\0');
        const QByteArray set = engine_->receive(download);
        QCOMPARE(set.size(), 10 + 30 * 4);
        QCOMPARE(engine_->control("slip 40 2"), QStringLiteral("ok"));
        QCOMPARE(engine_->receive("Y").size(), 9);
        const QByteArray slipped = set.left(40) + set.mid(41);
        QCOMPARE(engine_->receive(download), slipped);
        QCOMPARE(engine_->receive(download), slipped);
        QCOMPARE(engine_->receive(download), set);
        QCOMPARE(engine_->control("deaf 7"), QStringLiteral("ok"));
        engine_->receive(QByteArray("W\x00\x3c", 3) + QByteArray(4, '\0'));
        QCOMPARE(engine_->receive("Y").right(2), QByteArray("\x00\x02", 2));
    }
};

QTEST_GUILESS_MAIN(SimEngineTest)
#include "sim_engine_test.moc"
