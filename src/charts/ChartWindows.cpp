#include "charts/ChartWindows.h"

#include "charts/ChartWindow.h"
#include "charts/LimitDialog.h"
#include "charts/RangeDialog.h"
#include "charts/RecordedChart.h"

namespace {

std::size_t slot(ChartKind kind) {
    return kind == ChartKind::Humidity ? 0 : 1;
}

template <typename Window> Window* ifOpen(const QPointer<Window>& window) {
    return window && window->isVisible() ? window.data() : nullptr;
}

void closeIfOpen(QWidget* window) {
    if (window != nullptr)
        window->close();
}

} // namespace

ChartWindows::ChartWindows(QWidget* mainWindow, SharedState& state, const Platform& platform,
                           LiveChartSource live)
    : QObject(mainWindow), mainWindow_(mainWindow), state_(state), platform_(platform),
      live_(std::move(live)) {}

ChartWindow* ChartWindows::liveChart(ChartKind kind) const {
    return ifOpen(liveCharts_[slot(kind)]);
}

ChartWindow* ChartWindows::recordedChart(ChartKind kind) const {
    return ifOpen(recordedCharts_[slot(kind)]);
}

LimitDialog* ChartWindows::limitDialog(ChartKind kind) const {
    return ifOpen(limitDialogs_[slot(kind)]);
}

RangeDialog* ChartWindows::rangeDialog(ChartKind kind) const {
    return ifOpen(rangeDialogs_[slot(kind)]);
}

ChartWindow* ChartWindows::openLiveChart(ChartKind kind) {
    ChartWindow* chart = liveChart(kind);
    if (chart == nullptr)
        return freshLiveChart(kind);
    chart->setTimerEnabled(true);
    chart->raise();
    return chart;
}

ChartWindow* ChartWindows::freshLiveChart(ChartKind kind) {
    closeLiveChart(kind);
    const ChartWindowType type =
        kind == ChartKind::Humidity ? ChartWindowType::Graph1 : ChartWindowType::Graph2;
    auto* chart = new ChartWindow(type, mainWindow_, state_, platform_, live_, {});
    liveCharts_[slot(kind)] = chart;
    connect(chart, &ChartWindow::limitRequested, this, [this, kind] { openLimitDialog(kind); });
    // The full chart is closed from inside its own tick; it is deleted only once the tick is over.
    connect(chart, &ChartWindow::full, this, [this, kind] { freshLiveChart(kind); });
    chart->setTimerEnabled(true);
    chart->show();
    return chart;
}

ChartWindow* ChartWindows::openRecordedChart(ChartKind kind,
                                             const std::function<RecordCells()>& records) {
    records_ = records ? records().copied() : RecordCells{};
    return freshRecordedChart(kind);
}

ChartWindow* ChartWindows::freshRecordedChart(ChartKind kind) {
    closeRecordedChart(ChartKind::Humidity);
    closeRecordedChart(ChartKind::Temperature);
    const ChartWindowType type =
        kind == ChartKind::Humidity ? ChartWindowType::RecGraph : ChartWindowType::RecGraph2;
    RecordSource source{[this] { return records_; }, [this, kind] { return firstRecord(kind); }};
    auto* chart = new ChartWindow(type, mainWindow_, state_, platform_, {}, std::move(source));
    recordedCharts_[slot(kind)] = chart;
    connect(chart, &ChartWindow::limitRequested, this, [this, kind] { openRangeDialog(kind); });
    connect(chart, &ChartWindow::drawingFinished, this, &ChartWindows::pollTimerWanted);
    chart->show();
    return chart;
}

double ChartWindows::firstRecord(ChartKind kind) const {
    const RangeDialog* dialog = rangeDialog(kind);
    return recordedChartStart(dialog != nullptr,
                              dialog != nullptr ? dialog->fromText() : QString());
}

void ChartWindows::closeLiveChart(ChartKind kind) {
    closeIfOpen(liveChart(kind));
}

void ChartWindows::closeRecordedChart(ChartKind kind) {
    closeIfOpen(recordedChart(kind));
}

void ChartWindows::closeTemperatureChart() {
    closeLiveChart(ChartKind::Temperature);
}

void ChartWindows::closeRangeDialogs() {
    closeIfOpen(rangeDialog(ChartKind::Humidity));
    closeIfOpen(rangeDialog(ChartKind::Temperature));
}

void ChartWindows::openLimitDialog(ChartKind kind) {
    if (LimitDialog* open = limitDialog(kind)) {
        open->raise();
        return;
    }
    auto* dialog = new LimitDialog(kind, mainWindow_, state_, platform_.dialogs);
    limitDialogs_[slot(kind)] = dialog;
    connect(dialog, &LimitDialog::chartCloseRequested, this,
            [this, kind] { closeLiveChart(kind); });
    connect(dialog, &LimitDialog::freshChartRequested, this,
            [this, kind] { freshLiveChart(kind); });
    dialog->show();
}

void ChartWindows::openRangeDialog(ChartKind kind) {
    if (RangeDialog* open = rangeDialog(kind)) {
        open->raise();
        return;
    }
    const ChartWindow* chart = recordedChart(kind);
    if (chart == nullptr)
        return;
    const QRect frame = chart->frameGeometry();
    auto* dialog = new RangeDialog(
        kind, mainWindow_, state_, platform_.dialogs, [this] { return records_; },
        chart->caption(QStringLiteral("LBL0")), chart->caption(QStringLiteral("LBLVALTOP")),
        frame.x() + frame.width());
    rangeDialogs_[slot(kind)] = dialog;
    connect(dialog, &RangeDialog::chartCloseRequested, this,
            [this, kind] { closeRecordedChart(kind); });
    connect(dialog, &RangeDialog::freshChartRequested, this,
            [this, kind] { freshRecordedChart(kind); });
    dialog->show();
}
