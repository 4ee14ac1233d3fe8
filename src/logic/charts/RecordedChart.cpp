#include "logic/charts/RecordedChart.h"

#include "logic/charts/ChartKindTraits.h"
#include "logic/charts/ChartScale.h"
#include "logic/state/ChartState.h"
#include "logic/text/NumberText.h"
#include "logic/text/RecordCells.h"

#include <algorithm>
#include <cmath>

namespace {

// Far more records than any grid holds, yet safe for whole-number arithmetic.
constexpr double MostRecords = 1e12;

long long wholeRecords(double value) {
    if (std::isnan(value))
        return 0;
    return roundHalfEven(std::clamp(value, -MostRecords, MostRecords));
}

} // namespace

void prepareRecordedChart(const QString& setRecordCount, const RecordCells& cells,
                          RecordedChartValues& values) {
    const double present = static_cast<double>(std::max(cells.rowCount - 1, 0));
    const double wanted = leadingNumber(setRecordCount);
    const long long n = wholeRecords(std::isnan(wanted) ? 0.0 : std::clamp(wanted, 0.0, present));
    values.Count = static_cast<double>(n);
    values.Time1 = cells.at(1, RecordCells::TimeColumn);
    values.Time2 = cells.at(n / 2, RecordCells::TimeColumn);
    values.Time3 = cells.at(n, RecordCells::TimeColumn);
    values.Top = 100;
    values.Mid = 50;
    values.Bottom = 0;
    values.TopNow = plainNumberText(values.Top);
    values.MidNow = values.Mid;
    values.BottomNow = plainNumberText(values.Bottom);
    if (values.lowerHalf)
        *values.lowerHalf = {-values.Top, -values.MidNow};
}

double recordedChartStart(bool rangeDialogVisible, const QString& fromText) {
    return rangeDialogVisible ? leadingNumber(fromText) : 1.0;
}

QList<QLineF> recordedChartSegments(ChartKind kind, double count, double start,
                                    const QString& topText, const QString& bottomText,
                                    const RecordCells& cells) {
    const ChartKindTraits& traits = chartKindTraits(kind);
    QList<QLineF> segments;
    const long long n = wholeRecords(count);
    const long long from = wholeRecords(start);
    if (n < 2 || (traits.blankFromLastRecord && from == n))
        return segments;
    const double top = leadingNumber(topText);
    const double bottom = leadingNumber(bottomText);
    const int column = traits.recordColumn;
    const double points = static_cast<double>(n);

    // Segment i joins rows i and i + 1; both must be rows present.
    const long long firstRow = std::max(from, 0LL);
    const long long lastRow = std::min(from + n - 2, cells.lastRow() - 1);
    if (firstRow > lastRow)
        return segments;
    segments.reserve(static_cast<qsizetype>(lastRow - firstRow + 1));
    double previousY = traits.cellHeight(cells.at(firstRow, column), top, bottom);
    double previousX = pointX(static_cast<double>(firstRow - from), points);
    for (long long row = firstRow; row <= lastRow; ++row) {
        const double y = traits.cellHeight(cells.at(row + 1, column), top, bottom);
        const double x = pointX(static_cast<double>(row + 1 - from), points);
        segments.append(QLineF(previousX, previousY, x, y));
        previousX = x;
        previousY = y;
    }
    return segments;
}
