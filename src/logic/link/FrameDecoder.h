#pragma once

#include "logic/link/LiveReading.h"

// The meter's 8-byte reply, decoded field by field. A frame holds the reply's bytes with byte 1
// at index 0; downloaded records come in the same shape with bytes 4 to 7 filled. Each decoder
// reads one byte position (a missing byte reads as 0) and writes its part of the reading.
constexpr int FrameLength = 8;

void DecodeTimeFirstPair(const QByteArray& frame, LiveReading& reading);
void DecodeMeterTime(const QByteArray& frame, LiveReading& reading);
void DecodeTemperatureFlags(const QByteArray& frame, LiveReading& reading);
void DecodeTemperature(const QByteArray& frame, LiveReading& reading);
void DecodeStatusFlags(const QByteArray& frame, LiveReading& reading);
void DecodeHumidity(const QByteArray& frame, LiveReading& reading);

// All six in their order: what the poll does with a live reply.
void decodeLiveFrame(const QByteArray& frame, LiveReading& reading);
// The four a downloaded record goes through.
void decodeRecordFrame(const QByteArray& frame, LiveReading& reading);
