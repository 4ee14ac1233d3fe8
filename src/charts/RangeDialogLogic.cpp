#include "charts/RangeDialogLogic.h"

#include "charts/RecordCells.h"
#include "state/SharedState.h"
#include "text/NumberText.h"

#include <cmath>

RangeEntries rangeDialogEntries(ChartKind kind, const RecordedChartValues& values,
                                const QString& bottomLabel, const QString& topLabel) {
    const double count = kind == ChartKind::Humidity ? values.RecHumCount : values.RecTemCount;
    return {QStringLiteral("1"), plainNumberText(count), bottomLabel, topLabel};
}

RangeOutcome confirmRange(ChartKind kind, const RangeEntries& entries,
                          const QString& setRecordCount, const RecordCells& cells,
                          RecordedChartValues& values) {
    const double from = leadingNumber(entries.from);
    const double to = leadingNumber(entries.to);
    const double min = leadingNumber(entries.min);
    const double max = leadingNumber(entries.max);
    const double mid = (max + min) / 2;
    double count = to - from + 1;
    if (from == 0)
        count -= 1;

    const bool humidity = kind == ChartKind::Humidity;
    (humidity ? values.RecHumTopNow : values.RecTemTopNow) = entries.max;
    (humidity ? values.RecHumMidNow : values.RecTemMidNow) = mid;
    (humidity ? values.RecHumBottomNow : values.RecTemBottomNow) = entries.min;
    (humidity ? values.RecHumCount : values.RecTemCount) = count;
    if (!humidity) {
        values.RecTemNegTop = -max;
        values.RecTemNegMid = -mid;
    }

    RangeOutcome outcome;
    if (from < 0 || to < 0 || min < 0 || max < 0) {
        outcome.message = negativeRangeMessage();
        return outcome;
    }
    const double defaultTop = humidity ? values.RecHumTop : values.RecTemTop;
    // A number typed too large for a double (1e999) would slip through the comparisons.
    const bool finite =
        std::isfinite(from) && std::isfinite(to) && std::isfinite(min) && std::isfinite(max);
    // A TO past the last row would put its time under the right end, where the trace never gets.
    if (!finite || to < from || max < min || max > defaultTop ||
        leadingNumber(setRecordCount) < count || to > static_cast<double>(cells.lastRow())) {
        outcome.message = invalidRangeMessage();
        return outcome;
    }

    outcome.accepted = true;
    // Checked above: every row named lies within the rows present.
    outcome.fromRow = roundHalfEven(from);
    outcome.middleRow = roundHalfEven(from + std::floor((to - from) / 2));
    outcome.toRow = roundHalfEven(to);
    const QString first = cells.at(outcome.fromRow, RecordCells::TimeColumn);
    const QString middle = cells.at(outcome.middleRow, RecordCells::TimeColumn);
    const QString last = cells.at(outcome.toRow, RecordCells::TimeColumn);
    (humidity ? values.RecHumTime1 : values.RecTemTime1) = first;
    (humidity ? values.RecHumTime2 : values.RecTemTime2) = middle;
    (humidity ? values.RecHumTime3 : values.RecTemTime3) = last;
    return outcome;
}

QString negativeRangeMessage() {
    return QStringLiteral("Input No.s must be >=0, please try again !");
}

QString invalidRangeMessage() {
    return QStringLiteral(" Invalid No.s,  please try again !");
}
