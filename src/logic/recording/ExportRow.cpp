#include "logic/recording/ExportRow.h"

#include "logic/link/LiveReading.h"

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

ExportRow liveExportRow(const QDateTime& takenAt, const LiveReading& reading) {
    const auto value = [](const QString& text) {
        return exportValue(text.toLatin1()).value_or(ExportValue{});
    };
    return ExportRow{takenAt.date(),
                     takenAt.time(),
                     takenAt.offsetFromUtc(),
                     value(reading.HumidityText),
                     value(reading.TemperatureText),
                     reading.TempUnit == QLatin1String("F") ? 'F' : 'C',
                     reading.BatteryLow == 1};
}

QByteArray csvHeader() {
    return QByteArrayLiteral("time,relative_humidity_percent,humidity_status,temperature,"
                             "temperature_unit,temperature_status,battery_low\r\n");
}

void appendCsvLine(QByteArray& out, const ExportRow& row) {
    appendIsoTime(out, row);
    out += ',';
    appendValue(out, row.humidity, "");
    out += ',';
    out += row.humidity.statusText();
    out += ',';
    appendValue(out, row.temperature, "");
    out += ',';
    out += row.unit;
    out += ',';
    out += row.temperature.statusText();
    out += row.batteryLow ? ",1\r\n" : ",0\r\n";
}

void appendJsonLine(QByteArray& out, const ExportRow& row) {
    out += "{\"time\":\"";
    appendIsoTime(out, row);
    out += "\",\"relative_humidity_percent\":";
    appendValue(out, row.humidity, "null");
    out += ",\"humidity_status\":\"";
    out += row.humidity.statusText();
    out += "\",\"temperature\":";
    appendValue(out, row.temperature, "null");
    out += ",\"temperature_unit\":\"";
    out += row.unit;
    out += "\",\"temperature_status\":\"";
    out += row.temperature.statusText();
    out += row.batteryLow ? "\",\"battery_low\":true}\n" : "\",\"battery_low\":false}\n";
}

QByteArray exportHeader(FileFormat format) {
    return format == FileFormat::Csv ? csvHeader() : QByteArray();
}

void appendExportLine(QByteArray& out, FileFormat format, const ExportRow& row) {
    switch (format) {
    case FileFormat::Csv:
        appendCsvLine(out, row);
        return;
    case FileFormat::JsonLines:
        appendJsonLine(out, row);
        return;
    case FileFormat::Dat:
        return;
    }
}
