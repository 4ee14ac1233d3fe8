#include "recording/ExportRow.h"

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

// A decimal as a JSON number and a spreadsheet read it: no leading zeros, no "-0".
std::optional<QByteArray> normalisedDecimal(QStringView text) {
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
    if (negative)
        ++i;
    const qsizetype integerStart = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    const qsizetype integerEnd = i;
    qsizetype fractionEnd = i;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        fractionEnd = i;
    }
    if (i != text.size() || integerEnd == integerStart || fractionEnd == integerEnd + 1)
        return std::nullopt;
    qsizetype firstSignificant = integerStart;
    while (firstSignificant + 1 < integerEnd && text[firstSignificant] == QLatin1Char('0'))
        ++firstSignificant;
    const QByteArray body = text.mid(firstSignificant, fractionEnd - firstSignificant).toLatin1();
    const bool zero = body.count('0') + body.count('.') == body.size();
    return negative && !zero ? '-' + body : body;
}

void appendValue(QByteArray& out, const ExportValue& value, const char* empty) {
    if (value.status == ExportValue::Status::Ok)
        out += value.decimal;
    else
        out += empty;
}

} // namespace

QByteArray ExportValue::statusText() const {
    switch (status) {
    case Status::Ok:
        return QByteArrayLiteral("ok");
    case Status::Overload:
        return QByteArrayLiteral("overload");
    case Status::Underload:
        return QByteArrayLiteral("underload");
    case Status::NoReading:
        break;
    }
    return QByteArrayLiteral("no_reading");
}

std::optional<ExportValue> exportValue(QStringView text) {
    if (text == QLatin1String("OL"))
        return ExportValue{ExportValue::Status::Overload, {}};
    if (text == QLatin1String("-OL"))
        return ExportValue{ExportValue::Status::Underload, {}};
    if (text == QLatin1String("----"))
        return ExportValue{ExportValue::Status::NoReading, {}};
    if (std::optional<QByteArray> decimal = normalisedDecimal(text))
        return ExportValue{ExportValue::Status::Ok, std::move(*decimal)};
    return std::nullopt;
}

QByteArray isoTimeText(const ExportRow& row) {
    const QDate date = row.date;
    const QTime clock = row.time;
    QByteArray out;
    out.reserve(25);
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
    return out;
}

QByteArray csvHeader() {
    return QByteArrayLiteral("time,relative_humidity_percent,humidity_status,temperature,"
                             "temperature_unit,temperature_status,battery_low\r\n");
}

QByteArray csvLine(const ExportRow& row) {
    QByteArray out = isoTimeText(row);
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
    return out;
}

QByteArray jsonLine(const ExportRow& row) {
    QByteArray out = "{\"time\":\"" + isoTimeText(row) + "\",\"relative_humidity_percent\":";
    appendValue(out, row.humidity, "null");
    out += ",\"humidity_status\":\"" + row.humidity.statusText() + "\",\"temperature\":";
    appendValue(out, row.temperature, "null");
    out += ",\"temperature_unit\":\"";
    out += row.unit;
    out += "\",\"temperature_status\":\"" + row.temperature.statusText() + "\",\"battery_low\":";
    out += row.batteryLow ? "true}\n" : "false}\n";
    return out;
}
