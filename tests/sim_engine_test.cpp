// The simulated meter's datalogger answers, and how it cuts the PC's bytes into commands.
#include "FakeClock.h"
#include "FrameBytes.h"
#include "engine/MeterEngine.h"

#include <QtTest>

namespace {

int word(const QByteArray& reply, int firstByte) {
    return quint8(reply.at(firstByte - 1)) * 256 + quint8(reply.at(firstByte));
}

// Record r of a download, as the PC rebuilds it: the set's three header bytes in front.
LiveReading record(const QByteArray& download, int r) {
    LiveReading reading;
    decodeRecordFrame(download.left(3) + download.mid(10 + 4 * r, 4), reading);
    return reading;
}

// The PC's parameter frames, sent whole from its 7-byte buffer.
QByteArray loggerFrame(char letter, int high, int low, int third = 0) {
    return QByteArray(1, letter) + frameOf({high, low, third, 0, 0, 0});
}

} // namespace

class SimEngineTest : public QObject {
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

    // Status: id code, set count, bytes used (three headers of 10 and 12 + 1 + 30 records of 4),
    // interval; clock in BCD; a directory of 10 bytes a set and one.
    void statusClockAndDirectory() {
        const QByteArray status = engine_->receive("Y");
        QCOMPARE(status.size(), 9);
        QCOMPARE(word(status, 1), MeterEngine::DefaultIdCode);
        QCOMPARE(quint8(status.at(4)), quint8(3));
        QCOMPARE(word(status, 6), 3 * 10 + 43 * 4);
        QCOMPARE(word(status, 8), MeterEngine::DefaultLoggerInterval);
        QCOMPARE(engine_->receive("C"), frameOf({0x26, 0x03, 0x14, 0x15, 0x09, 0x26}));
        const QByteArray directory = engine_->receive("I");
        QCOMPARE(directory.size(), 31);
        QCOMPARE(directory.mid(1, 6), frameOf({0x24, 0x01, 0x31, 0x23, 0x58, 0x30}));
        QCOMPARE(word(directory, 10), 12);
        QCOMPARE(directory.mid(21, 6), frameOf({0x24, 0x03, 0x15, 0x09, 0x30, 0x00}));
        QCOMPARE(word(directory, 30), 30);
    }

    void downloadHeaderAndRecords() {
        const QByteArray set1 = engine_->receive(loggerFrame('K', 1, 0));
        QCOMPARE(set1.size(), 10 + 4 * 12);
        QCOMPARE(set1.left(6), frameOf({0x24, 0x01, 0x31, 0x23, 0x58, 0x30}));
        QCOMPARE(word(set1, 7), 30);
        QCOMPARE(record(set1, 0).TemperatureText, QStringLiteral("-01.6"));
        QCOMPARE(record(set1, 0).HumidityText, QStringLiteral("81"));
        QCOMPARE(record(set1, 0).BatteryLow, 0);
        QCOMPARE(record(set1, 11).TemperatureText, QStringLiteral("01.7"));
        QCOMPARE(record(set1, 11).BatteryLow, 1);
        QCOMPARE(engine_->receive(loggerFrame('K', 3, 0)).size(), 10 + 4 * 30);
        // Unknown sets give nothing, and the frame was taken whole.
        QVERIFY(engine_->receive(loggerFrame('K', 0, 0)).isEmpty());
        QVERIFY(engine_->receive(loggerFrame('K', 4, 0)).isEmpty());
        QCOMPARE(engine_->receive("Y").size(), 9);
    }

    void splitCommandsWaitForTheirRestAndGarbageIsSkipped() {
        const QByteArray frame = loggerFrame('K', 2, 0);
        QVERIFY(engine_->receive(frame.left(2)).isEmpty());
        QVERIFY(engine_->receive(frame.mid(2, 3)).isEmpty());
        QCOMPARE(engine_->receive(frame.mid(5)).size(), 14);
        const QByteArray noisy = engine_->receive(frameOf({0x00, 'z', 0xFF, ' ', '\r', 'Y', 0x80}));
        QCOMPARE(noisy.size(), 8 + 9);
        QCOMPARE(noisy.mid(8), engine_->receive("Y"));
    }

