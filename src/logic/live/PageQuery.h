#pragma once

#include "logic/result/Result.h"

#include <QByteArray>
#include <optional>

// The meter a page's path asks for by its number (meter=N), or why that is none of the logger's
// meters, in words for the person who wrote the address.
Result<int> parseMeterNumber(const std::optional<QByteArray>& text, int meters);

// A span of time asked for by from= and to=, each ISO 8601 with an offset or Z
// (2026-12-07T10:00:00+01:00) or milliseconds since the epoch; to is nowMs when not given, from a
// day before to. At most 31 days, so that one request cannot read a year of files.
struct ReadingRange {
    qint64 fromMs = 0;
    qint64 toMs = 0;
};
Result<ReadingRange> parseReadingRange(const std::optional<QByteArray>& from,
                                       const std::optional<QByteArray>& to, qint64 nowMs);
