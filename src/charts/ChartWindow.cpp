#include "charts/ChartWindow.h"

#include "charts/ChartCanvas.h"
#include "charts/ChartLabel.h"
#include "charts/ChartScale.h"
#include "charts/LiveChartTick.h"
#include "charts/RecordedChart.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include "platform/Twips.h"
#include "state/SharedState.h"
#include "text/NumberText.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>

namespace {

constexpr int InitialTickMs = 2000;

QString textOf(const std::function<QString()>& source) {
    return source ? source() : QString();
}

} // namespace

ChartWindow::ChartWindow(ChartWindowType type, QWidget* parent, SharedState& state,
                         const Platform& platform, LiveChartSource live, RecordSource records)
    : QMainWindow(parent, Qt::Window), layout_(chartWindowLayout(type)), state_(state),
      platform_(platform), live_(std::move(live)), records_(std::move(records)) {
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
    Form_Load();
}

QString ChartWindow::caption(const QString& labelName) const {
    const ChartLabel* label = canvas_->label(labelName);
    return label != nullptr ? label->text() : QString();
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

void ChartWindow::setCaption(const QString& labelName, const QString& caption) {
    if (ChartLabel* label = canvas_->label(labelName))
        label->setCaption(caption);
}

void ChartWindow::Form_Load() {
    if (!layout_.live) {
        move(0, 0);
        return;
    }
    move(live_.mainWindowWidth ? live_.mainWindowWidth() : 0, 0);
    const bool humidity = kind() == ChartKind::Humidity;
    const ChartLimits& limits = state_.chartLimits;
    const QString sampling = textOf(live_.samplingCaption);
    setCaption(QStringLiteral("LBLT1"),
               platform_.clock.now().time().toString(QStringLiteral("hh:mm:ss")));
    setCaption(QStringLiteral("LBLT2"), QString());
    setCaption(QStringLiteral("LBLT3"),
               chartFullTimeLabel(platform_.clock.secondsSinceMidnight(),
                                  humidity ? limits.HumPoints : limits.TemPoints,
                                  leadingNumber(sampling)));
    // The scale and unit show from the start rather than from the first tick on.
    writeLiveLimitLabels();
    if (!humidity)
        setCaption(QStringLiteral("LBLUNIT"), textOf(live_.unitCaption));
}

void ChartWindow::Form_Resize() {
    // The canvas has just started an empty trace.
    if (!layout_.live)
        drawRecords();
}

void ChartWindow::writeLiveLimitLabels() {
    const ChartLimits& limits = state_.chartLimits;
    const bool humidity = kind() == ChartKind::Humidity;
    const double top = humidity ? limits.HumTop : limits.TemTop;
    const double mid = humidity ? limits.HumMid : limits.TemMid;
    setCaption(QStringLiteral("LBLVALTOP"), plainNumberText(top));
    setCaption(QStringLiteral("LBLVALMID"), plainNumberText(mid));
    setCaption(QStringLiteral("LBL0"),
               plainNumberText(humidity ? limits.HumBottom : limits.TemBottom));
    if (!humidity) {
        setCaption(QStringLiteral("TOPLBL"), plainNumberText(top * -1));
        setCaption(QStringLiteral("MIDLBL"), plainNumberText(mid * -1));
    }
}

void ChartWindow::Timer1_Timer() {
    if (Timer1 == nullptr)
        return;
    // The sampling period may have changed since the last tick.
    const int interval = liveTickIntervalMs(textOf(live_.samplingCaption));
    if (Timer1->interval() != interval)
        Timer1->setInterval(interval);
    const bool humidity = kind() == ChartKind::Humidity;
    if (humidity) {
        setCaption(QStringLiteral("lblvalue"), textOf(live_.humidityCaption));
    } else {
        setCaption(QStringLiteral("lblvalue"), textOf(live_.temperatureCaption));
        setCaption(QStringLiteral("LBLUNIT"), textOf(live_.unitCaption));
    }
    writeLiveLimitLabels();

    const ChartLimits& limits = state_.chartLimits;
    const LiveTickStep step =
        liveChartTick(kind(), state_.chartProgress, humidity ? limits.HumPoints : limits.TemPoints,
                      caption(QStringLiteral("LBLVALTOP")), caption(QStringLiteral("LBL0")),
                      caption(QStringLiteral("lblvalue")));
    if (step.action != LiveTickStep::Action::Segment)
        return;
    canvas_->drawSegments({step.segment});
    if (step.startOver)
        Q_EMIT full();
}

void ChartWindow::drawRecords() {
    const RecordedChartValues& values = state_.recordedCharts;
    const bool humidity = kind() == ChartKind::Humidity;
    setCaption(QStringLiteral("LBLVALTOP"), humidity ? values.RecHumTopNow : values.RecTemTopNow);
    setCaption(QStringLiteral("LBLVALMID"),
               plainNumberText(humidity ? values.RecHumMidNow : values.RecTemMidNow));
    setCaption(QStringLiteral("LBL0"), humidity ? values.RecHumBottomNow : values.RecTemBottomNow);
    if (!humidity) {
        setCaption(QStringLiteral("TOPLBL"), plainNumberText(values.RecTemNegTop));
        setCaption(QStringLiteral("MIDLBL"), plainNumberText(values.RecTemNegMid));
    }
    const double count = humidity ? values.RecHumCount : values.RecTemCount;
    // A single record leaves the time labels and the unit as they are and draws nothing.
    if (count != 1) {
        const RecordCells cells = records_.cells ? records_.cells() : RecordCells{};
        setCaption(QStringLiteral("LBLT1"), humidity ? values.RecHumTime1 : values.RecTemTime1);
        setCaption(QStringLiteral("LBLT2"), humidity ? values.RecHumTime2 : values.RecTemTime2);
        setCaption(QStringLiteral("LBLT3"), humidity ? values.RecHumTime3 : values.RecTemTime3);
        if (!humidity)
            setCaption(QStringLiteral("LBLUNIT"), cells.at(1, RecordCells::UnitColumn));
        const double start = records_.firstRecord ? records_.firstRecord() : 1.0;
        canvas_->drawSegments(recordedChartSegments(kind(), count, start,
                                                    caption(QStringLiteral("LBLVALTOP")),
                                                    caption(QStringLiteral("LBL0")), cells));
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
    if (layout_.live) {
        setTimerEnabled(false);
        (kind() == ChartKind::Humidity ? state_.chartProgress.HumStarted
                                       : state_.chartProgress.TemStarted) = 0;
    }
    event->accept();
    Q_EMIT unloaded();
}
