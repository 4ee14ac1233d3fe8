// The simulated meter's answers to each command, and how it cuts the PC's bytes into commands.
#include "FakeClock.h"
#include "engine/MeterEngine.h"
#include "link/FrameDecoder.h"

#include <QtTest>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int value : values)
        result.append(static_cast<char>(value));
    return result;
}

int word(const QByteArray& reply, int firstByte) {
    return quint8(reply.at(firstByte - 1)) * 256 + quint8(reply.at(firstByte));
}

LiveReading decode(const QByteArray& frame) {
    LiveReading reading;
    decodeLiveFrame(frame, reading);
    return reading;
}

// The PC's parameter frames, sent whole from its 7-byte buffer.
QByteArray loggerFrame(char letter, int high, int low, int third = 0) {
    return QByteArray(1, letter) + bytes({high, low, third, 0, 0, 0});
}

} // namespace

class SimEngineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void liveFrameShowsMeterTimeAndReading();
    void statusReplyLayout();
    void clockReplyIsBcd();
    void directoryHasTenBytesASetAndOne();
    void downloadHeaderAndRecords();
    void unknownSetDownloadsNothing();
    void splitCommandsWaitForTheirRest();
    void severalCommandsAndGarbage();
    void eraseNeedsThreeEInARow_data();
    void eraseNeedsThreeEInARow();
    void loneEWaitsForMore();
    void staleFrameIsGivenUp();
    void downloadAfterIntervalAndIdFrames();
    void clockFrameSetsTheMeterClock();
    void invalidClockFrameIsIgnored();
    void recordingMakesASetThatGrows();
    void recordingStoresTheReadings();
    void memoryFullStopsRecording();

private:
    FakeClock* clock_ = nullptr;
    MeterEngine* engine_ = nullptr;
};

void SimEngineTest::init() {
    clock_ = new FakeClock(QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)));
    FakeClock* clock = clock_;
    engine_ = new MeterEngine([clock] { return clock->now(); });
}

void SimEngineTest::cleanup() {
    delete engine_;
    delete clock_;
}

void SimEngineTest::liveFrameShowsMeterTimeAndReading() {
    QCOMPARE(engine_->control("rh 55.5"), QStringLiteral("ok"));
    QCOMPARE(engine_->control("temp 21.3"), QStringLiteral("ok"));
    const QByteArray frame = engine_->receive(" ");
    QCOMPARE(frame.size(), 8);
    const LiveReading reading = decode(frame);
    QCOMPARE(reading.MeterTimeText, QStringLiteral("15:09"));
    QCOMPARE(reading.HumidityText, QStringLiteral("55.5"));
    QCOMPARE(reading.TemperatureText, QStringLiteral("21.3"));
    QCOMPARE(reading.TempUnit, QStringLiteral("C"));
    QCOMPARE(reading.MeterRecording, 0);

    engine_->control("unit F");
    const LiveReading fahrenheit = decode(engine_->receive(" "));
    QCOMPARE(fahrenheit.TempUnit, QStringLiteral("F"));
    QCOMPARE(fahrenheit.TemperatureText, QStringLiteral("70.3")); // 21.3 * 9 / 5 + 32 = 70.34
}

void SimEngineTest::statusReplyLayout() {
    const QByteArray reply = engine_->receive("Y");
    QCOMPARE(reply.size(), 9);
    QCOMPARE(word(reply, 1), MeterEngine::DefaultIdCode);
    QCOMPARE(quint8(reply.at(4)), quint8(3));
    // Three set headers of 10 bytes and 12 + 1 + 30 records of 4 bytes.
    QCOMPARE(word(reply, 6), 3 * 10 + 43 * 4);
    QCOMPARE(word(reply, 8), MeterEngine::DefaultLoggerInterval);
}

void SimEngineTest::clockReplyIsBcd() {
    QCOMPARE(engine_->receive("C"), bytes({0x26, 0x03, 0x14, 0x15, 0x09, 0x26}));
}

