#pragma once

// Independent references for the dew point: Wexler's formulation written out again from its
// published coefficients (so the tables are checked against the formula, not themselves), Magnus'
// closed form to cross-check the search.
#include <cmath>

namespace dewref {

inline double wexlerMmHg(double celsius) {
    const double T = celsius + 273.15;
    const double lnEs = -2991.2729 * std::pow(T, -2) - 6017.0128 / T + 18.87643854 -
                        0.028354721 * T + 1.7838301e-5 * std::pow(T, 2) -
                        8.4150417e-10 * std::pow(T, 3) + 4.4412543e-13 * std::pow(T, 4) +
                        2.858487 * std::log(T);
    return std::exp(lnEs) / 133.322368;
}

// Magnus' form over liquid water with Sonntag's (1990) constants, as the WMO recommends it.
constexpr double MagnusB = 17.62;
constexpr double MagnusC = 243.12;

inline double magnusMmHg(double celsius) {
    return 611.2 * std::exp(MagnusB * celsius / (MagnusC + celsius)) / 133.322368;
}

inline double magnusDewPoint(double humidity, double celsius) {
    const double gamma = std::log(humidity / 100.0) + MagnusB * celsius / (MagnusC + celsius);
    return MagnusC * gamma / (MagnusB - gamma);
}

// d ln es / dT of Magnus' form.
inline double magnusSlope(double celsius) {
    return MagnusB * MagnusC / ((MagnusC + celsius) * (MagnusC + celsius));
}

// How far the two formulas part at a temperature, as the log of their ratio (below 0.5 % over -45
// to 60 °C).
inline double formulaGap(double celsius) {
    return std::log(magnusMmHg(celsius) / wexlerMmHg(celsius));
}

// How far a dew point from the tables may lie from Magnus' td for air at celsius:
// - the formulas: on Wexler's curve both sides of ln e = ln RH + ln es(air) shift by the gap at
//   air and at dew temperature, so to first order the dew points differ by
//   |gap(air) - gap(dew)| / slope(dew); 20 % more covers the second-order terms;
// - the three decimals of mmHg (e, the entry at the air, the two entries interpolated, the five
//   kept entries): at most 0.0025 mmHg, worth 0.0025 / (es * slope) kelvin at the dew point;
// - the display's two decimals, 0.005 K, and 0.002 K for single precision and curvature.
inline double tolerance(double celsius, double td) {
    const double formulas = 1.2 * std::fabs(formulaGap(celsius) - formulaGap(td)) / magnusSlope(td);
    const double decimals = 0.0025 / (magnusMmHg(td) * magnusSlope(td));
    return formulas + decimals + 0.005 + 0.002;
}

} // namespace dewref
