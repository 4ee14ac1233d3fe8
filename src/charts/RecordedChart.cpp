#include "charts/RecordedChart.h"

#include "charts/ChartScale.h"
#include "charts/RecordCells.h"
#include "state/SharedState.h"
#include "text/NumberText.h"

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

double cellHeight(ChartKind kind, const QString& cell, double top, double bottom) {
    const QString text = cell.trimmed();
    if (text == QLatin1String("OL"))
        return ChartGeometry::AboveTop;
    if (kind == ChartKind::Humidity)
        return upperHeight(leadingNumber(text), top, bottom);
    if (text == QLatin1String("-OL"))
        return ChartGeometry::BelowLower;
    return temperatureHeight(leadingNumber(text), top, bottom);
}

} // namespace

void prepareRecordedChart(ChartKind kind, const QString& setRecordCount, const RecordCells& cells,
                          RecordedChartValues& values) {
    const double present = static_cast<double>(std::max(cells.rowCount - 1, 0));
    const double wanted = leadingNumber(setRecordCount);
    const long long n = wholeRecords(std::isnan(wanted) ? 0.0 : std::clamp(wanted, 0.0, present));
    const QString first = cells.at(1, RecordCells::TimeColumn);
    const QString middle = cells.at(n / 2, RecordCells::TimeColumn);
    const QString last = cells.at(n, RecordCells::TimeColumn);
    if (kind == ChartKind::Humidity) {
        values.RecHumCount = static_cast<double>(n);
        values.RecHumTime1 = first;
        values.RecHumTime2 = middle;
        values.RecHumTime3 = last;
        values.RecHumTop = 100;
        values.RecHumMid = 50;
        values.RecHumBottom = 0;
        values.RecHumTopNow = plainNumberText(values.RecHumTop);
        values.RecHumMidNow = values.RecHumMid;
        values.RecHumBottomNow = plainNumberText(values.RecHumBottom);
        return;
    }
    values.RecTemCount = static_cast<double>(n);
    values.RecTemTime1 = first;
    values.RecTemTime2 = middle;
    values.RecTemTime3 = last;
    values.RecTemTop = 100;
    values.RecTemMid = 50;
    values.RecTemBottom = 0;
    values.RecTemTopNow = plainNumberText(values.RecTemTop);
    values.RecTemMidNow = values.RecTemMid;
    values.RecTemBottomNow = plainNumberText(values.RecTemBottom);
    values.RecTemNegTop = -values.RecTemTop;
    values.RecTemNegMid = -values.RecTemMidNow;
}

double recordedChartStart(bool rangeDialogVisible, const QString& fromText) {
    return rangeDialogVisible ? leadingNumber(fromText) : 1.0;
}

QList<QLineF> recordedChartSegments(ChartKind kind, double count, double start,
                                    const QString& topText, const QString& bottomText,
                                    const RecordCells& cells) {
    QList<QLineF> segments;
    const long long n = wholeRecords(count);
    const long long from = wholeRecords(start);
    if (n < 2 || (kind == ChartKind::Humidity && from == n))
        return segments;
    const double top = leadingNumber(topText);
    const double bottom = leadingNumber(bottomText);
    const int column =
        kind == ChartKind::Humidity ? RecordCells::HumidityColumn : RecordCells::TemperatureColumn;
    const double points = static_cast<double>(n);

    // Segment i joins rows i and i + 1; both must be rows present.
    const long long firstRow = std::max(from, 0LL);
    const long long lastRow = std::min(from + n - 2, cells.lastRow() - 1);
    if (firstRow > lastRow)
        return segments;
    segments.reserve(static_cast<qsizetype>(lastRow - firstRow + 1));
    double previousY = cellHeight(kind, cells.at(firstRow, column), top, bottom);
    double previousX = pointX(static_cast<double>(firstRow - from), points);
    for (long long row = firstRow; row <= lastRow; ++row) {
        const double y = cellHeight(kind, cells.at(row + 1, column), top, bottom);
        const double x = pointX(static_cast<double>(row + 1 - from), points);
        segments.append(QLineF(previousX, previousY, x, y));
        previousX = x;
        previousY = y;
    }
    return segments;
}
