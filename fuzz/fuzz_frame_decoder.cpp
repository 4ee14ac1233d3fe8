// The live frame and record decoders on frames of any length and content: every flag 0 or 1,
// the unit C or F, the tenths from 0 to 9.9 as a number text, the texts built from exactly the
// fields decoded, a missing byte read as 0 and bytes past the eighth ignored.
#include "FuzzCheck.h"
#include "logic/link/FrameDecoder.h"
#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"

#include <cmath>
#include <cstdint>

namespace {

bool sameReading(const LiveReading& a, const LiveReading& b) {
    return a.TimeFirstHex == b.TimeFirstHex && a.TimeSecondHex == b.TimeSecondHex &&
           a.MeterTimeText == b.MeterTimeText && a.TempLeadDigits == b.TempLeadDigits &&
           a.TempTailHex == b.TempTailHex && a.TempOverload == b.TempOverload &&
           a.TempNegative == b.TempNegative && a.TempUnit == b.TempUnit &&
           a.TemperatureText == b.TemperatureText && a.BatteryLow == b.BatteryLow &&
           a.HoldOn == b.HoldOn && a.MemoryFull == b.MemoryFull &&
           a.MeterRecording == b.MeterRecording && a.HumidityTensDigit == b.HumidityTensDigit &&
           a.HumidityTail == b.HumidityTail && a.HumidityText == b.HumidityText;
}

bool isFlag(int value) {
    return value == 0 || value == 1;
}

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// A tenths text as the decoders make it from one byte: a number from 0 to 9.9, one decimal.
void checkTenths(const QString& text, unsigned byte) {
    FUZZ_CHECK(isNumberText(text));
    const double tenths = leadingNumber(text);
    FUZZ_CHECK(tenths >= 0 && tenths <= 9.9 + 1e-9);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    FUZZ_CHECK(point < 0 || text.size() - point - 1 == 1);
    // A BCD byte: high digit the units, low digit the tenths.
    if (byte / 16 <= 9 && byte % 16 <= 9)
        FUZZ_CHECK(std::fabs(tenths - (byte / 16 + byte % 16 / 10.0)) < 1e-9);
}

void checkReading(const LiveReading& reading, const QByteArray& frame) {
    const auto byteAt = [&frame](int position) {
        return position <= frame.size() ? static_cast<uint8_t>(frame[position - 1]) : 0u;
    };
    FUZZ_CHECK(isFlag(reading.TempOverload) && isFlag(reading.TempNegative));
    FUZZ_CHECK(isFlag(reading.BatteryLow) && isFlag(reading.HoldOn));
    FUZZ_CHECK(isFlag(reading.MemoryFull) && isFlag(reading.MeterRecording));
    FUZZ_CHECK(reading.TempUnit == QLatin1String("C") || reading.TempUnit == QLatin1String("F"));
    FUZZ_CHECK(reading.HumidityTensDigit.size() == 1 && isHexDigit(reading.HumidityTensDigit[0]));
    FUZZ_CHECK(reading.TempLeadDigits.size() >= 1 && reading.TempLeadDigits.size() <= 2);
    for (QChar c : reading.TempLeadDigits)
        FUZZ_CHECK(isHexDigit(c));

    QString temperature = reading.TemperatureText;
    if (reading.TempNegative == 1) {
        FUZZ_CHECK(temperature.startsWith(QLatin1Char('-')));
        temperature.remove(0, 1);
    }
    if (reading.TempOverload == 1) {
        FUZZ_CHECK(temperature == QLatin1String("OL"));
    } else {
        FUZZ_CHECK(temperature.startsWith(reading.TempLeadDigits));
        checkTenths(temperature.mid(reading.TempLeadDigits.size()), byteAt(5));
    }
    FUZZ_CHECK(std::isfinite(reading.HumidityTail));
    FUZZ_CHECK(reading.HumidityText.startsWith(reading.HumidityTensDigit));
    const QString humidityTenths = reading.HumidityText.mid(1);
    checkTenths(humidityTenths, byteAt(7));
    FUZZ_CHECK(std::fabs(leadingNumber(humidityTenths) - reading.HumidityTail) < 1e-9);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray frame(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    LiveReading live;
    decodeLiveFrame(frame, live);
    checkReading(live, frame);
    FUZZ_CHECK(live.MeterTimeText.count(QLatin1Char(':')) == 1);
    FUZZ_CHECK(!live.MeterTimeText.contains(QLatin1String("inf")) &&
               !live.MeterTimeText.contains(QLatin1String("nan")));

    // Bytes past the frame are not read, and a missing byte reads as 0.
    QByteArray padded = frame.left(FrameLength);
    padded.append(QByteArray(FrameLength - padded.size(), '\0'));
    LiveReading fromPadded;
    decodeLiveFrame(padded, fromPadded);
    FUZZ_CHECK(sameReading(live, fromPadded));

    // A record goes through the same four decoders and leaves the clock fields alone.
    LiveReading record;
    record.MeterTimeText = QStringLiteral("kept");
    decodeRecordFrame(frame, record);
    checkReading(record, frame);
    FUZZ_CHECK(record.MeterTimeText == QLatin1String("kept") && record.TimeFirstHex.isEmpty());
    FUZZ_CHECK(record.TemperatureText == live.TemperatureText &&
               record.HumidityText == live.HumidityText && record.BatteryLow == live.BatteryLow);
    return 0;
}
