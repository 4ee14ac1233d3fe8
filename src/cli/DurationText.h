#pragma once

#include <QString>
#include <optional>

// "1h30m", "90s", "2d", "45m", "1h 30m": a positive whole number of seconds. Nothing for anything
// else, or for zero.
std::optional<qint64> parseDuration(const QString& text);
