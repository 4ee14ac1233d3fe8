#include "cli/MeterStatusText.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int memoryBytes = StatusReply::MemoryKilobytes * 1024;

// The meter counts two-digit years from 2000.
QString isoTime(const MeterStamp& stamp) {
    return QString::asprintf("20%02d-%02d-%02dT%02d:%02d:%02d", stamp.year, stamp.month, stamp.day,
                             stamp.hour, stamp.minute, stamp.second);
}

} // namespace

QByteArray meterStatusText(const StatusReply& status, const MeterStamp& clock) {
    const QString remaining =
        status.setCount == 0 ? StatusReply::memorySizeText() : status.remainingText();
    return QStringLiteral("ID code: %1\n"
                          "Sets recorded: %2\n"
                          "Memory: %3, %4 bytes used, %5 remaining\n"
                          "Interval: %6\n"
                          "Meter clock: %7\n")
        .arg(status.idCodeText(), status.setCountText(), StatusReply::memorySizeText())
        .arg(status.usedBytes)
        .arg(remaining, status.intervalText().trimmed(), clock.clockText())
        .toUtf8();
}

QByteArray meterStatusJson(const StatusReply& status, const MeterStamp& clock) {
    const QJsonObject object{
        {QStringLiteral("id_code"), status.idCode},
        {QStringLiteral("sets"), status.setCount},
        {QStringLiteral("memory_used_bytes"), status.usedBytes},
        {QStringLiteral("memory_remaining_bytes"), memoryBytes - status.usedBytes},
        {QStringLiteral("interval_seconds"), status.intervalSeconds},
        {QStringLiteral("clock"), isoTime(clock)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
