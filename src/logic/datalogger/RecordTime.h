#pragma once

#include "logic/datalogger/MeterStamp.h"

#include <QString>

// The date and time of each downloaded record, rebuilt from the set's start and interval the way
// the meter counts: seconds carry into minutes, hours and days, a day past the month's end
// carries into the month, December into the next two-digit year (99 is followed by 00). Leap
// years are judged by the two-digit year alone.
class RecordTime {
public:
    // The time of record 1: the set's start, carried like every later record.
    RecordTime(const MeterStamp& start, int intervalSeconds);

    // Steps on to the next record.
    void next();

    const MeterStamp& fields() const { return time_; }
    // "04-02-29" and "00:00:10".
    QString dateText() const { return time_.dateText(); }
    QString timeText() const { return time_.timeText(); }

    static bool isLeapYear(int twoDigitYear);

private:
    void carry();
    void carryMonth();

    MeterStamp time_;
    int intervalSeconds_;
};
