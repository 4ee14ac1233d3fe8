#include "cli/DurationText.h"

#include <QHash>
#include <QRegularExpression>

std::optional<qint64> parseDuration(const QString& text) {
    static const QRegularExpression part(QStringLiteral("\\s*(\\d{1,9})\\s*([dhms])"));
    static const QHash<QChar, qint64> seconds{{QLatin1Char('d'), 86400},
                                              {QLatin1Char('h'), 3600},
                                              {QLatin1Char('m'), 60},
                                              {QLatin1Char('s'), 1}};
    qint64 total = 0;
    qsizetype at = 0;
    const QString trimmed = text.trimmed();
    while (at < trimmed.size()) {
        const QRegularExpressionMatch match =
            part.match(trimmed, at, QRegularExpression::NormalMatch,
                       QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            return std::nullopt;
        total += match.captured(1).toLongLong() * seconds.value(match.captured(2).at(0));
        if (total > LongestDuration)
            return std::nullopt;
        at = match.capturedEnd();
    }
    return total > 0 ? std::optional(total) : std::nullopt;
}
