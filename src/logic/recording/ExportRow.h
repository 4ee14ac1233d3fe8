#pragma once

#include "logic/recording/FileFormat.h"
#include "logic/recording/TemperatureUnit.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// One reading as the standard formats (CSV, JSON Lines, MQTT payloads) carry it: a time with its
// offset from UTC, each quantity as a plain decimal or absent with the reason, the unit and the
// battery flag. A reading the meter could not give ("OL", "-OL", "----") has no number, so no
// program reading the file can mistake it for one.
struct ExportValue {
    enum class Status { Ok, Overload, Underload, NoReading };

    Status status = Status::NoReading;
    // The decimal as the meter gave it, normalised ("05.6" becomes "5.6", "45" becomes "45.0");
    // empty unless Ok.
    QByteArray decimal;

    // "ok", "overload", "underload", "no_reading".
    const char* statusText() const;
};

struct ExportRow {
    // The local date and time the reading was taken, and the local offset from UTC then.
    QDate date;
    QTime time;
    int utcOffsetSeconds = 0;
    ExportValue humidity;
    ExportValue temperature;
    // 'C' or 'F', as the meter gave the temperature.
    char unit = 'C';
    bool batteryLow = false;
    // The dew (frost) point in °C as the dew window finds it, before rounding; none when either
    // value has no number or the reading lies beyond the vapour tables.
    std::optional<double> dewPointCelsius;
    // The unit the temperature and the dew point are written in.
    TemperatureUnit writtenUnit = TemperatureUnit::Meter;
};

// Whether a CSV line ends with the dew point: a column of its own at the end, so that a file
// written without it keeps its shape.
enum class DewPointColumn { Without, With };

struct LiveReading;
class QDateTime;

// The reading just decoded, taken at takenAt (local time). A value text that is no reading (a
// garbled digit) counts as none.
ExportRow liveExportRow(const QDateTime& takenAt, const LiveReading& reading);

// The dew (frost) point the dew window shows for the values, in °C before rounding. None when
// either has no number (overload, underload, no reading), although the window reads an over-range
// temperature as 0 °C: a file never carries a dew point of a value the meter did not give.
std::optional<double> exportDewPoint(const ExportValue& humidity, const ExportValue& temperature,
                                     char unit);

// The row as it is written: the unit's letter, the temperature in it, and the dew point in it to
// one decimal as the meter gives its temperature (no reading when there is none).
char writtenUnit(const ExportRow& row);
ExportValue writtenTemperature(const ExportRow& row);
ExportValue writtenDewPoint(const ExportRow& row);

// Reads a value text as the display and the data file show it. Nothing when the text is none of
// a decimal, "OL", "-OL" or "----".
std::optional<ExportValue> exportValue(QByteArrayView text);

// Times are ISO 8601 with the offset, to the second: 2026-12-06T09:45:07+01:00.
// CSV as RFC 4180: CRLF line ends, commas, quoting only where a cell needs it (no cell of ours
// does).
QByteArray csvHeader(DewPointColumn dewPoint = DewPointColumn::Without);
void appendCsvLine(QByteArray& out, const ExportRow& row,
                   DewPointColumn dewPoint = DewPointColumn::Without);
// One JSON object per line, LF-terminated, with the CSV's fields and always the dew point, null
// when there is none.
void appendJsonLine(QByteArray& out, const ExportRow& row);

// The header a file of the format starts with (CSV only), and the row's line in the format. The
// data file's lines number their rows and are made from the reading's captions: Dat gives
// nothing here.
QByteArray exportHeader(FileFormat format, DewPointColumn dewPoint = DewPointColumn::Without);
void appendExportLine(QByteArray& out, FileFormat format, const ExportRow& row,
                      DewPointColumn dewPoint = DewPointColumn::Without);
