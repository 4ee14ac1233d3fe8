#include "logic/dew/DewPoint.h"

#include "logic/dew/VapourTables.h"
#include "logic/text/NumberText.h"

#include <cmath>

namespace {

// Vapour pressure at 0 °C, where the two tables meet.
constexpr double ZeroCelsiusPressure = 4.584;
constexpr double OutsideBothTables = 1000.0;

// The tenths digit of a temperature's fraction, read from its one-decimal text.
int tenthsOf(double fraction) {
    return static_cast<int>(
        roundHalfEven(leadingNumber(formatNumber(fraction, QStringLiteral("0.#"))) * 10.0));
}

// Interpolates linearly between the entries a at temperature low and b at temperature high.
double between(double e, double a, double b, double low, double high) {
    return ((e - a) * high + (b - e) * low) / (b - a);
}

} // namespace

double dewPointInUnit(double celsius, bool fahrenheit) {
    return fahrenheit ? celsius * 9.0 / 5.0 + 32.0 : celsius;
}

std::optional<double> searchDewPoint(double e, const VapourTables& tables, bool warmTable) {
    const auto entry = [&tables, warmTable](int D, int t) {
        return warmTable ? tables.positive(D, t) : tables.negative(D, t);
    };
    const double sign = warmTable ? 1.0 : -1.0;
    // The entries are single precision: e is taken to single precision too, so that a pressure
    // equal to an entry's three decimals meets it exactly (100 %RH gives the air temperature).
    const double target = static_cast<float>(e);
    for (int D = 0;; ++D) {
        for (int t = 0; t < 9; ++t) {
            const std::optional<float> a = entry(D, t);
            const std::optional<float> b = entry(D, t + 1);
            if (!a || !b)
                return std::nullopt;
            const double below = *a - target;
            const double above = *b - target;
            if (below * above <= 0) {
                if (below == 0)
                    return sign * (D + t / 10.0);
                if (above == 0)
                    return sign * (D + (t + 1) / 10.0);
                return sign * between(target, *a, *b, D + t / 10.0, D + (t + 1) / 10.0);
            }
        }
        // Across the whole degree; a hit on either end was or will be found within a degree.
        const std::optional<float> a = entry(D, 9);
        const std::optional<float> b = entry(D + 1, 0);
        if (!a || !b)
            return std::nullopt;
        if ((*a - target) * (*b - target) < 0)
            return sign * between(target, *a, *b, D + 0.9, D + 1.0);
    }
}

std::optional<DewDisplay> computeDewPoint(const QString& HumidityText,
                                          const QString& TemperatureText, const QString& TempUnit,
                                          const VapourTables& tables) {
    DewDisplay display;
    display.lblrh = HumidityText;
    display.lblc = TemperatureText;
    double theta = 0.0;
    if (TempUnit == QLatin1String("C")) {
        display.unitHeadPointSize = 12;
        display.unitHead = QStringLiteral("Celsius");
        display.valueHead = QStringLiteral("'C");
        // An over-range text reads as 0 here, as it does wherever a caption is read.
        theta = leadingNumber(display.lblc);
    } else {
        display.unitHeadPointSize = 10;
        display.unitHead = QStringLiteral("Fahrenheit");
        display.valueHead = QStringLiteral("'F");
        if (!isNumberText(TemperatureText))
            return std::nullopt;
        const double celsius = (leadingNumber(TemperatureText) - 32.0) * 5.0 / 9.0;
        // A text beyond about 3.6e307 overflows to infinity here, whose text reads back as 0.
        if (!std::isfinite(celsius))
            return std::nullopt;
        theta = leadingNumber(formatNumber(celsius, QStringLiteral("##0.0")));
    }
    // Far beyond the tables the whole-number conversions below would overflow.
    if (!(std::fabs(theta) <= OutsideBothTables))
        return std::nullopt;
    if (!isNumberText(HumidityText))
        return std::nullopt;
    const double humidity = leadingNumber(HumidityText);

    std::optional<float> saturation;
    if (theta >= 0) {
        const auto D = static_cast<int>(wholeDivide(theta * 10.0, 10.0));
        saturation = tables.positive(D, tenthsOf(theta - D));
    } else {
        const auto D = static_cast<int>(wholeDivide(-theta * 10.0, 10.0));
        saturation = tables.negative(D, tenthsOf(wholeDivide(theta * 10.0, 10.0) - theta));
    }
    if (!saturation)
        return std::nullopt;
    const double pressure = humidity * 0.01 * *saturation;
    // Likewise a humidity text too large for a double, whose pressure would read back as 0.
    if (!std::isfinite(pressure))
        return std::nullopt;
    const double e = leadingNumber(formatNumber(pressure, QStringLiteral("###.##0")));
    const bool warmTable = theta >= 0 ? !(e < ZeroCelsiusPressure) : e > ZeroCelsiusPressure;

    const std::optional<double> dew = searchDewPoint(e, tables, warmTable);
    if (!dew)
        return std::nullopt;
    display.vapourPressure = e;
    display.dewPoint = *dew;
    display.lblvalue =
        formatNumber(dewPointInUnit(*dew, TempUnit != QLatin1String("C")), QStringLiteral("#0.0#"));
    return display;
}
