#pragma once

#include "logic/state/ChartKind.h"

#include <QString>
#include <optional>

// A live chart's limit set; the start-up gives it its defaults.
struct ChartLimits {
    double Points = 0;
    double Top = 0;
    double Mid = 0;
    double Bottom = 0;
};

// Where a live chart stands: 0 (waiting) until its first point since it was (re)opened, the
// index k of the last point placed and that point's position in twips.
struct LiveChartProgress {
    int Started = 0;
    int Index = 0;
    double LastX = 0;
    double LastY = 0;
};

// The recorded temperature chart's lower half, which mirrors the upper one: its labels show
// -top and -mid.
struct RecordedLowerHalf {
    double NegTop = -100;
    double NegMid = -50;
};

// What a recorded chart draws, prepared when the chart is asked for from the record list and
// changed by its range dialog. The top and bottom values are texts because the dialog stores
// them as typed; the labels show them as they stand and the drawing reads their leading number.
struct RecordedChartValues {
    double Count = 0;
    QString TopNow = QStringLiteral("100");
    double MidNow = 50;
    QString BottomNow = QStringLiteral("0");
    double Top = 100;
    double Mid = 50;
    double Bottom = 0;
    QString Time1;
    QString Time2;
    QString Time3;
    // The temperature chart's alone; the humidity chart has no lower half.
    std::optional<RecordedLowerHalf> lowerHalf;
};

// One chart kind's state: its live chart's limits and progress, its recorded chart's values.
struct ChartState {
    ChartLimits limits;
    LiveChartProgress progress;
    RecordedChartValues recorded;
};

// Both kinds' chart state as the program starts: only the temperature charts have a lower half.
inline PerKind<ChartState> chartStatesAtStart() {
    PerKind<ChartState> charts;
    charts[ChartKind::Temperature].recorded.lowerHalf = RecordedLowerHalf{};
    return charts;
}
