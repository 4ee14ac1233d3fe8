#include "logic/recording/RecordedLine.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>
#include <array>
#include <cstdlib>

namespace {

constexpr qint64 SecondsPerDay = 24 * 3600;
// Far from any zone's offset, so that a garbled offset is no time.
constexpr int LargestOffsetSeconds = 18 * 3600;

std::optional<int> digits(QByteArrayView text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

struct WrittenTime {
    QDate date;
    QTime time;
    int utcOffsetSeconds = 0;
};

// 2026-12-06T09:45:07+01:00, as the writer puts it and nothing else.
std::optional<WrittenTime> parseWrittenTime(QByteArrayView text) {
    if (text.size() != 25)
        return std::nullopt;
    for (const auto& [position, mark] : std::array<std::pair<qsizetype, char>, 6>{
             {{4, '-'}, {7, '-'}, {10, 'T'}, {13, ':'}, {16, ':'}, {22, ':'}}})
        if (text[position] != mark)
            return std::nullopt;
    if (text[19] != '+' && text[19] != '-')
        return std::nullopt;
    const auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2),
               second = digits(text, 17, 2);
    const auto offsetHours = digits(text, 20, 2), offsetMinutes = digits(text, 23, 2);
    if (!year || !month || !day || !hour || !minute || !second || !offsetHours || !offsetMinutes ||
        *offsetMinutes >= 60)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    const QTime time(*hour, *minute, *second);
    const int offset = (text[19] == '-' ? -1 : 1) * (*offsetHours * 3600 + *offsetMinutes * 60);
    if (!date.isValid() || !time.isValid() || std::abs(offset) > LargestOffsetSeconds)
        return std::nullopt;
    return WrittenTime{date, time, offset};
}

std::optional<ExportValue::Status> statusOfText(QByteArrayView text) {
    for (const ExportValue::Status status :
         {ExportValue::Status::Ok, ExportValue::Status::Overload, ExportValue::Status::Underload,
          ExportValue::Status::NoReading})
        if (text == ExportValue{status, {}}.statusText())
            return status;
    return std::nullopt;
}

// A decimal where the status is ok, and none where it is not.
std::optional<ExportValue> statedValue(std::optional<QByteArrayView> decimal,
                                       QByteArrayView statusText) {
    const std::optional<ExportValue::Status> status = statusOfText(statusText);
    if (!status || decimal.has_value() != (*status == ExportValue::Status::Ok))
        return std::nullopt;
    if (!decimal)
        return ExportValue{*status, {}};
    const std::optional<ExportValue> value = exportValue(*decimal);
    if (!value || value->status != ExportValue::Status::Ok)
        return std::nullopt;
    return value;
}

std::optional<QByteArrayView> cellDecimal(QByteArrayView cell) {
    return cell.isEmpty() ? std::nullopt : std::optional(cell);
}

std::optional<char> unitOfText(QByteArrayView text) {
    if (text == "C" || text == "F")
        return text[0];
    return std::nullopt;
}

// A written dew point back in °C, so that writing the row again gives the same tenth.
std::optional<std::optional<double>> writtenDewPointCelsius(std::optional<QByteArrayView> decimal,
                                                            char unit) {
    if (!decimal)
        return std::optional<double>();
    const std::optional<ExportValue> value = exportValue(*decimal);
    if (!value || value->status != ExportValue::Status::Ok)
        return std::nullopt;
    const double shown = value->decimal.toDouble();
    return std::optional<double>(unit == 'F' ? (shown - 32) * 5 / 9 : shown);
}

std::optional<ExportRow> rowOf(const WrittenTime& time, const ExportValue& humidity,
                               const ExportValue& temperature, char unit, bool batteryLow,
                               std::optional<std::optional<QByteArrayView>> dewPoint) {
    ExportRow row{time.date,  time.time,    time.utcOffsetSeconds, humidity, temperature, unit,
                  batteryLow, std::nullopt, TemperatureUnit::Meter};
    if (!dewPoint) {
        row.dewPointCelsius = exportDewPoint(humidity, temperature, unit);
        return row;
    }
    const std::optional<std::optional<double>> celsius = writtenDewPointCelsius(*dewPoint, unit);
    if (!celsius)
        return std::nullopt;
    row.dewPointCelsius = *celsius;
    return row;
}

// The line without its end, or nothing when it has none or holds another.
std::optional<QByteArrayView> withoutLineEnd(QByteArrayView line, QByteArrayView end) {
    if (!line.endsWith(end))
        return std::nullopt;
    line.chop(end.size());
    if (line.contains('\n') || line.contains('\r'))
        return std::nullopt;
    return line;
}

std::optional<QByteArrayView> jsonDecimal(const QJsonValue& value, QByteArray& text) {
    if (value.isNull())
        return std::nullopt;
    text = QByteArray::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    return QByteArrayView(text);
}

} // namespace

