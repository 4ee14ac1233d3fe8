#include "charts/RangeDialogLogic.h"

#include "charts/RecordCells.h"
#include "state/SharedState.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// A record number kept within the rows present, taken whole (halves to even).
long long presentRow(double record, const RecordCells& cells) {
    if (std::isnan(record))
        return 0;
    return roundHalfEven(std::clamp(record, 0.0, static_cast<double>(cells.lastRow())));
}

} // namespace

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
    if (!finite || to < from || max < min || max > defaultTop ||
        leadingNumber(setRecordCount) < count) {
        outcome.message = invalidRangeMessage();
        return outcome;
    }

    outcome.accepted = true;
    outcome.fromRow = presentRow(from, cells);
    outcome.middleRow = presentRow(from + std::floor((to - from) / 2), cells);
    outcome.toRow = presentRow(to, cells);
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
