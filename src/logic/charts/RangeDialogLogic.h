#pragma once

#include <QString>

struct RecordCells;
struct RecordedChartValues;

// The logic of the recorded charts' range dialogs RANGEFORM (humidity) and RANGEFORM2
// (temperature).

// The texts of the four boxes.
struct RangeEntries {
    QString from; // TXTT1
    QString to;   // TXTT2
    QString min;  // TXTR1
    QString max;  // TXTR2
};

// What the dialog shows when it opens: FROM "1", TO the chart's record count, MIN and MAX the
// captions of the chart's LBL0 and LBLVALTOP.
RangeEntries rangeDialogEntries(const RecordedChartValues& values, const QString& bottomLabel,
                                const QString& topLabel);

struct RangeOutcome {
    bool accepted = false;
    QString message;       // the message box text of a rejection (critical icon), empty otherwise
    long long fromRow = 0; // rows whose times became the time labels, when accepted
    long long middleRow = 0;
    long long toRow = 0;
};

// "OK": stores top = the MAX text, mid = (Val(MAX) + Val(MIN)) / 2, bottom = the MIN text
// (where the chart has a lower half: also -top and -mid) and count = Val(TO) - Val(FROM) + 1, one
// less when FROM is 0, all before any check. Then rejects a box below 0 ("Input No.s must be >=0,
// please try again !"), TO < FROM, MAX < MIN, MAX above the default top (100), a count beyond
// setRecordCount, a TO past the last row present or a value too large to be a number (" Invalid
// No.s,  please try again !"). Accepted, the time labels take rows FROM, FROM + Int((TO - FROM) /
// 2) and TO; the window then shows a fresh chart, which starts at FROM while the dialog stays open.
// The window closes a visible chart and writes the MIN text into LBL0 before calling this.
RangeOutcome confirmRange(const RangeEntries& entries, const QString& setRecordCount,
                          const RecordCells& cells, RecordedChartValues& values);

QString negativeRangeMessage();
QString invalidRangeMessage();
