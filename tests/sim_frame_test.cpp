// The simulated meter's byte layouts, read back through the program's own frame decoders.
#include "engine/Bcd.h"
#include "engine/FrameEncoder.h"
#include "link/FrameDecoder.h"
#include "text/NumberText.h"

#include <QtTest>

namespace {

SimReading reading(double humidity, double temperature, bool fahrenheit = false) {
    SimReading value;
    value.humidity = humidity;
    value.temperature = temperature;
    value.fahrenheit = fahrenheit;
    return value;
}

LiveReading decodeLive(const QByteArray& frame) {
    LiveReading decoded;
    decodeLiveFrame(frame, decoded);
    return decoded;
}

} // namespace

class SimFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bcdBothWays_data();
    void bcdBothWays();
    void readingTexts_data();
    void readingTexts();
    void everyTenthRoundTrips();
    void meterTimeAndOuterBytes();
    void flagsReachTheirBits();
    void recordIsBytesFourToSeven();
};

void SimFrameTest::bcdBothWays_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("byte");
    QTest::newRow("zero") << 0 << 0x00;
    QTest::newRow("five") << 5 << 0x05;
    QTest::newRow("fifty-nine") << 59 << 0x59;
    QTest::newRow("ninety-nine") << 99 << 0x99;
}

void SimFrameTest::bcdBothWays() {
    QFETCH(int, value);
    QFETCH(int, byte);
    QCOMPARE(int(toBcd(value)), byte);
    QCOMPARE(fromBcd(static_cast<quint8>(byte)), value);
}

void SimFrameTest::readingTexts_data() {
    QTest::addColumn<double>("humidity");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<bool>("overload");
    QTest::addColumn<QString>("humidityText");
    QTest::addColumn<QString>("temperatureText");
    QTest::addColumn<QString>("unit");

    QTest::newRow("ordinary") << 54.3 << 23.5 << false << false << "54.3"
                              << "23.5"
                              << "C";
    QTest::newRow("whole numbers") << 45.0 << 20.0 << false << false << "45"
                                   << "20"
                                   << "C";
    QTest::newRow("single digits keep the tens zero") << 7.05 << 5.3 << false << false << "07.1"
                                                      << "05.3"
                                                      << "C";
    QTest::newRow("negative") << 80.6 << -5.3 << false << false << "80.6"
                              << "-05.3"
                              << "C";
    QTest::newRow("hundreds in fahrenheit") << 30.0 << 105.3 << true << false << "30"
                                            << "105.3"
                                            << "F";
    QTest::newRow("negative hundreds") << 30.0 << -120.5 << true << false << "30"
                                       << "-120.5"
                                       << "F";
    QTest::newRow("largest temperature") << 50.0 << 199.9 << false << false << "50"
                                         << "199.9"
                                         << "C";
    QTest::newRow("too hot reads overload") << 50.0 << 200.0 << false << false << "50"
                                            << "OL"
                                            << "C";
    QTest::newRow("too cold reads negative overload") << 50.0 << -250.0 << false << false << "50"
                                                      << "-OL"
                                                      << "C";
    QTest::newRow("overload flag") << 50.0 << 21.0 << false << true << "50"
                                   << "OL"
                                   << "C";
    QTest::newRow("a minus zero loses its sign") << 0.0 << -0.02 << false << false << "00"
                                                 << "00"
                                                 << "C";
    QTest::newRow("saturated humidity is clamped") << 100.0 << 20.0 << false << false << "99.9"
                                                   << "20"
                                                   << "C";
    QTest::newRow("tenths round half away") << 33.35 << 12.25 << false << false << "33.4"
                                            << "12.3"
                                            << "C";
}

void SimFrameTest::readingTexts() {
    QFETCH(double, humidity);
    QFETCH(double, temperature);
    QFETCH(bool, fahrenheit);
    QFETCH(bool, overload);
    QFETCH(QString, humidityText);
    QFETCH(QString, temperatureText);
    QFETCH(QString, unit);

    SimReading value = reading(humidity, temperature, fahrenheit);
    value.overload = overload;
    const QByteArray frame = FrameEncoder::liveFrame(QTime(12, 5), value);
    QCOMPARE(frame.size(), FrameLength);
    const LiveReading decoded = decodeLive(frame);
    QCOMPARE(decoded.HumidityText, humidityText);
    QCOMPARE(decoded.TemperatureText, temperatureText);
    QCOMPARE(decoded.TempUnit, unit);
}

