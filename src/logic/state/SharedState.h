#pragma once

#include "logic/dew/VapourTables.h"
#include "logic/link/LiveReading.h"
#include "logic/state/ChartState.h"

#include <QString>

// What the recorder and the live list share with the sampling tick.
struct RecordingState {
    bool RecordingOn = false;
    QString DataFileName;
    qint64 RecordCount = 0;
    int ListLive = 0;
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
    PerKind<ChartState> charts = chartStatesAtStart();
    LoggerSelection logger;
    VapourTables vapourTables;
};
