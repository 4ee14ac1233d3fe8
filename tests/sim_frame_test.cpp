// The simulated meter's byte layouts, read back through the program's own frame decoders.
#include "FrameBytes.h"
#include "engine/FrameEncoder.h"
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

} // namespace

class SimFrameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingTexts_data() {
        QTest::addColumn<double>("humidity");
        QTest::addColumn<double>("temperature");
        QTest::addColumn<bool>("fahrenheit");
        QTest::addColumn<bool>("overload");
        QTest::addColumn<QString>("humidityText");
        QTest::addColumn<QString>("temperatureText");
        const auto row = [](const char* name, double rh, double t, bool fahrenheit, bool overload,
                            const char* rhText, const char* tText) {
            QTest::newRow(name) << rh << t << fahrenheit << overload << QString::fromLatin1(rhText)
                                << QString::fromLatin1(tText);
        };
        row("single digits keep the tens zero", 7.05, 5.3, false, false, "07.1", "05.3");
        row("too hot reads overload", 50.0, 200.0, false, false, "50", "OL");
        row("too cold reads negative overload", 50.0, -250.0, false, false, "50", "-OL");
        row("overload flag", 50.0, 21.0, false, true, "50", "OL");
        row("a minus zero loses its sign", 0.0, -0.02, false, false, "00", "00");
        row("saturated humidity is clamped", 100.0, 20.0, false, false, "99.9", "20");
        row("tenths round half away", 33.35, 12.25, false, false, "33.4", "12.3");
    }
    void readingTexts() {
        QFETCH(double, humidity);
        QFETCH(double, temperature);
        QFETCH(bool, fahrenheit);
        QFETCH(bool, overload);
        QFETCH(QString, humidityText);
        QFETCH(QString, temperatureText);
        SimReading value = reading(humidity, temperature, fahrenheit);
        value.overload = overload;
        const LiveReading decoded = decodedLive(FrameEncoder::liveFrame(QTime(12, 5), value));
        QCOMPARE(decoded.HumidityText, humidityText);
        QCOMPARE(decoded.TemperatureText, temperatureText);
        QCOMPARE(decoded.TempUnit, fahrenheit ? QStringLiteral("F") : QStringLiteral("C"));
    }

    // Every temperature the layout can carry and every humidity below 100 come back as the same
    // number, with the meter's hours and minutes.
    void everyTenthRoundTrips() {
        for (int tenths = -1999; tenths <= 1999; ++tenths) {
            const double temperature = tenths / 10.0;
            const double humidity = (tenths + 1999) % 1000 / 10.0;
            const QTime time(std::abs(tenths) / 10 % 24, (tenths + 1999) % 60);
            const QByteArray frame = FrameEncoder::liveFrame(time, reading(humidity, temperature));
            QCOMPARE(frame.size(), FrameLength);
            const LiveReading decoded = decodedLive(frame);
            QVERIFY2(qAbs(leadingNumber(decoded.TemperatureText) - temperature) < 1e-9,
                     qPrintable(decoded.TemperatureText));
            QVERIFY2(qAbs(leadingNumber(decoded.HumidityText) - humidity) < 1e-9,
                     qPrintable(decoded.HumidityText));
            QCOMPARE(decoded.MeterTimeText, time.toString(QStringLiteral("hh:mm")));
        }
    }

    void eachFlagReachesItsBit() {
        for (int flag = 0; flag < 4; ++flag) {
            SimReading one = reading(54.3, 23.5);
            one.batteryLow = flag == 0;
            one.hold = flag == 1;
            one.memoryFull = flag == 2;
            one.recording = flag == 3;
            const LiveReading d = decodedLive(FrameEncoder::liveFrame(QTime(1, 2), one));
            QCOMPARE(d.BatteryLow, flag == 0 ? 1 : 0);
            QCOMPARE(d.HoldOn, flag == 1 ? 1 : 0);
            QCOMPARE(d.MemoryFull, flag == 2 ? 1 : 0);
            QCOMPARE(d.MeterRecording, flag == 3 ? 1 : 0);
            QCOMPARE(d.HumidityText, QStringLiteral("54.3"));
        }
    }

    // The way the download rebuilds a record: three header bytes in front of the live frame's bytes
    // four to seven.
    void recordIsBytesFourToSeven() {
        SimReading value = reading(61.2, -14.8, true);
        value.batteryLow = true;
        const QByteArray record = FrameEncoder::recordBytes(value);
        QCOMPARE(record, FrameEncoder::liveFrame(QTime(3, 4), value).mid(3, 4));
        LiveReading decoded;
        decodeRecordFrame(QByteArray("\x24\x01\x31", 3) + record, decoded);
        QCOMPARE(decoded.TemperatureText, QStringLiteral("-14.8"));
        QCOMPARE(decoded.TempUnit, QStringLiteral("F"));
        QCOMPARE(decoded.HumidityText, QStringLiteral("61.2"));
        QCOMPARE(decoded.BatteryLow, 1);
    }
};

QTEST_GUILESS_MAIN(SimFrameTest)
#include "sim_frame_test.moc"
