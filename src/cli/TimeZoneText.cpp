#include "cli/TimeZoneText.h"

#include <QRegularExpression>

std::optional<QTimeZone> parseTimeZone(const QString& text) {
    if (text == QLatin1String("UTC") || text == QLatin1String("Z"))
        return QTimeZone(0);
    static const QRegularExpression offset(QStringLiteral("^([+-])(\\d\\d):(\\d\\d)$"));
    if (const QRegularExpressionMatch match = offset.match(text); match.hasMatch()) {
        const int hours = match.captured(2).toInt();
        const int minutes = match.captured(3).toInt();
        if (hours > 14 || minutes > 59)
            return std::nullopt;
        const int sign = match.captured(1) == QLatin1String("-") ? -1 : 1;
        return QTimeZone(sign * (hours * 3600 + minutes * 60));
    }
    // Qt takes an empty name for this machine's zone: an empty --tz ("$ZONE" unset) would guess.
    if (text.isEmpty())
        return std::nullopt;
    const QTimeZone zone(text.toUtf8());
    return zone.isValid() ? std::optional(zone) : std::nullopt;
}
