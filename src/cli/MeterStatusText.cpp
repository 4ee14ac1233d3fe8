#include "cli/MeterStatusText.h"

#include "logic/text/CountText.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int memoryBytes = StatusReply::MemoryKilobytes * 1024;

} // namespace

QString meterClockIso(const MeterStamp& stamp) {
    // The meter counts two-digit years from 2000.
    return QString::asprintf("20%02d-%02d-%02dT%02d:%02d:%02d", stamp.year, stamp.month, stamp.day,
                             stamp.hour, stamp.minute, stamp.second);
}

QByteArray meterStatusText(const StatusReply& status, const MeterStamp& clock) {
    const QString remaining =
        status.setCount == 0 ? StatusReply::memorySizeText() : status.remainingText();
    return QStringLiteral("ID code: %1\n"
                          "Sets recorded: %2\n"
                          "Memory: %3, %4 used, %5 remaining\n"
                          "Interval: %6 sec\n"
                          "Meter clock: %7\n")
        .arg(status.idCodeText(), status.setCountText(), StatusReply::memorySizeText(),
             countText(status.usedBytes, QStringLiteral("byte"), QStringLiteral("bytes")),
             remaining)
        .arg(status.intervalSeconds)
        .arg(meterClockIso(clock))
        .toUtf8();
}

QByteArray meterStatusJson(const StatusReply& status, const MeterStamp& clock) {
    const QJsonObject object{
        {QStringLiteral("id_code"), status.idCode},
        {QStringLiteral("sets"), status.setCount},
        {QStringLiteral("memory_used_bytes"), status.usedBytes},
        {QStringLiteral("memory_remaining_bytes"), memoryBytes - status.usedBytes},
        {QStringLiteral("interval_seconds"), status.intervalSeconds},
        {QStringLiteral("clock"), meterClockIso(clock)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
