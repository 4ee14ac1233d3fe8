#include "ui/charts/ChartWindow.h"

#include "device/platform/Clock.h"
#include "logic/charts/ChartKindTraits.h"
#include "logic/charts/ChartScale.h"
#include "logic/charts/LiveChartTick.h"
#include "logic/charts/RecordedChart.h"
#include "logic/state/ChartState.h"
#include "logic/text/NumberText.h"
#include "ui/charts/ChartCanvas.h"
#include "ui/charts/ChartLabel.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/Printer.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>

namespace {

constexpr int InitialTickMs = 2000;

QString textOf(const std::function<QString()>& source) {
    return source ? source() : QString();
}

// For the labels only some charts have: the temperature charts' lower half and unit.
void setIfPresent(ChartLabel* label, const QString& caption) {
    if (label != nullptr)
        label->setCaption(caption);
}

} // namespace

ChartWindow::ChartWindow(ChartWindowType type, QWidget* parent, const Platform& platform)
    : QMainWindow(parent, Qt::Window), layout_(chartWindowLayout(type)), platform_(platform) {
    setObjectName(layout_.objectName);
    setWindowTitle(layout_.caption);
    setAttribute(Qt::WA_DeleteOnClose);

    QAction* limit = menuBar()->addAction(QStringLiteral("LIMIT"));
    limit->setObjectName(layout_.limitMenuName);
    connect(limit, &QAction::triggered, this, &ChartWindow::LIMIT_Click);
    QAction* print = menuBar()->addAction(QStringLiteral("PRINT"));
    print->setObjectName(layout_.printMenuName);
    connect(print, &QAction::triggered, this, &ChartWindow::PRINT_Click);
    platform_.printer.busy().offerOnlyWhileFree(*print);

    canvas_ = new ChartCanvas(this, layout_);
    setCentralWidget(canvas_);
    connect(canvas_, &ChartCanvas::resized, this, &ChartWindow::Form_Resize);
    const Twips twips(this);
    resize(twips.toPixels(layout_.clientWidth),
           twips.toPixels(layout_.clientHeight) + menuBar()->sizeHint().height());

    if (layout_.live) {
        Timer1 = new QTimer(this);
        Timer1->setObjectName(QStringLiteral("Timer1"));
        Timer1->setInterval(InitialTickMs);
        connect(Timer1, &QTimer::timeout, this, &ChartWindow::Timer1_Timer);
    }
}

ChartWindow::ChartWindow(ChartKind kind, QWidget* parent, const Platform& platform,
                         LiveChartSource live, const ChartLimits& limits,
                         LiveChartProgress& progress)
    : ChartWindow(chartKindTraits(kind).liveWindow, parent, platform) {
    live_ = std::move(live);
    limits_ = &limits;
    progress_ = &progress;
    Form_Load();
}

ChartWindow::ChartWindow(ChartKind kind, QWidget* parent, const Platform& platform,
                         RecordSource records, const RecordedChartValues& values)
    : ChartWindow(chartKindTraits(kind).recordedWindow, parent, platform) {
    records_ = std::move(records);
    values_ = &values;
    Form_Load();
}

const ChartLabels& ChartWindow::labels() const {
    return canvas_->labels();
}

QString ChartWindow::caption(ChartLabel* ChartLabels::*label) const {
    const ChartLabel* shown = labels().*label;
    return shown != nullptr ? shown->text() : QString();
}

const QList<QLineF>& ChartWindow::trace() const {
    return canvas_->trace();
}

QImage ChartWindow::chartImage() const {
    return canvas_->grab().toImage();
}

void ChartWindow::setTimerEnabled(bool enabled) {
    if (Timer1 == nullptr)
        return;
    // An enabled timer keeps its rhythm: enabling it again does not restart the count.
    if (enabled && !Timer1->isActive())
        Timer1->start();
    else if (!enabled)
        Timer1->stop();
}

bool ChartWindow::timerEnabled() const {
    return Timer1 != nullptr && Timer1->isActive();
}