void SimEngineTest::directoryHasTenBytesASetAndOne() {
    const QByteArray directory = engine_->receive("I");
    QCOMPARE(directory.size(), 31);
    // Set k's entry is bytes 10k-8 to 10k+1.
    QCOMPARE(directory.mid(1, 6), bytes({0x24, 0x01, 0x31, 0x23, 0x58, 0x30}));
    QCOMPARE(word(directory, 10), 12);
    QCOMPARE(directory.mid(11, 6), bytes({0x24, 0x02, 0x10, 0x12, 0x00, 0x00}));
    QCOMPARE(word(directory, 20), 1);
    QCOMPARE(directory.mid(21, 6), bytes({0x24, 0x03, 0x15, 0x09, 0x30, 0x00}));
    QCOMPARE(word(directory, 30), 30);
}

void SimEngineTest::downloadHeaderAndRecords() {
    const QByteArray set1 = engine_->receive(loggerFrame('K', 1, 0));
    QCOMPARE(set1.size(), 10 + 4 * 12);
    QCOMPARE(set1.left(6), bytes({0x24, 0x01, 0x31, 0x23, 0x58, 0x30}));
    // 30 s apart from 23:58:30, so the fourth record falls on midnight and on the 1st of February.
    QCOMPARE(word(set1, 7), 30);

    LiveReading first;
    decodeRecordFrame(set1.left(3) + set1.mid(10, 4), first);
    QCOMPARE(first.TemperatureText, QStringLiteral("-01.6"));
    QCOMPARE(first.HumidityText, QStringLiteral("81"));
    QCOMPARE(first.BatteryLow, 0);
    LiveReading last;
    decodeRecordFrame(set1.left(3) + set1.mid(10 + 4 * 11, 4), last);
    QCOMPARE(last.TemperatureText, QStringLiteral("01.7"));
    QCOMPARE(last.BatteryLow, 1);

    const QByteArray single = engine_->receive(loggerFrame('K', 2, 0));
    QCOMPARE(single.size(), 14);
    LiveReading only;
    decodeRecordFrame(single.left(3) + single.mid(10, 4), only);
    QCOMPARE(only.HumidityText, QStringLiteral("45.2"));
    QCOMPARE(only.TemperatureText, QStringLiteral("21.3"));

    QCOMPARE(engine_->receive(loggerFrame('K', 3, 0)).size(), 10 + 4 * 30);
}

void SimEngineTest::unknownSetDownloadsNothing() {
    QVERIFY(engine_->receive(loggerFrame('K', 0, 0)).isEmpty());
    QVERIFY(engine_->receive(loggerFrame('K', 4, 0)).isEmpty());
    // The frame was taken whole: what follows is a command of its own.
    QCOMPARE(engine_->receive("Y").size(), 9);
}

void SimEngineTest::splitCommandsWaitForTheirRest() {
    const QByteArray frame = loggerFrame('K', 2, 0);
    QVERIFY(engine_->receive(frame.left(2)).isEmpty());
    QVERIFY(engine_->receive(frame.mid(2, 3)).isEmpty());
    QCOMPARE(engine_->receive(frame.mid(5)).size(), 14);

    const QByteArray clockFrame = bytes({'D', 0x26, 0x07, 0x04, 0x08, 0x30, 0x00, 0x00});
    for (int i = 0; i < clockFrame.size(); ++i)
        QVERIFY(engine_->receive(clockFrame.mid(i, 1)).isEmpty());
    QCOMPARE(engine_->receive("C"), bytes({0x26, 0x07, 0x04, 0x08, 0x30, 0x00}));
}

void SimEngineTest::severalCommandsAndGarbage() {
    const QByteArray both = engine_->receive(" Y");
    QCOMPARE(both.size(), 17);
    QCOMPARE(both.mid(8), engine_->receive("Y"));

    const QByteArray noisy = engine_->receive(bytes({0x00, 'z', 0xFF, ' ', '\r', 'Y', 0x80}));
    QCOMPARE(noisy.size(), 17);
    QVERIFY(engine_->receive("abc\n\x01").isEmpty());
}

