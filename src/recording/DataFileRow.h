#pragma once

#include "recording/ExportRow.h"

#include <QByteArrayView>
#include <QTimeZone>
#include <optional>

// Reads one line of a data file, either writer's: the recorder's ( 1 TAB 12-06-2026 TAB ...) with
// the PC's date as MM-DD-YYYY, or the record list's SAVE ("1 TAB 03-08-31 TAB ... ") with the
// meter's date as YY-MM-DD (years 2000 to 2099). The line comes without its line end. Nothing when
// the line is not one of them: a wrong field count, a date or time that does not exist, a value
// that is no reading, a unit other than C or F.
struct DataFileRow {
    QDate date;
    QTime time;
    ExportValue humidity;
    ExportValue temperature;
    char unit = 'C';
    bool batteryLow = false;
};
std::optional<DataFileRow> parseDataFileRow(QByteArrayView line);

// The offset from UTC of local times in a zone, computed once per hour of the file, since the
// lines of a data file follow one another in time. A local time that a clock change skips or
// repeats takes the offset the zone gives it.
class ZoneOffsets {
public:
    explicit ZoneOffsets(QTimeZone zone) : zone_(std::move(zone)) {}
    int offsetAt(QDate date, QTime time);

private:
    int exactOffset(QDate date, QTime time) const;

    QTimeZone zone_;
    QDate cachedDate_;
    int cachedHour_ = -1;
    int cachedOffset_ = 0;
};

// The row with its offset in the zone.
ExportRow exportRow(const DataFileRow& row, ZoneOffsets& offsets);
