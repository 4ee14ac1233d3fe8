#include "logic/charts/LiveChartTick.h"

#include "logic/charts/ChartKindTraits.h"
#include "logic/charts/ChartScale.h"
#include "logic/state/ChartState.h"
#include "logic/text/NumberText.h"

#include <climits>
#include <cmath>

namespace {

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

} // namespace

LiveTickStep liveChartTick(ChartKind kind, LiveChartProgress& progress, double points,
                           const QString& topText, const QString& bottomText,
                           const QString& readingText) {
    const ChartKindTraits& traits = chartKindTraits(kind);
    LiveTickStep step;
    // Only a dialog's rejected entry can leave fewer than two points; a step of zero or
    // pointing leftwards would never fill the chart.
    if (!(points >= 2))
        return step;
    const double value = leadingNumber(readingText);
    const double top = leadingNumber(topText);
    const double bottom = leadingNumber(bottomText);
    if (progress.Started == 0) {
        progress.Started = 1;
        progress.Index = 0;
        progress.LastX = ChartGeometry::Left;
        progress.LastY = traits.placedHeight(value, top, bottom);
        step.action = LiveTickStep::Action::FirstPoint;
        return step;
    }
    const double y = traits.drawnHeight(traits.placedHeight(value, top, bottom));
    const double x = pointX(static_cast<double>(progress.Index) + 1, points);
    const double fromY = finiteOr(progress.LastY, ChartGeometry::Zero);
    step.action = LiveTickStep::Action::Segment;
    step.segment =
        QLineF(finiteOr(progress.LastX, ChartGeometry::Left), traits.drawnHeight(fromY), x, y);
    progress.LastX = x;
    progress.LastY = y;
    if (x >= ChartGeometry::Right || progress.Index == INT_MAX - 1) {
        progress.Started = 0;
        progress.Index = 0;
        step.startOver = true;
    } else {
        ++progress.Index;
    }
    return step;
}