void SimEngineTest::eraseNeedsThreeEInARow_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("setsLeft");
    QTest::newRow("EEE") << QByteArray("EEE") << 0;
    QTest::newRow("EEE in pieces") << QByteArray("EE") << 3;
    QTest::newRow("E E E") << QByteArray("E E E") << 3;
    QTest::newRow("EE then Y") << QByteArray("EEY") << 3;
    QTest::newRow("noise, then EEE") << QByteArray("xE\x01"
                                                   "EEE")
                                     << 0;
}

void SimEngineTest::eraseNeedsThreeEInARow() {
    QFETCH(QByteArray, sent);
    QFETCH(int, setsLeft);
    engine_->receive(sent);
    QCOMPARE(engine_->memory().setCount(), setsLeft);
    QCOMPARE(quint8(engine_->receive("Y").at(4)), quint8(setsLeft));
}

void SimEngineTest::loneEWaitsForMore() {
    QVERIFY(engine_->receive("E").isEmpty());
    QCOMPARE(engine_->memory().setCount(), 3);
    engine_->receive("E");
    QCOMPARE(engine_->memory().setCount(), 3);
    engine_->receive("E");
    QCOMPARE(engine_->memory().setCount(), 0);
    const QByteArray status = engine_->receive("Y");
    QCOMPARE(status.size(), 9);
    QCOMPARE(word(status, 6), 0);
    QCOMPARE(engine_->receive("I"), bytes({0}));
}

void SimEngineTest::staleFrameIsGivenUp() {
    QVERIFY(engine_->receive("K\x01").isEmpty());
    clock_->advanceMilliseconds(CommandSplitter::StaleMilliseconds + 500);
    // Without the give-up these would be taken as the download frame's remaining bytes.
    QCOMPARE(engine_->receive("Y").size(), 9);
    QCOMPARE(engine_->receive(" ").size(), 8);
}

void SimEngineTest::downloadAfterIntervalAndIdFrames() {
    QVERIFY(engine_->receive(loggerFrame('W', 0x01, 0x2C)).isEmpty());
    // The PC's download frame keeps the low byte of the last parameter frame in its third byte.
    QCOMPARE(engine_->receive(loggerFrame('K', 2, 0x2C)).size(), 14);
    QVERIFY(engine_->receive(loggerFrame('X', 0x30, 0x39)).isEmpty());
    QCOMPARE(engine_->receive(loggerFrame('K', 1, 0x39)).size(), 58);

    const QByteArray status = engine_->receive("Y");
    QCOMPARE(word(status, 1), 12345);
    QCOMPARE(word(status, 8), 300);
    QCOMPARE(engine_->loggerInterval(), 300);
    QCOMPARE(engine_->idCode(), 12345);
}

void SimEngineTest::clockFrameSetsTheMeterClock() {
    QVERIFY(engine_->receive(bytes({'D', 0x09, 0x12, 0x31, 0x23, 0x59, 0x59, 0x00})).isEmpty());
    QCOMPARE(engine_->receive("C"), bytes({0x09, 0x12, 0x31, 0x23, 0x59, 0x59}));
    QCOMPARE(decode(engine_->receive(" ")).MeterTimeText, QStringLiteral("23:59"));

    clock_->advanceMilliseconds(1000);
    QCOMPARE(engine_->receive("C"), bytes({0x10, 0x01, 0x01, 0x00, 0x00, 0x00}));
    QCOMPARE(decode(engine_->receive(" ")).MeterTimeText, QStringLiteral("00:00"));
}

