#pragma once

#include "charts/ChartKind.h"
#include "charts/ChartWindowLayout.h"
#include "charts/LiveChartSource.h"
#include "charts/RecordCells.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <functional>

class ChartCanvas;
class QAction;
class QTimer;
struct SharedState;

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
    // live serves the live charts, records the recorded ones; the other may be left empty.
    ChartWindow(ChartWindowType type, QWidget* parent, SharedState& state, const Platform& platform,
                LiveChartSource live, RecordSource records);

    const ChartWindowLayout& layout() const { return layout_; }
    ChartKind kind() const { return layout_.kind; }
    bool isLive() const { return layout_.live; }

    // The caption of one of the chart's labels (LBL0, LBLVALTOP, ...).
    QString caption(const QString& labelName) const;
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
    void LIMIT_Click();
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
    void Form_Load();
    void Form_Resize();
    void drawRecords();
    void writeLiveLimitLabels();
    void setCaption(const QString& labelName, const QString& caption);

    const ChartWindowLayout& layout_;
    SharedState& state_;
    Platform platform_;
    LiveChartSource live_;
    RecordSource records_;
    ChartCanvas* canvas_;
    QTimer* Timer1 = nullptr;
};
