#include "logic/live/PageQuery.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

constexpr qint64 DayMs = 24 * 3600 * 1000;
constexpr qint64 LongestRangeDays = 31;
// Milliseconds up to the year 33658: longer digits are no time of a recording.
constexpr qsizetype MostEpochDigits = 15;

Failure badRequest(const QString& why) {
    return Failure{ExitStatus::Usage, why};
}

// What was given, as it reads in a quoted reply.
QString given(const QByteArray& text) {
    return QString::fromUtf8(text);
}

std::optional<qint64> parseTime(QByteArray text) {
    static const QRegularExpression epochMs(QStringLiteral("^[0-9]{1,%1}$").arg(MostEpochDigits));
    // The offset's "+" reads as a space when the address did not escape it.
    static const QRegularExpression isoWithOffset(QStringLiteral(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d(:\\d\\d(\\.\\d{1,3})?)?(Z|[+ -]\\d\\d:\\d\\d)$"));
    const QString written = QString::fromLatin1(text);
    if (epochMs.match(written).hasMatch())
        return text.toLongLong();
    if (!isoWithOffset.match(written).hasMatch())
        return std::nullopt;
    if (text[text.size() - 6] == ' ')
        text[text.size() - 6] = '+';
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    return time.toMSecsSinceEpoch();
}

} // namespace

Result<int> parseMeterNumber(const std::optional<QByteArray>& text, int meters) {
    const QString has = meters == 1
                            ? QStringLiteral("this logger has meter 0")
                            : QStringLiteral("this logger has meters 0 to %1").arg(meters - 1);
    if (!text)
        return badRequest(QStringLiteral("meter is missing: %1").arg(has));
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,4}$"));
    if (!number.match(QString::fromLatin1(*text)).hasMatch() || text->toInt() >= meters)
        return badRequest(QStringLiteral("no meter '%1': %2").arg(given(*text), has));
    return text->toInt();
}

Result<ReadingRange> parseReadingRange(const std::optional<QByteArray>& from,
                                       const std::optional<QByteArray>& to, qint64 nowMs) {
    ReadingRange range{0, nowMs};
    if (to) {
        const std::optional<qint64> time = parseTime(*to);
        if (!time)
            return badRequest(QStringLiteral("to is not a time: '%1'").arg(given(*to)));
        range.toMs = *time;
    }
    range.fromMs = range.toMs - DayMs;
    if (from) {
        const std::optional<qint64> time = parseTime(*from);
        if (!time)
            return badRequest(QStringLiteral("from is not a time: '%1'").arg(given(*from)));
        range.fromMs = *time;
    }
    if (range.fromMs >= range.toMs)
        return badRequest(QStringLiteral("from must come before to"));
    if (range.toMs - range.fromMs > LongestRangeDays * DayMs)
        return badRequest(QStringLiteral("from and to are more than 31 days apart"));
    return range;
}
