#include "logic/recording/TemperatureUnit.h"

#include "logic/text/NumberText.h"

std::optional<TemperatureUnit> parseTemperatureUnit(const QString& text) {
    if (text == QLatin1String("meter"))
        return TemperatureUnit::Meter;
    if (text.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0)
        return TemperatureUnit::Celsius;
    if (text.compare(QLatin1String("F"), Qt::CaseInsensitive) == 0)
        return TemperatureUnit::Fahrenheit;
    return std::nullopt;
}

char writtenUnitLetter(TemperatureUnit unit, char meterUnit) {
    switch (unit) {
    case TemperatureUnit::Celsius:
        return 'C';
    case TemperatureUnit::Fahrenheit:
        return 'F';
    case TemperatureUnit::Meter:
        break;
    }
    return meterUnit;
}

QByteArray convertedTemperature(const QByteArray& decimal, char from, char to) {
    if (from == to)
        return decimal;
    const double value = decimal.toDouble();
    const double converted = to == 'F' ? value * 9.0 / 5.0 + 32.0 : (value - 32.0) * 5.0 / 9.0;
    return formatNumber(converted, QStringLiteral("0.0")).toLatin1();
}
