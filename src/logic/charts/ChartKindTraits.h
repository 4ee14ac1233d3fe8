#pragma once

#include "logic/charts/ChartWindowLayout.h"
#include "logic/charts/LimitDialogLogic.h"
#include "logic/state/ChartKind.h"

#include <QString>
#include <array>
#include <optional>

// What sets the humidity charts apart from the temperature charts, as data: the windows that show
// each kind, where its values lie, the record column it draws and its dialogs' names and texts.
struct ChartKindTraits {
    ChartWindowType liveWindow;
    ChartWindowType recordedWindow;

    // The live chart: a point's height as placed and kept in the progress, and the height each
    // end of a segment is drawn at.
    double (*placedHeight)(double value, double top, double bottom);
    double (*drawnHeight)(double placed);
    // The recorded chart: a record cell's height, and the column of the records it draws.
    double (*cellHeight)(const QString& cell, double top, double bottom);
    int recordColumn;
    // The humidity chart draws nothing when its first record is its record count.
    bool blankFromLastRecord;

    QString limitDialogName;
    QString limitDialogTitle;
    // By the box changed (in LimitBox order): the box whose value the change tests, if any.
    std::array<std::optional<LimitBox>, 3> limitBoxTested;

    QString rangeDialogName;
    QString rangeDialogTitle;
    QString rangeRecordsHeading;
};

const ChartKindTraits& chartKindTraits(ChartKind kind);
