#include "engine/SampleSets.h"

#include "engine/DataloggerMemory.h"
#include "engine/FrameEncoder.h"

#include <cmath>

namespace {

QByteArray record(double humidity, double celsius, bool batteryLow = false) {
    SimReading reading;
    reading.humidity = humidity;
    reading.temperature = celsius;
    reading.batteryLow = batteryLow;
    return FrameEncoder::recordBytes(reading);
}

} // namespace

void loadSampleSets(DataloggerMemory& memory) {
    memory.erase();

    memory.startSet(QDateTime(QDate(2024, 1, 31), QTime(23, 58, 30)), 30);
    for (int r = 0; r < 12; ++r)
        memory.appendRecord(record(81.0 - 0.4 * r, -1.6 + 0.3 * r, r >= 10));

    memory.startSet(QDateTime(QDate(2024, 2, 10), QTime(12, 0, 0)), 60);
    memory.appendRecord(record(45.2, 21.3));

    memory.startSet(QDateTime(QDate(2024, 3, 15), QTime(9, 30, 0)), 10);
    for (int r = 0; r < 30; ++r)
        memory.appendRecord(record(48.0 + 2.0 * std::sin(r / 5.0), 23.0 + 0.8 * std::cos(r / 7.0)));
}
