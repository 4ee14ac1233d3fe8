#pragma once

#include <QDateTime>
#include <QString>

// The body every list row and data file line shares: PC date MM-DD-YYYY, PC time HH:MM:SS
// (24-hour), humidity, temperature, unit and, with a low battery, "LOW", joined by TABs. The
// date and time always take this form, whatever the regional settings.
QString rowBody(const QDateTime& pcTime, const QString& humidity, const QString& temperature,
                const QString& unit, bool batteryLow);