void SimFrameTest::everyTenthRoundTrips() {
    // Every temperature the layout can carry and every humidity below 100 come back as the
    // same number.
    for (int tenths = -1999; tenths <= 1999; ++tenths) {
        const double temperature = tenths / 10.0;
        const double humidity = (tenths + 1999) % 1000 / 10.0;
        const LiveReading decoded =
            decodeLive(FrameEncoder::liveFrame(QTime(0, 0), reading(humidity, temperature)));
        QVERIFY2(qAbs(leadingNumber(decoded.TemperatureText) - temperature) < 1e-9,
                 qPrintable(decoded.TemperatureText));
        QVERIFY2(qAbs(leadingNumber(decoded.HumidityText) - humidity) < 1e-9,
                 qPrintable(decoded.HumidityText));
    }
}

void SimFrameTest::meterTimeAndOuterBytes() {
    const QByteArray frame = FrameEncoder::liveFrame(QTime(9, 7, 59), reading(50, 20));
    QCOMPARE(decodeLive(frame).MeterTimeText, QStringLiteral("09:07"));
    QCOMPARE(quint8(frame.at(1)), quint8(0x09));
    QCOMPARE(quint8(frame.at(2)), quint8(0x07));
    QCOMPARE(quint8(frame.at(0)), FrameEncoder::LeadByte);
    QCOMPARE(quint8(frame.at(7)), FrameEncoder::TrailByte);
    QCOMPARE(decodeLive(FrameEncoder::liveFrame(QTime(23, 59), reading(50, 20))).MeterTimeText,
             QStringLiteral("23:59"));
}

void SimFrameTest::flagsReachTheirBits() {
    SimReading value = reading(54.3, 23.5);
    LiveReading decoded = decodeLive(FrameEncoder::liveFrame(QTime(1, 2), value));
    QCOMPARE(decoded.BatteryLow + decoded.HoldOn + decoded.MemoryFull + decoded.MeterRecording, 0);

    value.batteryLow = true;
    value.hold = true;
    value.memoryFull = true;
    value.recording = true;
    const QByteArray frame = FrameEncoder::liveFrame(QTime(1, 2), value);
    QCOMPARE(quint8(frame.at(5)), quint8(0xF5));
    decoded = decodeLive(frame);
    QCOMPARE(decoded.BatteryLow, 1);
    QCOMPARE(decoded.HoldOn, 1);
    QCOMPARE(decoded.MemoryFull, 1);
    QCOMPARE(decoded.MeterRecording, 1);
    QCOMPARE(decoded.HumidityText, QStringLiteral("54.3"));

    for (int flag = 0; flag < 4; ++flag) {
        SimReading one = reading(54.3, 23.5);
        one.batteryLow = flag == 0;
        one.hold = flag == 1;
        one.memoryFull = flag == 2;
        one.recording = flag == 3;
        const LiveReading d = decodeLive(FrameEncoder::liveFrame(QTime(1, 2), one));
        QCOMPARE(d.BatteryLow, flag == 0 ? 1 : 0);
        QCOMPARE(d.HoldOn, flag == 1 ? 1 : 0);
        QCOMPARE(d.MemoryFull, flag == 2 ? 1 : 0);
        QCOMPARE(d.MeterRecording, flag == 3 ? 1 : 0);
    }
}

void SimFrameTest::recordIsBytesFourToSeven() {
    SimReading value = reading(61.2, -14.8, true);
    value.batteryLow = true;
    const QByteArray record = FrameEncoder::recordBytes(value);
    QCOMPARE(record.size(), FrameEncoder::RecordLength);
    QCOMPARE(record, FrameEncoder::liveFrame(QTime(3, 4), value).mid(3, 4));

    // The way the download rebuilds a record: three header bytes in front of it.
    LiveReading decoded;
    decodeRecordFrame(QByteArray("\x24\x01\x31", 3) + record, decoded);
    QCOMPARE(decoded.TemperatureText, QStringLiteral("-14.8"));
    QCOMPARE(decoded.TempUnit, QStringLiteral("F"));
    QCOMPARE(decoded.HumidityText, QStringLiteral("61.2"));
    QCOMPARE(decoded.BatteryLow, 1);
}

QTEST_GUILESS_MAIN(SimFrameTest)
#include "sim_frame_test.moc"
