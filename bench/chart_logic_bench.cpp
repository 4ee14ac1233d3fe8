// Figures for the chart logic alone: the trace of a recorded chart of 8,000 records (the drawing
// adds its own cost on top) and one live chart tick.
#include "logic/charts/LiveChartTick.h"
#include "logic/charts/RecordedChart.h"
#include "logic/state/ChartState.h"
#include "logic/text/RecordCells.h"

#include <QList>
#include <QStringList>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsPer(int repeats, const Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeats;
}

} // namespace

int main() {
    constexpr int records = 8000;
    QList<QStringList> rows{{"", "Date", "Time", " %RH ", "TEMP", "C/F", "BAT"}};
    for (int k = 1; k <= records; ++k) {
        const QString value = QString::number((k * 37) % 1000 / 10.0 - 20, 'f', 1);
        rows.append({QString::number(k), "01-02-2003", "12:00:00", value, value, "C", ""});
    }
    const RecordCells cells{static_cast<int>(rows.size()),
                            [&rows](int row, int column) { return rows.at(row).at(column); }};

    constexpr int traces = 100;
    qsizetype drawn = 0;
    auto start = Clock::now();
    for (int i = 0; i < traces; ++i)
        drawn += recordedChartSegments(i % 2 ? ChartKind::Humidity : ChartKind::Temperature,
                                       records, 1, "100", "0", cells)
                     .size();
    std::printf("recorded trace of %d records: %.0f us (%lld segments)\n", records,
                microsecondsPer(traces, start), static_cast<long long>(drawn / traces));

    constexpr int ticks = 100000;
    LiveChartProgress progress;
    start = Clock::now();
    for (int i = 0; i < ticks; ++i)
        liveChartTick(ChartKind::Temperature, progress, 300, "100", "0", " 23.4");
    std::printf("live chart tick: %.2f us\n", microsecondsPer(ticks, start));
}
