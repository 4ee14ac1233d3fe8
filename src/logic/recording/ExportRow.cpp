#include "logic/recording/ExportRow.h"

#include "logic/dew/DewPoint.h"
#include "logic/dew/VapourTables.h"
#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"

#include <QDateTime>
#include <cstdlib>

namespace {

void appendDigits(QByteArray& out, int value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, width);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal as a JSON number and a spreadsheet read it: no leading zeros, no "-0", and at least
// the tenths the meter resolves, so that a whole number reads as the same type as any other
// reading ("45.0", never "45").
std::optional<QByteArray> normalisedDecimal(QByteArrayView text) {
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == '-';
    if (negative)
        ++i;
    const qsizetype integerStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const qsizetype integerEnd = i;
    qsizetype fractionEnd = i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        fractionEnd = i;
    }
    if (i != text.size() || integerEnd == integerStart || fractionEnd == integerEnd + 1)
        return std::nullopt;
    qsizetype firstSignificant = integerStart;
    while (firstSignificant + 1 < integerEnd && text[firstSignificant] == '0')
        ++firstSignificant;
    QByteArray body = text.sliced(firstSignificant, fractionEnd - firstSignificant).toByteArray();
    if (fractionEnd == integerEnd)
        body += ".0";
    const bool zero = body.count('0') + body.count('.') == body.size();
    return negative && !zero ? '-' + body : body;
}

void appendIsoTime(QByteArray& out, const ExportRow& row) {
    const QDate date = row.date;
    const QTime clock = row.time;
    appendDigits(out, date.year(), 4);
    out += '-';
    appendDigits(out, date.month(), 2);
    out += '-';
    appendDigits(out, date.day(), 2);
    out += 'T';
    appendDigits(out, clock.hour(), 2);
    out += ':';
    appendDigits(out, clock.minute(), 2);
    out += ':';
    appendDigits(out, clock.second(), 2);
    const int offset = row.utcOffsetSeconds;
    const int minutes = std::abs(offset) / 60;
    out += offset < 0 ? '-' : '+';
    appendDigits(out, minutes / 60, 2);
    out += ':';
    appendDigits(out, minutes % 60, 2);
}

void appendValue(QByteArray& out, const ExportValue& value, const char* empty) {
    if (value.status == ExportValue::Status::Ok)
        out += value.decimal;
    else
        out += empty;
}

} // namespace

const char* ExportValue::statusText() const {
    switch (status) {
    case Status::Ok:
        return "ok";
    case Status::Overload:
        return "overload";
    case Status::Underload:
        return "underload";
    case Status::NoReading:
        break;
    }
    return "no_reading";
}

std::optional<ExportValue> exportValue(QByteArrayView text) {
    if (text == "OL")
        return ExportValue{ExportValue::Status::Overload, {}};
    if (text == "-OL")
        return ExportValue{ExportValue::Status::Underload, {}};
    if (text == "----")
        return ExportValue{ExportValue::Status::NoReading, {}};
    if (std::optional<QByteArray> decimal = normalisedDecimal(text))
        return ExportValue{ExportValue::Status::Ok, std::move(*decimal)};
    return std::nullopt;
}

std::optional<double> exportDewPoint(const ExportValue& humidity, const ExportValue& temperature,
                                     char unit) {
    if (humidity.status != ExportValue::Status::Ok || temperature.status != ExportValue::Status::Ok)
        return std::nullopt;
    const std::optional<DewDisplay> display = computeDewPoint(
        QString::fromLatin1(humidity.decimal), QString::fromLatin1(temperature.decimal),
        unit == 'F' ? QStringLiteral("F") : QStringLiteral("C"), filledVapourTables());
    if (!display)
        return std::nullopt;
    return display->dewPoint;
}

char writtenUnit(const ExportRow& row) {
    return writtenUnitLetter(row.writtenUnit, row.unit);
}

ExportValue writtenTemperature(const ExportRow& row) {
    if (row.temperature.status != ExportValue::Status::Ok)
        return row.temperature;
    return exportValue(convertedTemperature(row.temperature.decimal, row.unit, writtenUnit(row)))
        .value_or(ExportValue{});
}

ExportValue writtenDewPoint(const ExportRow& row) {
    if (!row.dewPointCelsius)
        return ExportValue{};
    const double shown = dewPointInUnit(*row.dewPointCelsius, writtenUnit(row) == 'F');
    return exportValue(formatNumber(shown, QStringLiteral("0.0")).toLatin1())
        .value_or(ExportValue{});
}

ExportRow liveExportRow(const QDateTime& takenAt, const LiveReading& reading) {
    const auto value = [](const QString& text) {
        return exportValue(text.toLatin1()).value_or(ExportValue{});
    };
    const ExportValue humidity = value(reading.HumidityText);
    const ExportValue temperature = value(reading.TemperatureText);
    const char unit = reading.TempUnit == QLatin1String("F") ? 'F' : 'C';
    return ExportRow{takenAt.date(),
                     takenAt.time(),
                     takenAt.offsetFromUtc(),
                     humidity,
                     temperature,
                     unit,
                     reading.BatteryLow == 1,
                     exportDewPoint(humidity, temperature, unit),
                     TemperatureUnit::Meter};
}

QByteArray csvHeader(DewPointColumn dewPoint) {
    QByteArray header("time,relative_humidity_percent,humidity_status,temperature,"
                      "temperature_unit,temperature_status,battery_low");
    if (dewPoint == DewPointColumn::With)
        header += ",dew_point";
    return header + "\r\n";
}

void appendCsvLine(QByteArray& out, const ExportRow& row, DewPointColumn dewPoint) {
    appendIsoTime(out, row);
    out += ',';
    appendValue(out, row.humidity, "");
    out += ',';
    out += row.humidity.statusText();
    out += ',';
    appendValue(out, writtenTemperature(row), "");
    out += ',';
    out += writtenUnit(row);
    out += ',';
    out += row.temperature.statusText();
    out += row.batteryLow ? ",1" : ",0";
    if (dewPoint == DewPointColumn::With) {
        out += ',';
        appendValue(out, writtenDewPoint(row), "");
    }
    out += "\r\n";
}

void appendJsonLine(QByteArray& out, const ExportRow& row) {
    out += "{\"time\":\"";
    appendIsoTime(out, row);
    out += "\",\"relative_humidity_percent\":";
    appendValue(out, row.humidity, "null");
    out += ",\"humidity_status\":\"";
    out += row.humidity.statusText();
    out += "\",\"temperature\":";
    appendValue(out, writtenTemperature(row), "null");
    out += ",\"temperature_unit\":\"";
    out += writtenUnit(row);
    out += "\",\"temperature_status\":\"";
    out += row.temperature.statusText();
    out += row.batteryLow ? "\",\"battery_low\":true" : "\",\"battery_low\":false";
    out += ",\"dew_point\":";
    appendValue(out, writtenDewPoint(row), "null");
    out += "}\n";
}

QByteArray exportHeader(FileFormat format, DewPointColumn dewPoint) {
    return format == FileFormat::Csv ? csvHeader(dewPoint) : QByteArray();
}

void appendExportLine(QByteArray& out, FileFormat format, const ExportRow& row,
                      DewPointColumn dewPoint) {
    switch (format) {
    case FileFormat::Csv:
        appendCsvLine(out, row, dewPoint);
        return;
    case FileFormat::JsonLines:
        appendJsonLine(out, row);
        return;
    case FileFormat::Dat:
        return;
    }
}
