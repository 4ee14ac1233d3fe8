#pragma once

#include "logic/state/ChartKind.h"

#include <QLineF>
#include <QString>

struct LiveChartProgress;

// What one timer tick asks of the live chart window, once it has refreshed its labels.
struct LiveTickStep {
    enum class Action {
        Nothing,    // one point across the chart (or a count no chart can use): labels only
        FirstPoint, // the first point was placed; nothing to draw yet
        Segment,    // draw segment; then see startOver
    };
    Action action = Action::Nothing;
    QLineF segment;
    // The trace reached the right end: close the window and show a fresh one (placed, cleared,
    // new time labels). The progress is already back in its waiting state.
    bool startOver = false;
};

// One plotting step of GRAPH1 (kind Humidity) or of GRAPH2 (Temperature), updating that chart's
// progress. points is the chart's
// point count N; topText and bottomText are the captions of LBLVALTOP and LBL0, readingText the
// live reading (lblvalue); all three are read by their leading number (no number gives 0). The
// humidity chart keeps its first height unclamped and clamps both ends of each segment before
// drawing; the temperature chart clamps each point as it places it, on the half its sign
// chooses. A count below 2 plots nothing.
LiveTickStep liveChartTick(ChartKind kind, LiveChartProgress& progress, double points,
                           const QString& topText, const QString& bottomText,
                           const QString& readingText);
