#pragma once

#include <QString>
#include <QTimeZone>
#include <optional>

// "+01:00", "-05:30", "UTC", "Z", or a zone name such as "Europe/Berlin".
std::optional<QTimeZone> parseTimeZone(const QString& text);
