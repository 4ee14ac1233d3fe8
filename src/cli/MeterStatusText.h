#pragma once

#include "logger/MeterStamp.h"
#include "logger/StatusReply.h"

#include <QByteArray>

// The meter's datalogger status for a reader, with LOGGER's texts, one "name: value" a line.
QByteArray meterStatusText(const StatusReply& status, const MeterStamp& clock);
// The same as one JSON object on one line: id_code, sets, memory_used_bytes,
// memory_remaining_bytes, interval_seconds, and clock as the meter's local ISO 8601 time.
QByteArray meterStatusJson(const StatusReply& status, const MeterStamp& clock);
