#pragma once

#include <QString>

// The geometry every chart shares, in twips on the chart window's client area (origin top left,
// y downwards), and the conversions from values, point numbers and times to what is drawn.
// Every coordinate returned is finite, whatever the input.
namespace ChartGeometry {
inline constexpr double Left = 1000;       // the value axis, where point 0 lies
inline constexpr double Right = 5000;      // the right end of the time axis
inline constexpr double Top = 1000;        // the top limit line
inline constexpr double Zero = 4000;       // the bottom (humidity) or zero (temperature) line
inline constexpr double Lower = 7000;      // the lower limit line of the temperature charts
inline constexpr double AboveTop = 900;    // where values above the top are drawn
inline constexpr double BelowLower = 7100; // where values below -top are drawn
} // namespace ChartGeometry

// Height of v on the upper half: 4000 - 3000 * (v - bottom) / (top - bottom), not clamped to
// the chart. A range of zero, or a result that is not a number, puts v on the bottom line;
// infinities are bounded to a large finite height.
double unclampedHeight(double value, double top, double bottom);

// The clamps of the upper half: below the top line (y < 1000) goes to 900, under the bottom
// line (y > 4000) to 4000. A height that is not a number goes to the bottom line.
double clampUpperHeight(double y);

// Height on the upper half, clamps included (humidity charts, temperature values >= 0).
double upperHeight(double value, double top, double bottom);

// Height on the lower half of the temperature charts, for values < 0:
// 4000 - 3000 * (v + bottom) / (top - bottom), then above the zero line becomes 4000 and below
// the lower limit line (y > 7000) becomes 7100. A range of zero gives 4000.
double lowerHeight(double value, double top, double bottom);

// The temperature charts' height: the upper half for v >= 0, the lower half for v < 0.
double temperatureHeight(double value, double top, double bottom);

// A record cell's height on the recorded humidity chart: "OL" lies at 900; any other cell is read
// by its leading number (no number gives 0) and placed on the upper half.
double humidityCellHeight(const QString& cell, double top, double bottom);

// A record cell's height on the recorded temperature chart: "OL" lies at 900, "-OL" at 7100; any
// other cell is read by its leading number and placed as temperatureHeight places it.
double temperatureCellHeight(const QString& cell, double top, double bottom);

// x of point k of N across the chart: 1000 + k * 4000 / (N - 1), so point N - 1 lies exactly on
// x = 5000. With N <= 1 (no step) every point lies on the value axis.
double pointX(double index, double points);

// A time of day shown as hh:mm:ss, each field at least two digits: t is first taken to whole
// seconds (halves to even); hours are not reduced modulo 24 (25 h gives "25:00:00"). Negative or
// non-finite times show as "00:00:00".
QString timeLabel(double secondsSinceMidnight);

// The time a live chart will be full: now + N * sampling period, as a time label.
QString chartFullTimeLabel(double nowSecondsSinceMidnight, double points, double samplingSeconds);

// The live charts' timer interval in milliseconds from the caption of the sampling period
// ("2 Sec" gives 2000), halves to even, kept within the timer's 1 to 65535 ms.
int liveTickIntervalMs(const QString& samplingCaption);
