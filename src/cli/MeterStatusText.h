#pragma once

#include "logic/datalogger/MeterStamp.h"
#include "logic/datalogger/StatusReply.h"

#include <QByteArray>
#include <QString>

// The meter's clock as an ISO 8601 local time: 2026-12-07T05:47:13.
QString meterClockIso(const MeterStamp& stamp);
// The meter's datalogger status for a reader, one "name: value" a line, its clock in ISO 8601.
QByteArray meterStatusText(const StatusReply& status, const MeterStamp& clock);
// The same as one JSON object on one line: id_code, sets, memory_used_bytes,
// memory_remaining_bytes, interval_seconds, and clock as the meter's local ISO 8601 time.
QByteArray meterStatusJson(const StatusReply& status, const MeterStamp& clock);
