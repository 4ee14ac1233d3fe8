#pragma once

#include <QString>
#include <optional>

// "1h30m", "90s", "2d", "45m", "1h 30m": a positive whole number of seconds, at most
// LongestDuration. Nothing for anything else, or for zero.
// A hundred years (36500d): a longer run is a slip of the keyboard, and a sum of parts with no
// bound would wrap round to a short or negative time.
constexpr qint64 LongestDuration = 36500LL * 86400;

std::optional<qint64> parseDuration(const QString& text);
