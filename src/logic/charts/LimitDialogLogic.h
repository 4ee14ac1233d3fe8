#pragma once

#include "logic/state/ChartKind.h"

#include <QString>
#include <optional>

struct ChartLimits;
struct LiveChartProgress;

// The logic of the live charts' limit dialogs RHRANGE (humidity) and TEMRANGE (temperature).

// The dialogs' text boxes, in the order of the kinds' tables of tested boxes.
enum class LimitBox {
    Points, // TXTT2, "NO.S OF REC"
    Min,    // TXTR1
    Max,    // TXTR2
};

// The box whose value a change of `changed` tests, if any. RHRANGE tests MAX on a change of
// MAX and MIN on a change of the point count (a change of MIN tests nothing); TEMRANGE tests
// MIN and MAX each on its own change.
std::optional<LimitBox> limitBoxTestedOnChange(ChartKind kind, LimitBox changed);

// True when the tested box's text is to be cleared: its leading number is below 0 or above 100.
bool limitTextOutOfRange(const QString& text);

// The texts of the three boxes.
struct LimitEntries {
    QString points; // TXTT2
    QString min;    // TXTR1
    QString max;    // TXTR2
};

// What the dialog shows when it opens: the chart's point count, bottom and top values as text.
LimitEntries limitDialogEntries(const ChartLimits& limits);

enum class LimitVerdict { Accepted, Rejected };

// "OK": stores points = Val(TXTT2) + 1, top = Val(TXTR2), mid = (top + bottom) / 2 and
// bottom = Val(TXTR1) into the chart's limit set first, then rejects a count below 2 or above
// 10000, a top or mid of 0, a top below mid, or any value too large to be a number. Rejected
// values stay stored. On acceptance the chart's progress goes back to waiting (Started and
// Index 0); the window then enables the chart's timer and shows a fresh chart. The window closes
// a visible chart before calling this.
LimitVerdict confirmLimits(const LimitEntries& entries, ChartLimits& limits,
                           LiveChartProgress& progress);

// The message of a rejection, leading blank included.
QString invalidLimitsMessage();
