#pragma once

#include "logic/state/ChartKind.h"
#include "logic/text/RecordCells.h"
#include "ui/charts/LiveChartSource.h"
#include "ui/platform/Platform.h"

#include <QObject>
#include <QPointer>
#include <functional>

class ChartWindow;
class LimitDialog;
class RangeDialog;
struct ChartState;
struct LoggerSelection;

// Opens and closes the four chart windows and their four dialogs. A chart that is closed and
// shown again is a fresh window: placed, cleared and labelled anew. The application connects the
// main window's and the record list's commands to the slots here.
class ChartWindows final : public QObject {
    Q_OBJECT
public:
    // mainWindow is the parent of every chart and dialog; charts holds each kind's limits,
    // progress and recorded values; logger the set whose records are listed; live feeds the live
    // charts.
    ChartWindows(QWidget* mainWindow, PerKind<ChartState>& charts, const LoggerSelection& logger,
                 const Platform& platform, LiveChartSource live);

    // Open windows only: a window closed a moment ago no longer counts.
    ChartWindow* liveChart(ChartKind kind) const;
    ChartWindow* recordedChart(ChartKind kind) const;
    LimitDialog* limitDialog(ChartKind kind) const;
    RangeDialog* rangeDialog(ChartKind kind) const;

public Q_SLOTS:
    // MNUHUM / MNUTEM: enables the chart's timer and shows it, a fresh chart when none is open.
    ChartWindow* openLiveChart(ChartKind kind);
    // The record list's HUMIDITY / TEMPERATURE: prepares the chart's values from the records
    // listed, closes both recorded charts and shows a fresh one, which draws from a copy of the
    // records taken now, so that it keeps them when the list closes or a new one replaces it.
    ChartWindow* openRecordedChart(ChartKind kind, const std::function<RecordCells()>& records);
    // The main window's unit changed: the temperature chart's scale no longer fits.
    void closeTemperatureChart();
    // The record list closed.
    void closeRangeDialogs();

Q_SIGNALS:
    // A recorded chart finished drawing: the main window's poll timer is to run.
    void pollTimerWanted();

private:
    ChartWindow* freshLiveChart(ChartKind kind);
    ChartWindow* freshRecordedChart(ChartKind kind);
    void closeLiveChart(ChartKind kind);
    void openLimitDialog(ChartKind kind);
    void openRangeDialog(ChartKind kind);
    double firstRecord(ChartKind kind) const;

    QWidget* mainWindow_;
    PerKind<ChartState>& charts_;
    const LoggerSelection& logger_;
    Platform platform_;
    LiveChartSource live_;
    RecordCells records_;
    PerKind<QPointer<ChartWindow>> liveCharts_;
    PerKind<QPointer<ChartWindow>> recordedCharts_;
    PerKind<QPointer<LimitDialog>> limitDialogs_;
    PerKind<QPointer<RangeDialog>> rangeDialogs_;
};
