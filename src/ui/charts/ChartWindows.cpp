#include "ui/charts/ChartWindows.h"

#include "logic/charts/RecordedChart.h"
#include "logic/state/SharedState.h"
#include "ui/charts/ChartWindow.h"
#include "ui/charts/LimitDialog.h"
#include "ui/charts/RangeDialog.h"

namespace {

template <typename Window> Window* ifOpen(const QPointer<Window>& window) {
    return window && window->isVisible() ? window.data() : nullptr;
}

template <typename Window> void closeIfOpen(const QPointer<Window>& window) {
    if (Window* open = ifOpen(window))
        open->close();
}

} // namespace

ChartWindows::ChartWindows(QWidget* mainWindow, PerKind<ChartState>& charts,
                           const LoggerSelection& logger, const Platform& platform,
                           LiveChartSource live)
    : QObject(mainWindow), mainWindow_(mainWindow), charts_(charts), logger_(logger),
      platform_(platform), live_(std::move(live)) {}

ChartWindow* ChartWindows::liveChart(ChartKind kind) const {
    return ifOpen(liveCharts_[kind]);
}

ChartWindow* ChartWindows::recordedChart(ChartKind kind) const {
    return ifOpen(recordedCharts_[kind]);
}

LimitDialog* ChartWindows::limitDialog(ChartKind kind) const {
    return ifOpen(limitDialogs_[kind]);
}

RangeDialog* ChartWindows::rangeDialog(ChartKind kind) const {
    return ifOpen(rangeDialogs_[kind]);
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
    ChartState& state = charts_[kind];
    auto* chart =
        new ChartWindow(kind, mainWindow_, platform_, live_, state.limits, state.progress);
    liveCharts_[kind] = chart;
    connect(chart, &ChartWindow::limitRequested, this, [this, kind] { openLimitDialog(kind); });
    // The full chart is closed from inside its own tick; it is deleted only once the tick is over.
    connect(chart, &ChartWindow::full, this, [this, kind] { freshLiveChart(kind); });
    chart->setTimerEnabled(true);
    chart->show();
    return chart;
}

ChartWindow* ChartWindows::openRecordedChart(ChartKind kind,
                                             const std::function<RecordCells()>& records) {
    const RecordCells listed = records ? records() : RecordCells{};
    prepareRecordedChart(logger_.SetRecordCount, listed, charts_[kind].recorded);
    records_ = listed.copied();
    return freshRecordedChart(kind);
}

ChartWindow* ChartWindows::freshRecordedChart(ChartKind kind) {
    for (const QPointer<ChartWindow>& chart : recordedCharts_)
        closeIfOpen(chart);
    RecordSource source{[this] { return records_; }, [this, kind] { return firstRecord(kind); }};
    auto* chart =
        new ChartWindow(kind, mainWindow_, platform_, std::move(source), charts_[kind].recorded);
    recordedCharts_[kind] = chart;
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
    closeIfOpen(liveCharts_[kind]);
}

void ChartWindows::closeTemperatureChart() {
    closeLiveChart(ChartKind::Temperature);
}

void ChartWindows::closeRangeDialogs() {
    for (const QPointer<RangeDialog>& dialog : rangeDialogs_)
        closeIfOpen(dialog);
}

void ChartWindows::openLimitDialog(ChartKind kind) {
    if (LimitDialog* open = limitDialog(kind)) {
        open->raise();
        return;
    }
    ChartState& state = charts_[kind];
    auto* dialog =
        new LimitDialog(kind, mainWindow_, state.limits, state.progress, platform_.dialogs);
    limitDialogs_[kind] = dialog;
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
        kind, mainWindow_, charts_[kind].recorded, logger_, platform_.dialogs,
        [this] { return records_; }, chart->caption(&ChartLabels::LBL0),
        chart->caption(&ChartLabels::LBLVALTOP), frame.x() + frame.width());
    rangeDialogs_[kind] = dialog;
    connect(dialog, &RangeDialog::chartCloseRequested, this,
            [this, kind] { closeIfOpen(recordedCharts_[kind]); });
    connect(dialog, &RangeDialog::freshChartRequested, this,
            [this, kind] { freshRecordedChart(kind); });
    dialog->show();
}
