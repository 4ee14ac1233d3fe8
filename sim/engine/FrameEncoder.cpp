#include "engine/FrameEncoder.h"

#include "engine/Bcd.h"

#include <algorithm>
#include <cmath>

namespace FrameEncoder {

namespace {

constexpr unsigned OverloadBit = 0x80;
constexpr unsigned FahrenheitBit = 0x40;
constexpr unsigned NegativeBit = 0x20;
constexpr unsigned HundredsBit = 0x10;
constexpr unsigned RecordingBit = 0x80;
constexpr unsigned MemoryFullBit = 0x40;
constexpr unsigned HoldBit = 0x20;
constexpr unsigned BatteryBit = 0x10;

// Tenths as a whole number, so that 23.45 and its neighbours pack the way they print.
long tenthsOf(double value) {
    return std::lround(value * 10.0);
}

char byteOf(unsigned value) {
    return static_cast<char>(value & 0xFF);
}

} // namespace

QByteArray recordBytes(const SimReading& reading) {
    long temperature = tenthsOf(std::fabs(reading.temperature));
    unsigned flags = 0;
    if (reading.overload || !std::isfinite(reading.temperature) ||
        temperature > tenthsOf(MaxTemperature)) {
        flags |= OverloadBit;
        temperature = std::min(temperature, tenthsOf(MaxTemperature));
    }
    if (reading.fahrenheit)
        flags |= FahrenheitBit;
    // A reading that rounds to zero carries no sign, so -0.02 does not show as "-0".
    if (reading.temperature < 0 && temperature > 0)
        flags |= NegativeBit;
    if (temperature >= 1000)
        flags |= HundredsBit;
    const unsigned tens = static_cast<unsigned>(temperature / 100 % 10);
    const unsigned units = static_cast<unsigned>(temperature / 10 % 10);
    const unsigned tenth = static_cast<unsigned>(temperature % 10);

    const double humidityValue = std::isfinite(reading.humidity) ? reading.humidity : 0.0;
    const long humidity = std::clamp(tenthsOf(humidityValue), 0L, tenthsOf(MaxHumidity));
    unsigned status = 0;
    if (reading.recording)
        status |= RecordingBit;
    if (reading.memoryFull)
        status |= MemoryFullBit;
    if (reading.hold)
        status |= HoldBit;
    if (reading.batteryLow)
        status |= BatteryBit;

    QByteArray bytes;
    bytes.append(byteOf(flags | tens));
    bytes.append(byteOf(units * 16 + tenth));
    bytes.append(byteOf(status | static_cast<unsigned>(humidity / 100)));
    bytes.append(byteOf(static_cast<unsigned>(humidity / 10 % 10 * 16 + humidity % 10)));
    return bytes;
}

QByteArray liveFrame(const QTime& meterTime, const SimReading& reading) {
    QByteArray frame;
    frame.append(static_cast<char>(LeadByte));
    frame.append(static_cast<char>(toBcd(meterTime.hour())));
    frame.append(static_cast<char>(toBcd(meterTime.minute())));
    frame.append(recordBytes(reading));
    frame.append(static_cast<char>(TrailByte));
    return frame;
}

} // namespace FrameEncoder
