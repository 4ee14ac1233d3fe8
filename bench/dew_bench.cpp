// Figures for the dew point: what filling the tables adds to start-up, and what one tick costs
// at its quickest and at its longest search.
#include "logic/dew/DewPoint.h"
#include "logic/dew/VapourTables.h"

#include <QString>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsPer(int repeats, const Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeats;
}

} // namespace

int main() {
    VapourTables tables;
    constexpr int fills = 200;
    auto start = Clock::now();
    for (int i = 0; i < fills; ++i)
        InitVapourTables(tables);
    std::printf("InitVapourTables: %.1f us\n", microsecondsPer(fills, start));

    const struct {
        const char* what;
        QString humidity;
        QString temperature;
    } cases[] = {
        {"25.0 C 50 %RH (short warm search)", QStringLiteral("50"), QStringLiteral("25.0")},
        {"0 %RH (cold search to its end)", QStringLiteral("0"), QStringLiteral("25.0")},
        {"100.9 C 100 %RH (warm search to its end)", QStringLiteral("100"),
         QStringLiteral("100.9")},
    };
    constexpr int ticks = 20000;
    for (const auto& tick : cases) {
        int shown = 0;
        start = Clock::now();
        for (int i = 0; i < ticks; ++i)
            shown += computeDewPoint(tick.humidity, tick.temperature, QStringLiteral("C"), tables)
                         .has_value();
        std::printf("computeDewPoint, %s: %.2f us (%d shown)\n", tick.what,
                    microsecondsPer(ticks, start), shown);
    }
    return 0;
}
