#include "ui/dew/DewWindow.h"

#include "logic/dew/DewPoint.h"
#include "logic/dew/VapourTables.h"
#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"
#include "ui/platform/Colors.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/LabelFit.h"
#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <climits>

namespace {

constexpr int ClientWidthTwips = 3345;
constexpr int ClientHeightTwips = 975;
constexpr double TwentyCelsiusKelvin = 293.15;
const char* const DesignBoxProperty = "designBox";

// A caption wider than its coloured box ("Fahrenheit" in a sans-serif face) widens the box
// around its centre rather than lose its first and last letters.
void setCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    fitLabelToAnchor(label, label->property(DesignBoxProperty).toRect(), true);
}

QFont captionFont() {
    return LayoutFonts::font(QStringLiteral("MS Sans Serif"), 12, true);
}

} // namespace

DewWindow::DewWindow(QWidget* mainWindow, const LiveReading& reading, const VapourTables& tables,
                     Dialogs& dialogs, std::function<double()> samplingPeriodSeconds)
    : QWidget(mainWindow, Qt::Window), reading_(reading), tables_(tables), dialogs_(dialogs),
      samplingPeriodSeconds_(std::move(samplingPeriodSeconds)) {
    setObjectName(QStringLiteral("DEW"));
    setWindowTitle(QStringLiteral("DEW(FROST)-POINT TEMP"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(captionFont());
    const Twips twips(this);
    resize(twips.toPixels(ClientWidthTwips), twips.toPixels(ClientHeightTwips));

    Label1 = addLabel("Label1", QStringLiteral("%RH"), 120, 120, 975, 375);
    UnitHead = addLabel("UnitHead", QStringLiteral("Celsius"), 1200, 120, 975, 375);
    ValueHead = addLabel("ValueHead", QStringLiteral("'C"), 2280, 120, 975, 375);
    for (QLabel* head : {Label1, UnitHead, ValueHead}) {
        Colors::setForeground(head, Colors::White);
        Colors::setBackground(head, Colors::Blue);
    }
    lblrh = addLabel("lblrh", QString(), 120, 480, 975, 375);
    lblc = addLabel("lblc", QString(), 1200, 480, 975, 375);
    lblvalue = addLabel("lblvalue", QString(), 2280, 480, 975, 375);
    for (QLabel* value : {lblrh, lblc, lblvalue})
        Colors::setBackground(value, Colors::Yellow);
    Colors::setForeground(lblvalue, Colors::Red);

    // A check of the vapour pressure formula against its published 20 °C value, placed beyond
    // the window's normal size where only a widened window shows it.
    Command1 = new QPushButton(QStringLiteral("Command1"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips.rect(4800, 120, 1215, 495));
    connect(Command1, &QPushButton::clicked, this, &DewWindow::Command1_Click);
    Label3 = addLabel("Label3", QStringLiteral("Label3"), 6240, 240, 1215, 495);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(0);
    connect(Timer1, &QTimer::timeout, this, &DewWindow::Timer1_Timer);

    move(mainWindow->frameGeometry().width(), 0);
}

DewWindow* DewWindow::open(QWidget* mainWindow, const LiveReading& reading,
                           const VapourTables& tables, Dialogs& dialogs,
                           std::function<double()> samplingPeriodSeconds) {
    DewWindow* window = nullptr;
    // A window closed a moment ago waits for its deletion; it no longer counts as open.
    for (DewWindow* child : mainWindow->findChildren<DewWindow*>(Qt::FindDirectChildrenOnly)) {
        if (!child->closing_)
            window = child;
    }
    if (window == nullptr)
        window =
            new DewWindow(mainWindow, reading, tables, dialogs, std::move(samplingPeriodSeconds));
    window->show();
    window->raise();
    window->setTimerInterval();
    window->setTimerEnabled(true);
    return window;
}

QLabel* DewWindow::addLabel(const char* name, const QString& caption, int left, int top, int width,
                            int height) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(Twips(this).rect(left, top, width, height));
    label->setProperty(DesignBoxProperty, label->geometry());
    return label;
}

void DewWindow::Timer1_Timer() {
    // The sampling period may have changed since the last tick.
    setTimerInterval();
    const std::optional<DewDisplay> display = computeDewPoint(
        reading_.HumidityText, reading_.TemperatureText, reading_.TempUnit, tables_);
    if (!display) {
        showOutOfRange();
        return;
    }
    setCaption(lblrh, display->lblrh);
    QFont unitFont = UnitHead->font();
    unitFont.setPointSize(display->unitHeadPointSize);
    UnitHead->setFont(unitFont);
    setCaption(UnitHead, display->unitHead);
    setCaption(ValueHead, display->valueHead);
    setCaption(lblc, display->lblc);
    setCaption(lblvalue, display->lblvalue);
}

void DewWindow::Command1_Click() {
    setTimerEnabled(false);
    Label3->setText(plainNumberText(wexlerSaturationPressure(TwentyCelsiusKelvin)));
}

void DewWindow::closeEvent(QCloseEvent* event) {
    closing_ = true;
    setTimerEnabled(false);
    QWidget::closeEvent(event);
}

void DewWindow::setTimerInterval() {
    const double milliseconds = samplingPeriodSeconds_() * 1000.0;
    const long long interval =
        milliseconds >= INT_MAX ? INT_MAX : roundHalfEven(milliseconds > 0 ? milliseconds : 0);
    Timer1->setInterval(static_cast<int>(interval));
    setTimerEnabled(timerEnabled_);
}

// An enabled timer with interval 0 stays silent until it gets a period.
void DewWindow::setTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    if (enabled && Timer1->interval() > 0) {
        if (!Timer1->isActive())
            Timer1->start();
    } else {
        Timer1->stop();
    }
}

void DewWindow::showOutOfRange() {
    // Stopped before the box so that no tick runs, and fails again, while it is up.
    setTimerEnabled(false);
    const QPointer<DewWindow> alive(this);
    dialogs_.message(this, QStringLiteral("Out of Range! "), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical, applicationTitle());
    if (alive)
        close();
}
