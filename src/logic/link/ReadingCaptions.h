#pragma once

#include <QString>

struct LiveReading;

// What the front panel shows of a reading, and so what a recorded row carries: the values as
// the display formats them, the unit and the battery flag.
struct ReadingCaptions {
    QString humidity;
    QString temperature;
    QString unit;
    bool batteryLow = false;
};

ReadingCaptions readingCaptions(const LiveReading& reading);
