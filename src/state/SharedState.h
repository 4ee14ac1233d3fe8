#pragma once

#include "dew/VapourTables.h"
#include "link/LiveReading.h"

#include <QString>

// What the recorder and the live list share with the sampling tick.
struct RecordingState {
    bool RecordingOn = false;
    QString DataFileName;
    qint64 RecordCount = 0;
    int ListLive = 0;
};

// The live charts' limit sets; the start-up gives them their defaults.
struct ChartLimits {
    double HumPoints = 0;
    double HumTop = 0;
    double HumMid = 0;
    double HumBottom = 0;
    double TemPoints = 0;
    double TemTop = 0;
    double TemMid = 0;
    double TemBottom = 0;
};

// Where each live chart stands: 0 (waiting) until its first point since it was (re)opened, the
// index k of the last point placed and that point's position in twips.
struct LiveChartProgress {
    int HumStarted = 0;
    int HumIndex = 0;
    double HumLastX = 0;
    double HumLastY = 0;
    int TemStarted = 0;
    int TemIndex = 0;
    double TemLastX = 0;
    double TemLastY = 0;
};

// What the recorded charts draw, prepared by the record list and changed by the range dialogs.
// The top and bottom values are texts because a dialog stores them as typed; the labels show
// them as they stand and the drawing reads their leading number.
struct RecordedChartValues {
    double RecHumCount = 0;
    QString RecHumTopNow = QStringLiteral("100");
    double RecHumMidNow = 50;
    QString RecHumBottomNow = QStringLiteral("0");
    double RecHumTop = 100;
    double RecHumMid = 50;
    double RecHumBottom = 0;
    QString RecHumTime1;
    QString RecHumTime2;
    QString RecHumTime3;

    double RecTemCount = 0;
    QString RecTemTopNow = QStringLiteral("100");
    double RecTemMidNow = 50;
    QString RecTemBottomNow = QStringLiteral("0");
    double RecTemTop = 100;
    double RecTemMid = 50;
    double RecTemBottom = 0;
    double RecTemNegTop = -100;
    double RecTemNegMid = -50;
    QString RecTemTime1;
    QString RecTemTime2;
    QString RecTemTime3;
};

// The set chosen in the datalogger window.
struct LoggerSelection {
    int SelectedSet = 0;
    QString SetRecordCount;
};

// The program's shared state: created once by the application and handed to every window that
// reads or writes it. Nothing of it is global.
struct SharedState {
    int ComPortNumber = 0;
    LiveReading reading;
    RecordingState recording;
    ChartLimits chartLimits;
    LiveChartProgress chartProgress;
    RecordedChartValues recordedCharts;
    LoggerSelection logger;
    VapourTables vapourTables;
};
