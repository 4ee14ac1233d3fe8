#include "logic/dew/VapourTables.h"

#include <cmath>

namespace {

constexpr double ZeroCelsiusKelvin = 273.15;

// The table this program has always shown was computed a little differently from the plain
// double-precision formula: five of its entries lie a thousandth or two above it. Those entries
// keep the shown values so that every dew point stays what users have always read.
struct FixedEntry {
    int D;
    int t;
    float mmHg;
};
constexpr std::array<FixedEntry, 5> ShownPositiveEntries{{
    {30, 7, 33.144f},
    {99, 0, 733.276f},
    {99, 1, 735.913f},
    {99, 4, 743.871f},
    {99, 7, 751.900f},
}};

// Boiling point and beyond: the table stops at one atmosphere.
constexpr float OneAtmosphereMmHg = 760.0f;
// The cold table ends at -49.4 °C; the entries beyond hold 0, where the search for a vapour
// pressure of nothing (0 %RH) comes to rest.
constexpr int FirstEmptyNegativeTenth = 495;

float tableEntry(double celsius) {
    const double mmHg = wexlerSaturationPressure(celsius + ZeroCelsiusKelvin) / PascalPerMmHg;
    return static_cast<float>(std::round(mmHg * 1000.0) / 1000.0);
}

bool inside(int D, int degrees, int t) {
    return D >= 0 && D < degrees && t >= 0 && t < VapourTables::Tenths;
}

} // namespace

double wexlerSaturationPressure(double kelvin) {
    constexpr double g0 = -2991.2729;
    constexpr double g1 = -6017.0128;
    constexpr double g2 = 18.87643854;
    constexpr double g3 = -0.028354721;
    constexpr double g4 = 1.7838301e-5;
    constexpr double g5 = -8.4150417e-10;
    constexpr double g6 = 4.4412543e-13;
    constexpr double g7 = 2.858487;
    const double T = kelvin;
    const double lnEs = g0 / (T * T) + g1 / T + g2 + g3 * T + g4 * T * T + g5 * T * T * T +
                        g6 * T * T * T * T + g7 * std::log(T);
    return std::exp(lnEs);
}

std::optional<float> VapourTables::positive(int D, int t) const {
    if (!inside(D, PositiveDegrees, t))
        return std::nullopt;
    return SatVapourTable[static_cast<std::size_t>(D + PositiveDegrees * t)];
}

std::optional<float> VapourTables::negative(int D, int t) const {
    if (!inside(D, NegativeDegrees, t))
        return std::nullopt;
    return SatVapourTableNeg[static_cast<std::size_t>(D + NegativeDegrees * t)];
}

void InitVapourTables(VapourTables& tables) {
    for (int t = 0; t < VapourTables::Tenths; ++t) {
        for (int D = 0; D < VapourTables::PositiveDegrees; ++D) {
            const float entry = D == VapourTables::PositiveDegrees - 1 ? OneAtmosphereMmHg
                                                                       : tableEntry(D + t / 10.0);
            tables.SatVapourTable[static_cast<std::size_t>(D + VapourTables::PositiveDegrees * t)] =
                entry;
        }
        for (int D = 0; D < VapourTables::NegativeDegrees; ++D) {
            const float entry =
                D * 10 + t >= FirstEmptyNegativeTenth ? 0.0f : tableEntry(-(D + t / 10.0));
            tables.SatVapourTableNeg[static_cast<std::size_t>(D + VapourTables::NegativeDegrees *
                                                                      t)] = entry;
        }
    }
    for (const FixedEntry& fixed : ShownPositiveEntries)
        tables.SatVapourTable[static_cast<std::size_t>(fixed.D + VapourTables::PositiveDegrees *
                                                                     fixed.t)] = fixed.mmHg;
}

const VapourTables& filledVapourTables() {
    static const VapourTables filled = [] {
        VapourTables tables;
        InitVapourTables(tables);
        return tables;
    }();
    return filled;
}
