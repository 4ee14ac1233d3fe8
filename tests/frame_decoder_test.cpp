#include "link/FrameDecoder.h"

#include <QTest>

namespace {
QByteArray frame(std::initializer_list<int> bytes) {
    QByteArray data;
    for (int b : bytes)
        data.append(static_cast<char>(b));
    return data;
}
} // namespace

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

        QTest::newRow("plain reading")
            << frame({0x00, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0x00}) << "12:05"
            << "23.5"
            << "C"
            << "54.3" << 0;
        QTest::newRow("negative hundreds in F")
            << frame({0, 0x23, 0x59, 0x72, 0x05, 0x05, 0x43, 0}) << "23:59"
            << "-120.5"
            << "F"
            << "54.3" << 0;
        QTest::newRow("negative overload") << frame({0, 0, 0, 0xA0, 0x99, 0x05, 0x43, 0}) << "00:00"
                                           << "-OL"
                                           << "C"
                                           << "54.3" << 0;
        QTest::newRow("overload") << frame({0, 0, 0, 0x80, 0x12, 0x05, 0x43, 0}) << "00:00"
                                  << "OL"
                                  << "C"
                                  << "54.3" << 0;
        QTest::newRow("all status flags")
            << frame({0, 0x01, 0x02, 0x02, 0x35, 0xF5, 0x43, 0}) << "01:02"
            << "23.5"
            << "C"
            << "54.3" << 0xF;
        QTest::newRow("battery only")
            << frame({0, 0x01, 0x02, 0x02, 0x35, 0x15, 0x43, 0}) << "01:02"
            << "23.5"
            << "C"
            << "54.3" << 0x1;
        QTest::newRow("recording only")
            << frame({0, 0x01, 0x02, 0x02, 0x35, 0x85, 0x43, 0}) << "01:02"
            << "23.5"
            << "C"
            << "54.3" << 0x8;
        QTest::newRow("whole temperature")
            << frame({0, 0x10, 0x00, 0x02, 0x00, 0x05, 0x40, 0}) << "10:00"
            << "20"
            << "C"
            << "54" << 0;
        QTest::newRow("tenths only") << frame({0, 0x09, 0x30, 0x02, 0x05, 0x00, 0x05, 0}) << "09:30"
                                     << "20.5"
                                     << "C"
                                     << "00.5" << 0;
        QTest::newRow("hundreds") << frame({0, 0, 0, 0x10, 0x53, 0x09, 0x99, 0}) << "00:00"
                                  << "105.3"
                                  << "C"
                                  << "99.9" << 0;
        QTest::newRow("tens nibble above nine shows its letter")
            << frame({0, 0, 0, 0x0B, 0x12, 0x0C, 0x34, 0}) << "00:00"
            << "B1.2"
            << "C"
            << "C3.4" << 0;
        QTest::newRow("BCD letters stop the number")
            << frame({0, 0x1A, 0xA5, 0x02, 0x1A, 0x05, 0xA5, 0}) << "1A:A5"
            << "20.1"
            << "C"
            << "50" << 0;
        QTest::newRow("bytes 1 and 8 are never read")
            << frame({0xFF, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0xFF}) << "12:05"
            << "23.5"
            << "C"
            << "54.3" << 0;
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
        DecodeTemperatureFlags(frame({0, 0, 0, 0x72, 0, 0, 0, 0}), reading);
        QCOMPARE(reading.TempLeadDigits, QStringLiteral("12"));
        QCOMPARE(reading.TempNegative, 1);
        QCOMPARE(reading.TempOverload, 0);
        QCOMPARE(reading.TempUnit, QStringLiteral("F"));
        DecodeStatusFlags(frame({0, 0, 0, 0, 0, 0xF5, 0, 0}), reading);
        QCOMPARE(reading.HumidityTensDigit, QStringLiteral("5"));
    }

    void aDownloadedRecordLeavesTheClockAlone() {
        LiveReading reading;
        decodeLiveFrame(frame({0, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0}), reading);
        // A record comes as a 7-byte frame whose first three bytes are the set's header.
        decodeRecordFrame(frame({0x03, 0x05, 0x02, 0x41, 0x23, 0x17, 0x88}), reading);
        QCOMPARE(reading.MeterTimeText, QStringLiteral("12:05"));
        QCOMPARE(reading.TemperatureText, QStringLiteral("12.3"));
        QCOMPARE(reading.TempUnit, QStringLiteral("F"));
        QCOMPARE(reading.HumidityText, QStringLiteral("78.8"));
        QCOMPARE(reading.BatteryLow, 1);
    }

    void aShortFrameReadsMissingBytesAsZero() {
        LiveReading reading;
        decodeLiveFrame(frame({0, 0x12}), reading);
        QCOMPARE(reading.MeterTimeText, QStringLiteral("12:00"));
        QCOMPARE(reading.TemperatureText, QStringLiteral("00"));
        QCOMPARE(reading.HumidityText, QStringLiteral("00"));
    }
};

QTEST_APPLESS_MAIN(FrameDecoderTest)
#include "frame_decoder_test.moc"