void SimEngineTest::invalidClockFrameIsIgnored() {
    engine_->receive(bytes({'D', 0x26, 0x13, 0x01, 0x10, 0x00, 0x00, 0x00})); // month 13
    engine_->receive(bytes({'D', 0x26, 0x02, 0x30, 0x10, 0x00, 0x00, 0x00})); // 30 February
    engine_->receive(bytes({'D', 0x26, 0x01, 0x1A, 0x10, 0x00, 0x00, 0x00})); // not BCD
    QCOMPARE(engine_->receive("C"), bytes({0x26, 0x03, 0x14, 0x15, 0x09, 0x26}));
}

void SimEngineTest::recordingMakesASetThatGrows() {
    engine_->receive(loggerFrame('W', 0, 10));
    clock_->advanceMilliseconds(400); // the set starts on the whole second
    engine_->receive("S");
    QVERIFY(engine_->recording());
    QCOMPARE(decode(engine_->receive(" ")).MeterRecording, 1);

    QByteArray directory = engine_->receive("I");
    QCOMPARE(directory.size(), 41);
    QCOMPARE(directory.mid(31, 6), bytes({0x26, 0x03, 0x14, 0x15, 0x09, 0x26}));
    QCOMPARE(word(directory, 40), 1);

    clock_->advanceMilliseconds(35'000);
    directory = engine_->receive("I");
    QCOMPARE(word(directory, 40), 4); // at 0, 10, 20 and 30 s
    const int usedWhileRecording = word(engine_->receive("Y"), 6);
    QCOMPARE(usedWhileRecording, 202 + 10 + 4 * 4);

    engine_->receive("T");
    QCOMPARE(decode(engine_->receive(" ")).MeterRecording, 0);
    clock_->advanceMilliseconds(100'000);
    QCOMPARE(word(engine_->receive("I"), 40), 4);

    // "R" starts a set as well; a second start while recording adds nothing.
    engine_->receive("RR");
    QCOMPARE(quint8(engine_->receive("Y").at(4)), quint8(5));
    engine_->receive("S");
    QCOMPARE(engine_->memory().setCount(), 5);
}

void SimEngineTest::recordingStoresTheReadings() {
    engine_->receive("EEE");
    engine_->control("rh 61.5");
    engine_->control("temp -3.2");
    engine_->control("battery on");
    engine_->receive(loggerFrame('W', 0, 1));
    engine_->receive("S");
    clock_->advanceMilliseconds(2'000);
    engine_->receive("T");

    const QByteArray download = engine_->receive(loggerFrame('K', 1, 1));
    QCOMPARE(download.size(), 10 + 4 * 3);
    QCOMPARE(word(download, 7), 1);
    for (int r = 0; r < 3; ++r) {
        LiveReading record;
        decodeRecordFrame(download.left(3) + download.mid(10 + 4 * r, 4), record);
        QCOMPARE(record.HumidityText, QStringLiteral("61.5"));
        QCOMPARE(record.TemperatureText, QStringLiteral("-03.2"));
        QCOMPARE(record.BatteryLow, 1);
    }
}

void SimEngineTest::memoryFullStopsRecording() {
    engine_->receive("EEE");
    engine_->receive(loggerFrame('W', 0, 1));
    engine_->receive("S");
    clock_->advanceMilliseconds(9'000'000);

    // One header of 10 bytes, then as many 4-byte records as fit in 32768 bytes.
    const int records = (32768 - 10) / 4;
    const QByteArray status = engine_->receive("Y");
    QCOMPARE(word(status, 6), 10 + 4 * records);
    QCOMPARE(word(engine_->receive("I"), 10), records);
    const LiveReading reading = decode(engine_->receive(" "));
    QCOMPARE(reading.MemoryFull, 1);
    QCOMPARE(reading.MeterRecording, 0);

    engine_->receive("S");
    QCOMPARE(engine_->memory().setCount(), 1);
    QVERIFY(!engine_->recording());

    engine_->receive("EEE");
    QCOMPARE(decode(engine_->receive(" ")).MemoryFull, 0);
}

QTEST_GUILESS_MAIN(SimEngineTest)
#include "sim_engine_test.moc"
