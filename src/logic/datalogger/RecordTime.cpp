#include "logic/datalogger/RecordTime.h"

RecordTime::RecordTime(const MeterStamp& start, int intervalSeconds)
    : time_(start), intervalSeconds_(intervalSeconds) {
    carry();
}

void RecordTime::next() {
    time_.second += intervalSeconds_;
    carry();
}

bool RecordTime::isLeapYear(int twoDigitYear) {
    return (twoDigitYear % 4 == 0 && twoDigitYear % 100 != 0) || twoDigitYear % 400 == 0;
}

void RecordTime::carry() {
    time_.minute += time_.second / 60;
    time_.second %= 60;
    time_.hour += time_.minute / 60;
    time_.minute %= 60;
    time_.day += time_.hour / 24;
    time_.hour %= 24;
    carryMonth();
}

void RecordTime::carryMonth() {
    const int month = time_.month;
    int monthLength = 0;
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        monthLength = 31;
        break;
    case 4:
    case 6:
    case 9:
    case 11:
        monthLength = 30;
        break;
    case 2:
        monthLength = isLeapYear(time_.year) ? 29 : 28;
        break;
    default:
        // A month the meter cannot have sent: no month end is known, the day just counts on.
        return;
    }
    if (time_.day > monthLength) {
        time_.month += time_.day / monthLength;
        time_.day %= monthLength;
    }
    if (month == 12 && time_.month > 12) {
        time_.month %= 12;
        time_.year = (time_.year + 1) % 100;
    }
}
