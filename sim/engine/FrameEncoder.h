#pragma once

#include "engine/SimReading.h"

#include <QByteArray>
#include <QTime>

// Packs readings into the meter's byte layouts: the 8-byte live frame and the 4-byte datalogger
// record, which is bytes 4 to 7 of the live frame.
namespace FrameEncoder {

constexpr int LiveFrameLength = 8;
constexpr int RecordLength = 4;
// Bytes 1 and 8 carry nothing the PC reads; the meter fills them with these.
constexpr quint8 LeadByte = 0x02;
constexpr quint8 TrailByte = 0x03;

// The largest magnitudes the digit layout can carry: a humidity tens nibble holds 9 at most, and
// the temperature has one hundreds bit. Beyond them the humidity is clamped and the temperature
// reads as overload.
constexpr double MaxHumidity = 99.9;
constexpr double MaxTemperature = 199.9;

QByteArray recordBytes(const SimReading& reading);
QByteArray liveFrame(const QTime& meterTime, const SimReading& reading);

} // namespace FrameEncoder
