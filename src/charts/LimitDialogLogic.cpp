#include "charts/LimitDialogLogic.h"

#include "state/SharedState.h"
#include "text/NumberText.h"

#include <cmath>

std::optional<LimitBox> limitBoxTestedOnChange(ChartKind kind, LimitBox changed) {
    if (kind == ChartKind::Humidity) {
        switch (changed) {
        case LimitBox::Max:
            return LimitBox::Max;
        case LimitBox::Points:
            return LimitBox::Min;
        case LimitBox::Min:
            return std::nullopt;
        }
        return std::nullopt;
    }
    if (changed == LimitBox::Points)
        return std::nullopt;
    return changed;
}

bool limitTextOutOfRange(const QString& text) {
    const double value = leadingNumber(text);
    return value < 0 || value > 100;
}

LimitEntries limitDialogEntries(ChartKind kind, const ChartLimits& limits) {
    if (kind == ChartKind::Humidity)
        return {plainNumberText(limits.HumPoints), plainNumberText(limits.HumBottom),
                plainNumberText(limits.HumTop)};
    return {plainNumberText(limits.TemPoints), plainNumberText(limits.TemBottom),
            plainNumberText(limits.TemTop)};
}

LimitVerdict confirmLimits(ChartKind kind, const LimitEntries& entries, ChartLimits& limits,
                           LiveChartProgress& progress) {
    const double points = leadingNumber(entries.points) + 1;
    const double top = leadingNumber(entries.max);
    const double bottom = leadingNumber(entries.min);
    const double mid = (top + bottom) / 2;
    const bool humidity = kind == ChartKind::Humidity;
    (humidity ? limits.HumPoints : limits.TemPoints) = points;
    (humidity ? limits.HumTop : limits.TemTop) = top;
    (humidity ? limits.HumMid : limits.TemMid) = mid;
    (humidity ? limits.HumBottom : limits.TemBottom) = bottom;

    // A number typed too large for a double (1e999) would pass every comparison below.
    const bool finite =
        std::isfinite(points) && std::isfinite(top) && std::isfinite(mid) && std::isfinite(bottom);
    if (!finite || points < 2 || points > 10000 || top == 0 || mid == 0 || top < mid)
        return LimitVerdict::Rejected;

    (humidity ? progress.HumStarted : progress.TemStarted) = 0;
    (humidity ? progress.HumIndex : progress.TemIndex) = 0;
    return LimitVerdict::Accepted;
}

QString invalidLimitsMessage() {
    return QStringLiteral(" INVALID, TRY AGAIN!");
}
