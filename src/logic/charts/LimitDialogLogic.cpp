#include "logic/charts/LimitDialogLogic.h"

#include "logic/charts/ChartKindTraits.h"
#include "logic/state/ChartState.h"
#include "logic/text/NumberText.h"

#include <cmath>

std::optional<LimitBox> limitBoxTestedOnChange(ChartKind kind, LimitBox changed) {
    return chartKindTraits(kind).limitBoxTested[static_cast<std::size_t>(changed)];
}

bool limitTextOutOfRange(const QString& text) {
    const double value = leadingNumber(text);
    return value < 0 || value > 100;
}

LimitEntries limitDialogEntries(const ChartLimits& limits) {
    return {plainNumberText(limits.Points), plainNumberText(limits.Bottom),
            plainNumberText(limits.Top)};
}

LimitVerdict confirmLimits(const LimitEntries& entries, ChartLimits& limits,
                           LiveChartProgress& progress) {
    const double points = leadingNumber(entries.points) + 1;
    const double top = leadingNumber(entries.max);
    const double bottom = leadingNumber(entries.min);
    const double mid = (top + bottom) / 2;
    limits = {points, top, mid, bottom};

    // A number typed too large for a double (1e999) would pass every comparison below.
    const bool finite =
        std::isfinite(points) && std::isfinite(top) && std::isfinite(mid) && std::isfinite(bottom);
    if (!finite || points < 2 || points > 10000 || top == 0 || mid == 0 || top < mid)
        return LimitVerdict::Rejected;

    progress.Started = 0;
    progress.Index = 0;
    return LimitVerdict::Accepted;
}

QString invalidLimitsMessage() {
    return QStringLiteral(" INVALID, TRY AGAIN!");
}
