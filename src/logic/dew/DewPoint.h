#pragma once

#include <QString>
#include <optional>

struct VapourTables;

// What one dew point tick shows: the captions of the DEW window's labels.
struct DewDisplay {
    QString lblrh;
    QString lblc;
    QString unitHead;
    int unitHeadPointSize = 12;
    QString valueHead;
    QString lblvalue;
    // The actual vapour pressure in mmHg, rounded to three decimals as the search uses it.
    double vapourPressure = 0.0;
    // The dew (frost) point in °C before it is rounded for display.
    double dewPoint = 0.0;
};

// The dew point of the live humidity and temperature, found by inverting the vapour pressure
// tables. Nothing when the reading cannot be placed in the tables: a temperature beyond them,
// an over-range temperature in °F, a humidity that is not a number, a pressure no table reaches.
std::optional<DewDisplay> computeDewPoint(const QString& HumidityText,
                                          const QString& TemperatureText, const QString& TempUnit,
                                          const VapourTables& tables);

// A dew point found in °C in the unit a reading shows, Fahrenheit or Celsius: the window and the
// files convert alike, so that they agree to the last digit.
double dewPointInUnit(double celsius, bool fahrenheit);

// The temperature in °C at which one table reaches the vapour pressure e (mmHg): the warm table
// is searched upwards from 0 °C, the cold one downwards. Nothing when the search runs off the
// table's end.
std::optional<double> searchDewPoint(double e, const VapourTables& tables, bool warmTable);
