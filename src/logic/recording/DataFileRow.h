#pragma once

#include "logic/recording/ExportRow.h"

#include <QByteArrayView>
#include <QList>
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

// The offsets from UTC of the local times of a file in a zone, asked in the file's order. A time
// the clock skips has none; a time it repeats is taken in its first pass, or in its second once
// the file has stepped back into the repeated hour, as a clock going back makes it. An hour
// without a clock change in it is looked up once, since the lines of a data file follow one
// another in time.
class ZoneOffsets {
public:
    // What a time the clock skips gets: nothing, since a clock that follows the zone never shows
    // it; or the offset before the change, for a meter's clock, which keeps no summer time and
    // so records on through the skipped hour.
    enum class SkippedTime { None, OffsetBefore };

    explicit ZoneOffsets(QTimeZone zone, SkippedTime skipped = SkippedTime::None)
        : zone_(std::move(zone)), skipped_(skipped) {}
    std::optional<int> offsetAt(QDate date, QTime time);

private:
    int offsetAtInstant(qint64 utcSeconds) const;
    // The offsets the zone may give a local time, taken as seconds since the epoch as if it were
    // UTC: none in a gap, the first pass's first in a repeated hour.
    QList<int> candidateOffsets(qint64 localSeconds) const;
    bool hourHasOneOffset(qint64 hourStart, int offset) const;

    QTimeZone zone_;
    SkippedTime skipped_;
    QDate cachedDate_;
    int cachedHour_ = -1;
    int cachedOffset_ = 0;
    std::optional<qint64> previousInstant_;
};

// The row with its offset in the zone; nothing when the zone's clock skips its time.
std::optional<ExportRow> exportRow(const DataFileRow& row, ZoneOffsets& offsets);
