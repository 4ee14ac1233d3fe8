// Figures for the live page's history: the memory of 32 meters with a full day each, a point a
// minute, as the logger holds it, and what answering /api/history for one costs.
#include "ResidentMemory.h"
#include "logic/live/MinuteHistory.h"
#include "logic/recording/ExportRow.h"

#include <chrono>
#include <cstdio>
#include <vector>

int main() {
    constexpr int meters = 32;
    // 2026-12-07 00:00 UTC.
    constexpr qint64 start = 1796601600000;
    const QString self = QStringLiteral("/proc/self/status");
    ExportRow row;
    row.humidity = exportValue("45.2").value_or(ExportValue{});
    row.temperature = exportValue("21.5").value_or(ExportValue{});
    row.dewPointCelsius = exportDewPoint(row.humidity, row.temperature, 'C');
    // The dew point's tables and texts are made before the figure is taken.
    (void)historyPoint(start, row);
    const double before = residentMegabytesIn(self);
    std::vector<MinuteHistory> histories(meters);
    // A reading a second for a day and a minute: every ring full.
    for (qint64 second = 0; second <= 24 * 3600 + 60; ++second)
        for (MinuteHistory& history : histories)
            (void)history.take(historyPoint(start + second * 1000, row), 'C');
    const double after = residentMegabytesIn(self);
    const qint64 now = start + (24 * 3600 + 60) * 1000;
    std::printf("history of %d meters, a full day each: %zu points a meter, %.2f MB resident "
                "(%.2f MB of points)\n",
                meters, histories.front().points(now).size(), after - before,
                double(meters) * MinuteHistory::Capacity * sizeof(HistoryPoint) / 1e6);
    const auto begun = std::chrono::steady_clock::now();
    const QByteArray json = historyJson(0, histories.front().points(now), 'C');
    std::printf("/api/history of a full day: %lld bytes in %.2f ms\n", qlonglong(json.size()),
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun)
                    .count());
    return 0;
}
