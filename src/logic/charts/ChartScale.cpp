#include "logic/charts/ChartScale.h"

#include "logic/text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any window, yet safe to convert to single precision and to clamp.
constexpr double HeightBound = 1e9;

// Seconds beyond any clock reading a chart can be given, well inside the whole-number range.
constexpr double LongestTime = 1e12;

double boundedHeight(double y) {
    if (std::isnan(y))
        return ChartGeometry::Zero;
    return std::clamp(y, -HeightBound, HeightBound);
}

// The scaling rule on a value already moved to the upper half's terms.
double scaledHeight(double offset, double top, double bottom) {
    const double range = top - bottom;
    if (range == 0 || std::isnan(range))
        return ChartGeometry::Zero;
    return boundedHeight(ChartGeometry::Zero - 3000 * offset / range);
}

QString twoDigits(long long value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

double unclampedHeight(double value, double top, double bottom) {
    return scaledHeight(value - bottom, top, bottom);
}

double clampUpperHeight(double y) {
    if (std::isnan(y) || y > ChartGeometry::Zero)
        return ChartGeometry::Zero;
    if (y < ChartGeometry::Top)
        return ChartGeometry::AboveTop;
    return y;
}

double upperHeight(double value, double top, double bottom) {
    return clampUpperHeight(unclampedHeight(value, top, bottom));
}

double lowerHeight(double value, double top, double bottom) {
    const double y = scaledHeight(value + bottom, top, bottom);
    if (y < ChartGeometry::Zero)
        return ChartGeometry::Zero;
    if (y > ChartGeometry::Lower)
        return ChartGeometry::BelowLower;
    return y;
}

double temperatureHeight(double value, double top, double bottom) {
    return value < 0 ? lowerHeight(value, top, bottom) : upperHeight(value, top, bottom);
}

double humidityCellHeight(const QString& cell, double top, double bottom) {
    const QString text = cell.trimmed();
    if (text == QLatin1String("OL"))
        return ChartGeometry::AboveTop;
    return upperHeight(leadingNumber(text), top, bottom);
}

double temperatureCellHeight(const QString& cell, double top, double bottom) {
    const QString text = cell.trimmed();
    if (text == QLatin1String("OL"))
        return ChartGeometry::AboveTop;
    if (text == QLatin1String("-OL"))
        return ChartGeometry::BelowLower;
    return temperatureHeight(leadingNumber(text), top, bottom);
}

double pointX(double index, double points) {
    const double span = ChartGeometry::Right - ChartGeometry::Left;
    // Multiplying before dividing puts the last point of a whole N exactly on the right end.
    const double x = ChartGeometry::Left + index * span / (points - 1);
    if (!(points > 1) || std::isnan(x))
        return ChartGeometry::Left;
    return std::clamp(x, -HeightBound, HeightBound);
}

QString timeLabel(double secondsSinceMidnight) {
    const double t =
        std::isnan(secondsSinceMidnight) ? 0.0 : std::clamp(secondsSinceMidnight, 0.0, LongestTime);
    const long long whole = roundHalfEven(t);
    return twoDigits(whole / 3600) + QLatin1Char(':') + twoDigits(whole % 3600 / 60) +
           QLatin1Char(':') + twoDigits(whole % 60);
}

QString chartFullTimeLabel(double nowSecondsSinceMidnight, double points, double samplingSeconds) {
    return timeLabel(nowSecondsSinceMidnight + points * samplingSeconds);
}

int liveTickIntervalMs(const QString& samplingCaption) {
    const double ms = leadingNumber(samplingCaption) * 1000;
    if (std::isnan(ms))
        return 1;
    return static_cast<int>(roundHalfEven(std::clamp(ms, 1.0, 65535.0)));
}
