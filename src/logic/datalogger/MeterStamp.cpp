#include "logic/datalogger/MeterStamp.h"

#include "logic/datalogger/LoggerBytes.h"

namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<MeterStamp> MeterStamp::fromBytes(const QByteArray& bytes, qsizetype index) {
    if (index < 0 || bytes.size() - index < Length)
        return std::nullopt;
    const auto field = [&](int i) { return bcdNumber(static_cast<quint8>(bytes.at(index + i))); };
    return MeterStamp{field(0), field(1), field(2), field(3), field(4), field(5)};
}

QString MeterStamp::dateText() const {
    return twoDigits(year) + QLatin1Char('-') + twoDigits(month) + QLatin1Char('-') +
           twoDigits(day);
}

QString MeterStamp::timeText() const {
    return twoDigits(hour) + QLatin1Char(':') + twoDigits(minute) + QLatin1Char(':') +
           twoDigits(second);
}

QString MeterStamp::clockText() const {
    return dateText() + QStringLiteral("-----") + timeText();
}

QString MeterStamp::setStartText() const {
    return dateText() + QStringLiteral("----") + timeText();
}
