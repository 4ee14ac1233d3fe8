#pragma once

#include "logic/charts/ChartWindowLayout.h"
#include "logic/state/ChartKind.h"
#include "logic/text/RecordCells.h"
#include "ui/charts/LiveChartSource.h"
#include "ui/platform/Platform.h"

#include <QMainWindow>
#include <functional>

class ChartCanvas;
class QAction;
class QTimer;
struct ChartLimits;
struct LiveChartProgress;
struct RecordedChartValues;

// Where a recorded chart takes its records from: the records it was opened on, and the first
// record to draw (the range dialog's FROM while that dialog is open, else 1).
struct RecordSource {
    std::function<RecordCells()> cells;
    std::function<double()> firstRecord;
};

// One chart window: the live charts GRAPH1 and GRAPH2, which add a point per sampling period,
// and the recorded charts REC_GRAPH and REC_GRAPH2, which draw the record list's values whole
// whenever their size changes (the first showing included). Its menu bar holds LIMIT and PRINT
// (MNULIMIT and MNUPRINT on the live charts). Deleted when closed.
class ChartWindow final : public QMainWindow {
    Q_OBJECT
public:
    // The live chart of kind on its limit set, moving its progress on at each tick.
    ChartWindow(ChartKind kind, QWidget* parent, const Platform& platform, LiveChartSource live,
                const ChartLimits& limits, LiveChartProgress& progress);
    // The recorded chart of kind, drawing the values prepared for it.
    ChartWindow(ChartKind kind, QWidget* parent, const Platform& platform, RecordSource records,
                const RecordedChartValues& values);

    const ChartWindowLayout& layout() const { return layout_; }
    ChartKind kind() const { return layout_.kind; }

    // The caption of one of the chart's labels; empty for a label this chart does not have.
    QString caption(ChartLabel* ChartLabels::*label) const;
    // The trace drawn since it was last cleared, in twips.
    const QList<QLineF>& trace() const;
    // The client area as it shows: frame, labels and trace.
    QImage chartImage() const;

    // The live charts' Timer1.
    void setTimerEnabled(bool enabled);
    bool timerEnabled() const;

public Q_SLOTS:
    // One point of a live chart.
    void Timer1_Timer();
    // The LIMIT menu: asks for the limit (live) or range (recorded) dialog.
    void LIMIT_Click();
    // The PRINT menu: the chart as an image, unless a list report holds the printer.
    void PRINT_Click();

Q_SIGNALS:
    void limitRequested();
    // A live chart's trace reached the right end: the chart starts over on a fresh window.
    void full();
    // A recorded chart finished drawing: the main window's poll timer is to run.
    void drawingFinished();
    // The window was closed; it is deleted soon after.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ChartWindow(ChartWindowType type, QWidget* parent, const Platform& platform);
    const ChartLabels& labels() const;
    // Places the window and writes its first time and scale labels.
    void Form_Load();
    // A recorded chart draws its records again on each new size.
    void Form_Resize();
    void drawRecords();
    void writeLiveLimitLabels();

    const ChartWindowLayout& layout_;
    Platform platform_;
    ChartCanvas* canvas_;
    QTimer* Timer1 = nullptr;
    // A live chart's.
    LiveChartSource live_;
    const ChartLimits* limits_ = nullptr;
    LiveChartProgress* progress_ = nullptr;
    // A recorded chart's.
    RecordSource records_;
    const RecordedChartValues* values_ = nullptr;
};
