#include "logic/link/FrameDecoder.h"

#include "logic/text/NumberText.h"

namespace {

// Byte at 1-based position, taken as its 8-bit value.
unsigned byteAt(const QByteArray& frame, int position) {
    const int index = position - 1;
    return index < frame.size() ? static_cast<unsigned char>(frame[index]) : 0u;
}

QString lowNibbleDigit(unsigned byte) {
    return hexText(byte).right(1);
}

// A BCD pair read through its hex text: 0x35 gives 35 and so 3.5 tenths, 0x05 gives 0.5.
QString tenthsText(unsigned byte) {
    return plainNumberText(leadingNumber(hexText(byte)) * 0.1);
}

} // namespace

void DecodeTimeFirstPair(const QByteArray& frame, LiveReading& reading) {
    reading.TimeFirstHex = hexText(byteAt(frame, 2));
}

void DecodeMeterTime(const QByteArray& frame, LiveReading& reading) {
    reading.TimeSecondHex = hexText(byteAt(frame, 3));
    const QString pattern = QStringLiteral("00");
    reading.MeterTimeText = formatNumberText(reading.TimeFirstHex, pattern) + QLatin1Char(':') +
                            formatNumberText(reading.TimeSecondHex, pattern);
}

void DecodeTemperatureFlags(const QByteArray& frame, LiveReading& reading) {
    const unsigned b4 = byteAt(frame, 4);
    const unsigned high = b4 / 16;
    const QString tens = lowNibbleDigit(b4);
    reading.TempOverload = static_cast<int>((high / 8) % 2);
    reading.TempLeadDigits = high % 2 == 1 ? QLatin1Char('1') + tens : tens;
    reading.TempNegative = static_cast<int>((high / 2) % 2);
    reading.TempUnit = (high / 4) % 2 == 1 ? QStringLiteral("F") : QStringLiteral("C");
}

void DecodeTemperature(const QByteArray& frame, LiveReading& reading) {
    const unsigned b5 = byteAt(frame, 5);
    reading.TempTailHex = hexText(b5);
    if (reading.TempOverload != 1)
        reading.TemperatureText = reading.TempLeadDigits + tenthsText(b5);
    else
        reading.TemperatureText = QStringLiteral("OL");
    if (reading.TempNegative == 1)
        reading.TemperatureText.prepend(QLatin1Char('-'));
}

void DecodeStatusFlags(const QByteArray& frame, LiveReading& reading) {
    const unsigned b6 = byteAt(frame, 6);
    const unsigned high = b6 / 16;
    reading.BatteryLow = static_cast<int>(high % 2);
    reading.HoldOn = static_cast<int>((high / 2) % 2);
    reading.MemoryFull = static_cast<int>((high / 4) % 2);
    reading.MeterRecording = static_cast<int>((high / 8) % 2);
    reading.HumidityTensDigit = lowNibbleDigit(b6);
}

void DecodeHumidity(const QByteArray& frame, LiveReading& reading) {
    const unsigned b7 = byteAt(frame, 7);
    reading.HumidityTail = leadingNumber(hexText(b7)) * 0.1;
    reading.HumidityText = reading.HumidityTensDigit + plainNumberText(reading.HumidityTail);
}

void decodeLiveFrame(const QByteArray& frame, LiveReading& reading) {
    DecodeTimeFirstPair(frame, reading);
    DecodeMeterTime(frame, reading);
    decodeRecordFrame(frame, reading);
}

void decodeRecordFrame(const QByteArray& frame, LiveReading& reading) {
    DecodeTemperatureFlags(frame, reading);
    DecodeTemperature(frame, reading);
    DecodeStatusFlags(frame, reading);
    DecodeHumidity(frame, reading);
}