void ChartWindow::Form_Load() {
    if (!layout_.live) {
        move(0, 0);
        return;
    }
    move(live_.mainWindowWidth ? live_.mainWindowWidth() : 0, 0);
    const QString sampling = textOf(live_.samplingCaption);
    labels().LBLT1->setCaption(platform_.clock.now().time().toString(QStringLiteral("hh:mm:ss")));
    labels().LBLT2->setCaption(QString());
    labels().LBLT3->setCaption(chartFullTimeLabel(platform_.clock.secondsSinceMidnight(),
                                                  limits_->Points, leadingNumber(sampling)));
    // The scale and unit show from the start rather than from the first tick on.
    writeLiveLimitLabels();
    setIfPresent(labels().LBLUNIT, textOf(live_.unitCaption));
}

void ChartWindow::Form_Resize() {
    // The canvas has just started an empty trace.
    if (!layout_.live)
        drawRecords();
}

void ChartWindow::writeLiveLimitLabels() {
    labels().LBLVALTOP->setCaption(plainNumberText(limits_->Top));
    labels().LBLVALMID->setCaption(plainNumberText(limits_->Mid));
    labels().LBL0->setCaption(plainNumberText(limits_->Bottom));
    setIfPresent(labels().TOPLBL, plainNumberText(limits_->Top * -1));
    setIfPresent(labels().MIDLBL, plainNumberText(limits_->Mid * -1));
}

void ChartWindow::Timer1_Timer() {
    if (Timer1 == nullptr)
        return;
    // The sampling period may have changed since the last tick.
    const int interval = liveTickIntervalMs(textOf(live_.samplingCaption));
    if (Timer1->interval() != interval)
        Timer1->setInterval(interval);
    labels().lblvalue->setCaption(textOf(live_.readingCaption[kind()]));
    setIfPresent(labels().LBLUNIT, textOf(live_.unitCaption));
    writeLiveLimitLabels();

    const LiveTickStep step =
        liveChartTick(kind(), *progress_, limits_->Points, labels().LBLVALTOP->text(),
                      labels().LBL0->text(), labels().lblvalue->text());
    if (step.action != LiveTickStep::Action::Segment)
        return;
    canvas_->drawSegments({step.segment});
    if (step.startOver)
        Q_EMIT full();
}

void ChartWindow::drawRecords() {
    const RecordedChartValues& values = *values_;
    labels().LBLVALTOP->setCaption(values.TopNow);
    labels().LBLVALMID->setCaption(plainNumberText(values.MidNow));
    labels().LBL0->setCaption(values.BottomNow);
    if (values.lowerHalf) {
        setIfPresent(labels().TOPLBL, plainNumberText(values.lowerHalf->NegTop));
        setIfPresent(labels().MIDLBL, plainNumberText(values.lowerHalf->NegMid));
    }
    // A single record leaves the time labels and the unit as they are and draws nothing.
    if (values.Count != 1) {
        const RecordCells cells = records_.cells ? records_.cells() : RecordCells{};
        labels().LBLT1->setCaption(values.Time1);
        labels().LBLT2->setCaption(values.Time2);
        labels().LBLT3->setCaption(values.Time3);
        setIfPresent(labels().LBLUNIT, cells.at(1, RecordCells::UnitColumn));
        const double start = records_.firstRecord ? records_.firstRecord() : 1.0;
        canvas_->drawSegments(recordedChartSegments(
            kind(), values.Count, start, labels().LBLVALTOP->text(), labels().LBL0->text(), cells));
    }
    Q_EMIT drawingFinished();
}

void ChartWindow::LIMIT_Click() {
    Q_EMIT limitRequested();
}

void ChartWindow::PRINT_Click() {
    // The image would go into the document a list report has open, and end it.
    if (platform_.printer.busy().isBusy())
        return;
    if (!platform_.printer.printImage(chartImage()))
        showFailure(platform_.dialogs, this, QStringLiteral("NOTHING WAS PRINTED"),
                    platform_.printer.failureText());
}

void ChartWindow::closeEvent(QCloseEvent* event) {
    if (progress_ != nullptr) {
        setTimerEnabled(false);
        progress_->Started = 0;
    }
    event->accept();
    Q_EMIT unloaded();
}
