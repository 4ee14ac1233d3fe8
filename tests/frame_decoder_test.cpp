#include "FrameBytes.h"

#include <QTest>

class FrameDecoderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void liveFrames_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<int>("flags"); // battery, hold, full, recording as bits 0..3
        const auto row = [](const char* name, QByteArray bytes, const char* time,
                            const char* temperature, const char* unit, const char* humidity,
                            int flags) {
            QTest::newRow(name) << bytes << QString::fromLatin1(time)
                                << QString::fromLatin1(temperature) << QString::fromLatin1(unit)
                                << QString::fromLatin1(humidity) << flags;
        };
        row("plain", frameOf({0, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0}), "12:05", "23.5", "C",
            "54.3", 0);
        row("negative hundreds in F", frameOf({0, 0x23, 0x59, 0x72, 0x05, 0x05, 0x43, 0}), "23:59",
            "-120.5", "F", "54.3", 0);
        row("negative overload", frameOf({0, 0, 0, 0xA0, 0x99, 0x05, 0x43, 0}), "00:00", "-OL", "C",
            "54.3", 0);
        row("overload", frameOf({0, 0, 0, 0x80, 0x12, 0x05, 0x43, 0}), "00:00", "OL", "C", "54.3",
            0);
        // Each status flag on its own.
        for (int bit = 0; bit < 4; ++bit)
            row(QByteArray::number(bit).prepend("flag ").constData(),
                frameOf({0, 0x01, 0x02, 0x02, 0x35, (0x10 << bit) | 0x05, 0x43, 0}), "01:02",
                "23.5", "C", "54.3", 1 << bit);
        row("whole numbers", frameOf({0, 0x10, 0x00, 0x02, 0x00, 0x05, 0x40, 0}), "10:00", "20",
            "C", "54", 0);
        row("tenths only", frameOf({0, 0x09, 0x30, 0x02, 0x05, 0x00, 0x05, 0}), "09:30", "20.5",
            "C", "00.5", 0);
        row("hundreds", frameOf({0, 0, 0, 0x10, 0x53, 0x09, 0x99, 0}), "00:00", "105.3", "C",
            "99.9", 0);
        row("tens nibble above nine shows its letter",
            frameOf({0, 0, 0, 0x0B, 0x12, 0x0C, 0x34, 0}), "00:00", "B1.2", "C", "C3.4", 0);
        row("BCD letters stop the number", frameOf({0, 0x1A, 0xA5, 0x02, 0x1A, 0x05, 0xA5, 0}),
            "1A:A5", "20.1", "C", "50", 0);
        row("short frame reads missing bytes as zero", frameOf({0, 0x12}), "12:00", "00", "C", "00",
            0);
    }
    void liveFrames() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, time);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(QString, humidity);
        QFETCH(int, flags);
        LiveReading reading;
        decodeLiveFrame(bytes, reading);
        QCOMPARE(reading.MeterTimeText, time);
        QCOMPARE(reading.TemperatureText, temperature);
        QCOMPARE(reading.TempUnit, unit);
        QCOMPARE(reading.HumidityText, humidity);
        QCOMPARE(reading.BatteryLow, flags & 1);
        QCOMPARE(reading.HoldOn, (flags >> 1) & 1);
        QCOMPARE(reading.MemoryFull, (flags >> 2) & 1);
        QCOMPARE(reading.MeterRecording, (flags >> 3) & 1);
    }

    void temperatureFlagsApart() {
        LiveReading reading;
        DecodeTemperatureFlags(frameOf({0, 0, 0, 0x72, 0, 0, 0, 0}), reading);
        QCOMPARE(reading.TempLeadDigits, QStringLiteral("12"));
        QCOMPARE(reading.TempNegative, 1);
        QCOMPARE(reading.TempOverload, 0);
        DecodeStatusFlags(frameOf({0, 0, 0, 0, 0, 0xF5, 0, 0}), reading);
        QCOMPARE(reading.HumidityTensDigit, QStringLiteral("5"));
    }

    void aDownloadedRecordLeavesTheClockAlone() {
        LiveReading reading;
        decodeLiveFrame(frameOf({0, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0}), reading);
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
