#include "logic/recording/DataFileRow.h"

#include <QDateTime>
#include <algorithm>
#include <array>
#include <functional>

namespace {

std::optional<int> digits(QByteArrayView text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool dashesAt(QByteArrayView text, std::initializer_list<qsizetype> positions, char dash) {
    for (const qsizetype position : positions)
        if (text[position] != dash)
            return false;
    return true;
}

std::optional<QDate> parseDate(QByteArrayView text) {
    std::optional<int> year, month, day;
    if (text.size() == 10 && dashesAt(text, {2, 5}, '-')) {
        month = digits(text, 0, 2);
        day = digits(text, 3, 2);
        year = digits(text, 6, 4);
    } else if (text.size() == 8 && dashesAt(text, {2, 5}, '-')) {
        year = digits(text, 0, 2);
        month = digits(text, 3, 2);
        day = digits(text, 6, 2);
        if (year)
            *year += 2000;
    }
    if (!year || !month || !day)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<QTime> parseTime(QByteArrayView text) {
    if (text.size() != 8 || !dashesAt(text, {2, 5}, ':'))
        return std::nullopt;
    const std::optional<int> hour = digits(text, 0, 2);
    const std::optional<int> minute = digits(text, 3, 2);
    const std::optional<int> second = digits(text, 6, 2);
    if (!hour || !minute || !second)
        return std::nullopt;
    const QTime time(*hour, *minute, *second);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

} // namespace

std::optional<DataFileRow> parseDataFileRow(QByteArrayView line) {
    // A saved line is the same fields inside one pair of quotes, with a TAB before the battery
    // cell even when it is empty.
    if (line.size() >= 2 && line.front() == '"') {
        if (line.back() != '"')
            return std::nullopt;
        line = line.sliced(1, line.size() - 2);
    } else {
        while (!line.isEmpty() && line.front() == ' ')
            line = line.sliced(1);
    }
    constexpr int MostFields = 7;
    std::array<QByteArrayView, MostFields> fields;
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i)
        if (i == line.size() || line[i] == '\t') {
            if (count == MostFields)
                return std::nullopt;
            fields[count++] = line.sliced(start, i - start);
            start = i + 1;
        }
    if (count < MostFields - 1 || fields[0].isEmpty() || !digits(fields[0], 0, fields[0].size()))
        return std::nullopt;
    const QByteArrayView battery = fields[6];
    if (!battery.isEmpty() && battery != "LOW")
        return std::nullopt;
    if (fields[5] != "C" && fields[5] != "F")
        return std::nullopt;
    const std::optional<QDate> date = parseDate(fields[1]);
    const std::optional<QTime> time = parseTime(fields[2]);
    const std::optional<ExportValue> humidity = exportValue(fields[3]);
    const std::optional<ExportValue> temperature = exportValue(fields[4]);
    if (!date || !time || !humidity || !temperature)
        return std::nullopt;
    return DataFileRow{*date, *time, *humidity, *temperature, fields[5][0], !battery.isEmpty()};
}

namespace {

constexpr qint64 SecondsPerDay = 24 * 3600;

qint64 secondsAsIfUtc(QDate date, QTime time) {
    return QDate(1970, 1, 1).daysTo(date) * SecondsPerDay + time.msecsSinceStartOfDay() / 1000;
}

} // namespace

int ZoneOffsets::offsetAtInstant(qint64 utcSeconds) const {
    return zone_.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}

QList<int> ZoneOffsets::candidateOffsets(qint64 localSeconds) const {
    // A day either side reaches past any clock change near the time, whatever the zone's offset.
    QList<int> offsets;
    for (const int offset : {offsetAtInstant(localSeconds - SecondsPerDay),
                             offsetAtInstant(localSeconds + SecondsPerDay)})
        if (offsetAtInstant(localSeconds - offset) == offset && !offsets.contains(offset))
            offsets.append(offset);
    // The larger offset is the earlier instant.
    std::sort(offsets.begin(), offsets.end(), std::greater<>());
    return offsets;
}

bool ZoneOffsets::hourHasOneOffset(qint64 hourStart, int offset) const {
    return candidateOffsets(hourStart) == QList<int>{offset} &&
           candidateOffsets(hourStart + 3599) == QList<int>{offset};
}

std::optional<int> ZoneOffsets::offsetAt(QDate date, QTime time) {
    const qint64 local = secondsAsIfUtc(date, time);
    int offset = cachedOffset_;
    if (date != cachedDate_ || time.hour() != cachedHour_) {
        QList<int> offsets = candidateOffsets(local);
        if (offsets.isEmpty()) {
            if (skipped_ == SkippedTime::None)
                return std::nullopt;
            offsets.append(offsetAtInstant(local - SecondsPerDay));
        }
        offset = offsets.first();
        const bool steppedBack = offsets.size() > 1 && previousInstant_ &&
                                 local - offsets.first() < *previousInstant_ &&
                                 local - offsets.last() >= *previousInstant_;
        if (steppedBack)
            offset = offsets.last();
        if (hourHasOneOffset(secondsAsIfUtc(date, QTime(time.hour(), 0)), offset)) {
            cachedDate_ = date;
            cachedHour_ = time.hour();
            cachedOffset_ = offset;
        }
    }
    previousInstant_ = local - offset;
    return offset;
}

std::optional<ExportRow> exportRow(const DataFileRow& row, ZoneOffsets& offsets) {
    const std::optional<int> offset = offsets.offsetAt(row.date, row.time);
    if (!offset)
        return std::nullopt;
    return ExportRow{row.date,
                     row.time,
                     *offset,
                     row.humidity,
                     row.temperature,
                     row.unit,
                     row.batteryLow,
                     exportDewPoint(row.humidity, row.temperature, row.unit),
                     TemperatureUnit::Meter};
}
