#pragma once

#include <array>
#include <optional>

// Saturation vapour pressure over liquid water in mmHg, one entry a tenth of a degree Celsius,
// for 0.0 to 100.9 °C and for -0.0 to -50.9 °C. Entry (D, t) holds the pressure at D + t/10
// degrees (respectively -(D + t/10)); whole degrees vary fastest in storage.
struct VapourTables {
    static constexpr int PositiveDegrees = 101; // D = 0..100
    static constexpr int NegativeDegrees = 51;  // D = 0..50
    static constexpr int Tenths = 10;           // t = 0..9

    std::array<float, PositiveDegrees * Tenths> SatVapourTable{};
    std::array<float, NegativeDegrees * Tenths> SatVapourTableNeg{};

    // The entry at +(D + t/10) °C; nothing when (D, t) lies outside the table.
    std::optional<float> positive(int D, int t) const;
    // The entry at -(D + t/10) °C; nothing when (D, t) lies outside the table.
    std::optional<float> negative(int D, int t) const;
};

// Fills both tables from Wexler's formulation; the program does it once at start.
void InitVapourTables(VapourTables& tables);

// Tables filled as InitVapourTables fills them, once on first use and never changed after: for
// code that holds no shared state, such as meter-logger's recordings in their threads.
const VapourTables& filledVapourTables();

// Wexler's (1976) saturation vapour pressure over liquid water, in Pa, at kelvin degrees.
double wexlerSaturationPressure(double kelvin);

// The pascals in one millimetre of mercury.
constexpr double PascalPerMmHg = 133.322368;
