#include "logic/charts/RangeDialogLogic.h"

#include "logic/state/ChartState.h"
#include "logic/text/NumberText.h"
#include "logic/text/RecordCells.h"

#include <cmath>

RangeEntries rangeDialogEntries(const RecordedChartValues& values, const QString& bottomLabel,
                                const QString& topLabel) {
    return {QStringLiteral("1"), plainNumberText(values.Count), bottomLabel, topLabel};
}

RangeOutcome confirmRange(const RangeEntries& entries, const QString& setRecordCount,
                          const RecordCells& cells, RecordedChartValues& values) {
    const double from = leadingNumber(entries.from);
    const double to = leadingNumber(entries.to);
    const double min = leadingNumber(entries.min);
    const double max = leadingNumber(entries.max);
    const double mid = (max + min) / 2;
    double count = to - from + 1;
    if (from == 0)
        count -= 1;

    values.TopNow = entries.max;
    values.MidNow = mid;
    values.BottomNow = entries.min;
    values.Count = count;
    if (values.lowerHalf)
        *values.lowerHalf = {-max, -mid};

    RangeOutcome outcome;
    if (from < 0 || to < 0 || min < 0 || max < 0) {
        outcome.message = negativeRangeMessage();
        return outcome;
    }
    // A number typed too large for a double (1e999) would slip through the comparisons.
    const bool finite =
        std::isfinite(from) && std::isfinite(to) && std::isfinite(min) && std::isfinite(max);
    // A TO past the last row would put its time under the right end, where the trace never gets.
    if (!finite || to < from || max < min || max > values.Top ||
        leadingNumber(setRecordCount) < count || to > static_cast<double>(cells.lastRow())) {
        outcome.message = invalidRangeMessage();
        return outcome;
    }

    outcome.accepted = true;
    // Checked above: every row named lies within the rows present.
    outcome.fromRow = roundHalfEven(from);
    outcome.middleRow = roundHalfEven(from + std::floor((to - from) / 2));
    outcome.toRow = roundHalfEven(to);
    values.Time1 = cells.at(outcome.fromRow, RecordCells::TimeColumn);
    values.Time2 = cells.at(outcome.middleRow, RecordCells::TimeColumn);
    values.Time3 = cells.at(outcome.toRow, RecordCells::TimeColumn);
    return outcome;
}

QString negativeRangeMessage() {
    return QStringLiteral("Input No.s must be >=0, please try again !");
}

QString invalidRangeMessage() {
    return QStringLiteral(" Invalid No.s,  please try again !");
}
