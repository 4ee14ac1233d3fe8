#include "FrameBytes.h"

#include <QTest>

// The exact texts a frame decodes to. The status flags, one bit each, are checked through the
// simulated meter; the fuzz target checks the ranges and that a missing byte reads as zero.
class FrameDecoderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void liveFrames_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("humidity");
        const auto row = [](const char* name, QByteArray bytes, const char* time,
                            const char* temperature, const char* unit, const char* humidity) {
            QTest::newRow(name) << bytes << QString::fromLatin1(time)
                                << QString::fromLatin1(temperature) << QString::fromLatin1(unit)
                                << QString::fromLatin1(humidity);
        };
        row("plain", frameOf({0, 0x12, 0x05, 0x02, 0x35, 0xF5, 0x43, 0}), "12:05", "23.5", "C",
            "54.3");
        row("negative hundreds in F", frameOf({0, 0x23, 0x59, 0x72, 0x05, 0x05, 0x43, 0}), "23:59",
            "-120.5", "F", "54.3");
        row("negative overload", frameOf({0, 0, 0, 0xA0, 0x99, 0x05, 0x43, 0}), "00:00", "-OL", "C",
            "54.3");
        row("overload", frameOf({0, 0, 0, 0x80, 0x12, 0x05, 0x43, 0}), "00:00", "OL", "C", "54.3");
        row("whole numbers", frameOf({0, 0x10, 0x00, 0x02, 0x00, 0x05, 0x40, 0}), "10:00", "20",
            "C", "54");
        row("tenths only", frameOf({0, 0x09, 0x30, 0x02, 0x05, 0x00, 0x05, 0}), "09:30", "20.5",
            "C", "00.5");
        row("tens nibble above nine shows its letter",
            frameOf({0, 0, 0, 0x0B, 0x12, 0x0C, 0x34, 0}), "00:00", "B1.2", "C", "C3.4");
        row("BCD letters stop the number", frameOf({0, 0x1A, 0xA5, 0x02, 0x1A, 0x05, 0xA5, 0}),
            "1A:A5", "20.1", "C", "50");
    }
    void liveFrames() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, time);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(QString, humidity);
        const LiveReading reading = decodedLive(bytes);
        QCOMPARE(reading.MeterTimeText, time);
        QCOMPARE(reading.TemperatureText, temperature);
        QCOMPARE(reading.TempUnit, unit);
        QCOMPARE(reading.HumidityText, humidity);
    }

    void aDownloadedRecordLeavesTheClockAlone() {
        LiveReading reading = decodedLive(frameOf({0, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0}));
        // A record comes as a 7-byte frame whose first three bytes are the set's header.
        decodeRecordFrame(frameOf({0x03, 0x05, 0x02, 0x41, 0x23, 0x17, 0x88}), reading);
        QCOMPARE(reading.MeterTimeText, QStringLiteral("12:05"));
        QCOMPARE(reading.TemperatureText, QStringLiteral("12.3"));
        QCOMPARE(reading.TempUnit, QStringLiteral("F"));
        QCOMPARE(reading.HumidityText, QStringLiteral("78.8"));
        QCOMPARE(reading.BatteryLow, 1);
    }
};

QTEST_APPLESS_MAIN(FrameDecoderTest)
#include "frame_decoder_test.moc"