    void eraseNeedsThreeEInARow_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("setsLeft");
        QTest::newRow("EEE") << QByteArray("EEE") << 0;
        QTest::newRow("EE") << QByteArray("EE") << 3;
        QTest::newRow("EE then Y") << QByteArray("EEY") << 3;
        QTest::newRow("noise, then EEE") << QByteArray("xE\x01") + "EEE" << 0;
    }
    void eraseNeedsThreeEInARow() {
        QFETCH(QByteArray, sent);
        QFETCH(int, setsLeft);
        engine_->receive(sent);
        QCOMPARE(quint8(engine_->receive("Y").at(4)), quint8(setsLeft));
        if (setsLeft == 0)
            QCOMPARE(engine_->receive("I"), frameOf({0}));
    }

    void staleFrameIsGivenUp() {
        QVERIFY(engine_->receive("K\x01").isEmpty());
        clock_->advanceMilliseconds(CommandSplitter::StaleMilliseconds + 500);
        // Without the give-up this would be taken as the download frame's remaining bytes.
        QCOMPARE(engine_->receive("Y").size(), 9);
    }

    void clockFrameSetsTheMeterClockUnlessInvalid() {
        engine_->receive(frameOf({'D', 0x26, 0x02, 0x30, 0x10, 0x00, 0x00, 0x00})); // 30 February
        engine_->receive(frameOf({'D', 0x26, 0x01, 0x1A, 0x10, 0x00, 0x00, 0x00})); // not BCD
        QCOMPARE(engine_->receive("C"), frameOf({0x26, 0x03, 0x14, 0x15, 0x09, 0x26}));
        QVERIFY(
            engine_->receive(frameOf({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0x00})).isEmpty());
        clock_->advanceMilliseconds(1000);
        QCOMPARE(engine_->receive("C"), frameOf({0x10, 0x01, 0x01, 0x00, 0x00, 0x00}));
        QCOMPARE(decodedLive(engine_->receive(" ")).MeterTimeText, QStringLiteral("00:00"));
    }

    void recordingMakesASetOfTheReadings() {
        engine_->control("rh 61.5");
        engine_->control("temp -3.2");
        engine_->control("battery on");
        engine_->control("drift off");
        engine_->receive(loggerFrame('W', 0, 10));
        clock_->advanceMilliseconds(400); // the set starts on the whole second
        engine_->receive("S");
        QCOMPARE(decodedLive(engine_->receive(" ")).MeterRecording, 1);
        clock_->advanceMilliseconds(35'000);
        QByteArray directory = engine_->receive("I");
        QCOMPARE(directory.mid(31, 6), frameOf({0x26, 0x03, 0x14, 0x15, 0x09, 0x26}));
        QCOMPARE(word(directory, 40), 4); // at 0, 10, 20 and 30 s
        engine_->receive("T");
        QCOMPARE(decodedLive(engine_->receive(" ")).MeterRecording, 0);
        clock_->advanceMilliseconds(100'000);
        const QByteArray download = engine_->receive(loggerFrame('K', 4, 10));
        QCOMPARE(download.size(), 10 + 4 * 4);
        QCOMPARE(record(download, 3).HumidityText, QStringLiteral("61.5"));
        QCOMPARE(record(download, 3).TemperatureText, QStringLiteral("-03.2"));
        QCOMPARE(record(download, 3).BatteryLow, 1);
        // "R" starts a set as well; a second start while recording adds nothing.
        engine_->receive("RR");
        QCOMPARE(quint8(engine_->receive("Y").at(4)), quint8(5));
    }

    void memoryFullStopsRecording() {
        engine_->receive("EEE");
        engine_->receive(loggerFrame('W', 0, 1));
        engine_->receive("S");
        clock_->advanceMilliseconds(9'000'000);
        // One header of 10 bytes, then as many 4-byte records as fit in 32768 bytes.
        const int records = (32768 - 10) / 4;
        QCOMPARE(word(engine_->receive("Y"), 6), 10 + 4 * records);
        QCOMPARE(word(engine_->receive("I"), 10), records);
        const LiveReading reading = decodedLive(engine_->receive(" "));
        QCOMPARE(reading.MemoryFull, 1);
        QCOMPARE(reading.MeterRecording, 0);
        engine_->receive("EEE");
        QCOMPARE(decodedLive(engine_->receive(" ")).MemoryFull, 0);
    }
};

QTEST_GUILESS_MAIN(SimEngineTest)
#include "sim_engine_test.moc"
