#pragma once

#include "logic/state/ChartKind.h"

#include <QLineF>
#include <QList>
#include <QString>

struct RecordCells;
struct RecordedChartValues;

// The recorded charts REC_GRAPH (humidity) and REC_GRAPH2 (temperature), drawn from the record
// list's grid.

// HUMIDITY / TEMPERATURE in the record list, for that chart's values: the count
// n = Val(setRecordCount), whole, at most the records present and at least 0; the time labels
// from rows 1, Int(n / 2) and n; the limits back to 100, 50, 0 and copied to the values in use
// (and, where the chart has a lower half, -top and -mid).
void prepareRecordedChart(const QString& setRecordCount, const RecordCells& cells,
                          RecordedChartValues& values);

// The first record drawn: the number in the range dialog's FROM box while that dialog is
// visible, record 1 otherwise.
double recordedChartStart(bool rangeDialogVisible, const QString& fromText);

// The trace of a recorded chart: n - 1 segments from record `start` on, spread from x = 1000 to
// x = 5000; topText and bottomText are the captions of LBLVALTOP and LBL0. A cell "OL" lies at
// 900; on the temperature chart "-OL" lies at 7100; other cells are read by their leading number
// (no number gives 0). The humidity chart draws nothing when start equals n. n and start are
// taken to whole records (halves to even); only rows present are read, so a range reaching past
// them stops at the last row. n < 2 draws nothing (with n = 1 the window also leaves the time
// labels and the unit as they are).
QList<QLineF> recordedChartSegments(ChartKind kind, double count, double start,
                                    const QString& topText, const QString& bottomText,
                                    const RecordCells& cells);
