#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The unit a recording writes its temperatures in: the meter's own, or always the one chosen.
enum class TemperatureUnit { Meter, Celsius, Fahrenheit };

// "meter", "C" or "F" (the letter in either case).
std::optional<TemperatureUnit> parseTemperatureUnit(const QString& text);

// The letter ('C' or 'F') a reading the meter gave in meterUnit is written with.
char writtenUnitLetter(TemperatureUnit unit, char meterUnit);

// A temperature's decimal text taken from one unit ('C' or 'F') to the other by
// °C = (°F - 32) × 5/9 and back, to the tenth the meter itself shows, halves away from zero
// ("70.3" °F gives "21.3" °C). The text as it is when the units are the same.
QByteArray convertedTemperature(const QByteArray& decimal, char from, char to);
