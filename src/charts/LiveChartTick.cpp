#include "charts/LiveChartTick.h"

#include "charts/ChartScale.h"
#include "state/SharedState.h"
#include "text/NumberText.h"

#include <climits>
#include <cmath>

namespace {

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

double placedHeight(ChartKind kind, double value, double top, double bottom) {
    return kind == ChartKind::Humidity ? unclampedHeight(value, top, bottom)
                                       : temperatureHeight(value, top, bottom);
}

LiveTickStep tickOn(ChartKind kind, int& started, int& index, double& lastX, double& lastY,
                    double points, const QString& topText, const QString& bottomText,
                    const QString& readingText) {
    LiveTickStep step;
    // Only a dialog's rejected entry can leave fewer than two points; a step of zero or
    // pointing leftwards would never fill the chart.
    if (!(points >= 2))
        return step;
    const double value = leadingNumber(readingText);
    const double top = leadingNumber(topText);
    const double bottom = leadingNumber(bottomText);
    if (started == 0) {
        started = 1;
        index = 0;
        lastX = ChartGeometry::Left;
        lastY = placedHeight(kind, value, top, bottom);
        step.action = LiveTickStep::Action::FirstPoint;
        return step;
    }
    double y = placedHeight(kind, value, top, bottom);
    const double x = pointX(static_cast<double>(index) + 1, points);
    double fromY = finiteOr(lastY, ChartGeometry::Zero);
    if (kind == ChartKind::Humidity) {
        fromY = clampUpperHeight(fromY);
        y = clampUpperHeight(y);
    }
    step.action = LiveTickStep::Action::Segment;
    step.segment = QLineF(finiteOr(lastX, ChartGeometry::Left), fromY, x, y);
    lastX = x;
    lastY = y;
    if (x >= ChartGeometry::Right || index == INT_MAX - 1) {
        started = 0;
        index = 0;
        step.startOver = true;
    } else {
        ++index;
    }
    return step;
}

} // namespace

LiveTickStep liveChartTick(ChartKind kind, LiveChartProgress& progress, double points,
                           const QString& topText, const QString& bottomText,
                           const QString& readingText) {
    if (kind == ChartKind::Humidity)
        return tickOn(kind, progress.HumStarted, progress.HumIndex, progress.HumLastX,
                      progress.HumLastY, points, topText, bottomText, readingText);
    return tickOn(kind, progress.TemStarted, progress.TemIndex, progress.TemLastX,
                  progress.TemLastY, points, topText, bottomText, readingText);
}
