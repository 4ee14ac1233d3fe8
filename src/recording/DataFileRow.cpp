#include "recording/DataFileRow.h"

#include <QDateTime>
#include <array>

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

int ZoneOffsets::exactOffset(QDate date, QTime time) const {
    return QDateTime(date, time, zone_).offsetFromUtc();
}

int ZoneOffsets::offsetAt(QDate date, QTime time) {
    if (date == cachedDate_ && time.hour() == cachedHour_)
        return cachedOffset_;
    const int hour = time.hour();
    const int first = exactOffset(date, QTime(hour, 0, 0));
    const int last = exactOffset(date, QTime(hour, 59, 59));
    // An hour with a clock change in it is not cached: each of its lines asks the zone.
    if (first != last)
        return exactOffset(date, time);
    cachedDate_ = date;
    cachedHour_ = hour;
    cachedOffset_ = first;
    return first;
}

ExportRow exportRow(const DataFileRow& row, ZoneOffsets& offsets) {
    return ExportRow{row.date,      row.time,        offsets.offsetAt(row.date, row.time),
                     row.humidity,  row.temperature, row.unit,
                     row.batteryLow};
}