std::optional<ExportRow> parseCsvLine(QByteArrayView line) {
    const std::optional<QByteArrayView> text = withoutLineEnd(line, "\r\n");
    if (!text)
        return std::nullopt;
    constexpr int MostCells = 8;
    std::array<QByteArrayView, MostCells> cells;
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text->size(); ++i)
        if (i == text->size() || (*text)[i] == ',') {
            if (count == MostCells)
                return std::nullopt;
            cells[count++] = text->sliced(start, i - start);
            start = i + 1;
        }
    if (count < MostCells - 1)
        return std::nullopt;
    const std::optional<WrittenTime> time = parseWrittenTime(cells[0]);
    const std::optional<ExportValue> humidity = statedValue(cellDecimal(cells[1]), cells[2]);
    const std::optional<ExportValue> temperature = statedValue(cellDecimal(cells[3]), cells[5]);
    const std::optional<char> unit = unitOfText(cells[4]);
    if (!time || !humidity || !temperature || !unit || (cells[6] != "0" && cells[6] != "1"))
        return std::nullopt;
    std::optional<std::optional<QByteArrayView>> dewPoint;
    if (count == MostCells)
        dewPoint = cellDecimal(cells[7]);
    return rowOf(*time, *humidity, *temperature, *unit, cells[6] == "1", dewPoint);
}

std::optional<ExportRow> parseJsonLine(QByteArrayView line) {
    const std::optional<QByteArrayView> text = withoutLineEnd(line, "\n");
    if (!text)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text->toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    QStringList fields{QStringLiteral("battery_low"),
                       QStringLiteral("humidity_status"),
                       QStringLiteral("relative_humidity_percent"),
                       QStringLiteral("temperature"),
                       QStringLiteral("temperature_status"),
                       QStringLiteral("temperature_unit"),
                       QStringLiteral("time")};
    const bool hasDewPoint = object.contains(u"dew_point");
    if (hasDewPoint)
        fields.insert(1, QStringLiteral("dew_point"));
    if (object.keys() != fields)
        return std::nullopt;
    const QJsonValue humidityValue = object[u"relative_humidity_percent"];
    const QJsonValue temperatureValue = object[u"temperature"];
    const QJsonValue dewPointValue = object[u"dew_point"];
    for (const QJsonValue& value : {humidityValue, temperatureValue, dewPointValue})
        if (!value.isNull() && !value.isDouble() && !value.isUndefined())
            return std::nullopt;
    if (!object[u"time"].isString() || !object[u"humidity_status"].isString() ||
        !object[u"temperature_status"].isString() || !object[u"temperature_unit"].isString() ||
        !object[u"battery_low"].isBool())
        return std::nullopt;
    QByteArray humidityText, temperatureText, dewPointText;
    const std::optional<WrittenTime> time = parseWrittenTime(object[u"time"].toString().toLatin1());
    const std::optional<ExportValue> humidity = statedValue(
        jsonDecimal(humidityValue, humidityText), object[u"humidity_status"].toString().toLatin1());
    const std::optional<ExportValue> temperature =
        statedValue(jsonDecimal(temperatureValue, temperatureText),
                    object[u"temperature_status"].toString().toLatin1());
    const std::optional<char> unit = unitOfText(object[u"temperature_unit"].toString().toLatin1());
    if (!time || !humidity || !temperature || !unit)
        return std::nullopt;
    std::optional<std::optional<QByteArrayView>> dewPoint;
    if (hasDewPoint)
        dewPoint = jsonDecimal(dewPointValue, dewPointText);
    return rowOf(*time, *humidity, *temperature, *unit, object[u"battery_low"].toBool(), dewPoint);
}

qint64 takenAtMs(const ExportRow& row) {
    const qint64 localSeconds =
        QDate(1970, 1, 1).daysTo(row.date) * SecondsPerDay + row.time.msecsSinceStartOfDay() / 1000;
    return (localSeconds - row.utcOffsetSeconds) * 1000 + row.time.msec();
}

RecordedLineReader::RecordedLineReader(FileFormat format)
    : format_(format), offsets_(QTimeZone::systemTimeZone()) {}

std::optional<RecordedReading> RecordedLineReader::read(QByteArrayView line) {
    std::optional<ExportRow> row;
    switch (format_) {
    case FileFormat::Csv:
        row = parseCsvLine(line);
        break;
    case FileFormat::JsonLines:
        row = parseJsonLine(line);
        break;
    case FileFormat::Dat:
        if (const std::optional<QByteArrayView> text = withoutLineEnd(
                line, line.endsWith("\r\n") ? QByteArrayView("\r\n") : QByteArrayView("\n")))
            if (const std::optional<DataFileRow> dataRow = parseDataFileRow(*text))
                row = exportRow(*dataRow, offsets_);
        break;
    }
    if (!row)
        return std::nullopt;
    return RecordedReading{takenAtMs(*row), *row};
}
