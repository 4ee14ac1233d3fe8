// Figures for the chart windows: a recorded chart of 8,000 records redrawn with its paint, one
// live chart tick with its paint, and the resident memory with the charts open.
#include "ChartRig.h"

#include <QApplication>
#include <QFile>
#include <chrono>
#include <cstdio>

namespace {

using Stopwatch = std::chrono::steady_clock;

double millisecondsPer(int repeats, const Stopwatch::time_point start) {
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count() / repeats;
}

double statusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field)))
                       .trimmed()
                       .split(' ')
                       .first()
                       .toDouble() /
                   1024.0;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double baseline = statusMegabytes("VmRSS:");
    ChartRig rig;
    constexpr int records = 8000;
    for (int k = 1; k <= records; ++k) {
        const QString value = QString::number((k * 37) % 1000 / 10.0 - 20, 'f', 1);
        rig.addRecord(value, value);
    }
    rig.state.logger.SetRecordCount = QString::number(records);

    constexpr int redraws = 50;
    auto start = Stopwatch::now();
    for (int i = 0; i < redraws; ++i) {
        rig.charts.openRecordedChart(ChartKind::Temperature, rig.recordCells())->repaint();
        QApplication::processEvents(); // the window it replaced goes
    }
    std::printf("recorded chart of %d records, fresh window drawn and painted: %.2f ms\n", records,
                millisecondsPer(redraws, start));
    ChartWindow* recorded = rig.charts.recordedChart(ChartKind::Temperature);
    const QSize size = recorded->size();
    start = Stopwatch::now();
    for (int i = 0; i < redraws; ++i) {
        recorded->resize(size + QSize(i % 2, 0));
        recorded->repaint();
    }
    std::printf("recorded chart of %d records, redrawn on resize and painted: %.2f ms (%lld "
                "segments)\n",
                records, millisecondsPer(redraws, start),
                static_cast<long long>(recorded->trace().size()));

    ChartWindow* humidity = rig.charts.openLiveChart(ChartKind::Humidity);
    ChartWindow* temperature = rig.charts.openLiveChart(ChartKind::Temperature);
    humidity->repaint();
    temperature->repaint();
    constexpr int ticks = 2000;
    start = Stopwatch::now();
    for (int i = 0; i < ticks; ++i) {
        rig.humidity = QString::number(i % 100);
        ChartWindow* chart = rig.charts.liveChart(ChartKind::Humidity);
        chart->Timer1_Timer();
        // The tick's own paint: the region its segment touched.
        QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QApplication::processEvents();
    }
    std::printf("live chart tick with its paint: %.3f ms\n", millisecondsPer(ticks, start));

    rig.charts.liveChart(ChartKind::Humidity)->LIMIT_Click();
    rig.charts.liveChart(ChartKind::Temperature)->LIMIT_Click();
    rig.charts.recordedChart(ChartKind::Temperature)->LIMIT_Click();
    QApplication::processEvents();
    std::printf("resident memory: %.1f MB at start, %.1f MB with GRAPH1, GRAPH2, REC_GRAPH2 (%d "
                "records, the grid included) and three dialogs open (peak %.1f MB)\n",
                baseline, statusMegabytes("VmRSS:"), records, statusMegabytes("VmHWM:"));
}
