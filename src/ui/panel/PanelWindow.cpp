#include "ui/panel/PanelWindow.h"

#include "device/link/MeterLink.h"
#include "device/platform/Clock.h"
#include "device/waits/Waiter.h"
#include "logic/link/ReadingCaptions.h"
#include "logic/state/SharedState.h"
#include "logic/text/NumberText.h"
#include "logic/text/RowText.h"
#include "ui/panel/BatterySymbol.h"
#include "ui/panel/KeyLabel.h"
#include "ui/panel/PanelLayout.h"
#include "ui/panel/ShapeWidget.h"
#include "ui/platform/Colors.h"
#include "ui/platform/LabelFit.h"
#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

using LabelMember = QLabel* PanelControls::*;

// The units that stand to the right of a value on the display.
constexpr std::pair<LabelMember, LabelMember> UnitsOfValues[] = {
    {&PanelControls::LBLVALtemp, &PanelControls::LBLUNITbot},
    {&PanelControls::LBLVALrh, &PanelControls::LBLUNITTOP}};

// The room a unit keeps from a value that has grown into its place.
constexpr int UnitGapTwips = 30;

} // namespace

PanelWindow::PanelWindow(LiveReading& reading, RecordingState& recording,
                         std::function<int()> portNumber, const Platform& platform)
    : QMainWindow(nullptr), reading_(reading), recording_(recording),
      portNumber_(std::move(portNumber)), platform_(platform), menus_(PanelMenus::build(menuBar())),
      timer2_(new QTimer(this)), timer3_(new QTimer(this)),
      link_(new MeterLink(this, platform_.serial, platform_.waiter, reading_)) {
    setObjectName(QStringLiteral("PANEL"));
    setWindowTitle(QStringLiteral("PANEL"));

    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    timer2_->setTimerType(Qt::PreciseTimer);
    timer3_->setObjectName(QStringLiteral("Timer3"));
    timer3_->setInterval(2000);
    connect(timer2_, &QTimer::timeout, this, &PanelWindow::Timer2_Timer);
    connect(link_, &MeterLink::frameDecoded, this, &PanelWindow::showReading);
    connect(link_, &MeterLink::noDeviceEntered, this, &PanelWindow::showNoDevice);
    connect(link_, &MeterLink::noDeviceEntered, this, &PanelWindow::linkLost);
    connect(link_, &MeterLink::noDeviceLeft, this, &PanelWindow::showMeterBack);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("PanelClient"));
    const Twips twips(this);
    client->setFixedSize(twips.toPixels(PanelLayout::ClientWidth),
                         twips.toPixels(PanelLayout::ClientHeight));
    buildDisplay(client);
    buildButtons(client);
    setCentralWidget(client);
    // The panel is drawn for one size; stretching it would only show empty margins.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

PanelWindow::~PanelWindow() = default;

void PanelWindow::buildDisplay(QWidget* client) {
    const Twips twips(this);
    for (const PanelLayout::Shape& design : PanelLayout::shapes()) {
        auto* shape = new ShapeWidget(client, design.kind, design.fill);
        shape->setObjectName(QString::fromLatin1(design.name));
        shape->setGeometry(twips.rect(design.left, design.top, design.width, design.height));
        controls_.*design.control = shape;
    }

    auto* battery = new QLabel(client);
    battery->setObjectName(QStringLiteral("LBLBT"));
    const int batterySize = twips.toPixels(PanelLayout::BatterySize);
    battery->setGeometry(twips.toPixels(PanelLayout::BatteryLeft),
                         twips.toPixels(PanelLayout::BatteryTop), batterySize, batterySize);
    battery->setPixmap(batterySymbol(batterySize));
    battery->hide();
    controls_.LBLBT = battery;

    for (const PanelLayout::Label& design : PanelLayout::labels()) {
        auto* label = new QLabel(client);
        label->setObjectName(QString::fromLatin1(design.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(design.alignment);
        label->setFont(
            LayoutFonts::font(QString::fromLatin1(design.family), design.points, design.bold));
        if (design.color != PanelLayout::DefaultColor)
            Colors::setForeground(label, design.color);
        designBoxes_.insert(label, QRect(design.left, design.top, design.width, 0));
        controls_.*design.control = label;
        label->setText(QString::fromLatin1(design.caption));
        fitToText(label);
    }
    for (QLabel* hidden : {controls_.LBLH, controls_.LBLRECORD, controls_.LBLFULL})
        hidden->hide();

    const int keySize = twips.toPixels(PanelLayout::KeySize);
    for (const PanelLayout::Key& design : PanelLayout::keys()) {
        auto* key = new KeyLabel(client);
        key->setObjectName(QString::fromLatin1(design.name));
        key->setGeometry(twips.toPixels(design.left), twips.toPixels(design.top), keySize, keySize);
        key->setFrameShape(QFrame::Box);
        Colors::setBackground(key, design.background);
        key->setCursor(Qt::PointingHandCursor);
        controls_.*design.control = key;
    }
    // The erase spot lies over the red circle and takes its clicks.
    auto* spot = new KeyLabel(client);
    spot->setObjectName(QStringLiteral("Label10"));
    spot->setGeometry(controls_.Shape7->geometry());
    spot->setCursor(Qt::PointingHandCursor);
    controls_.Label10 = spot;
}

void PanelWindow::buildButtons(QWidget* client) {
    const Twips twips(this);
    auto* record = controls_.CMDRECORD = new QPushButton(QStringLiteral("REC"), client);
    record->setObjectName(QStringLiteral("CMDRECORD"));
    record->setGeometry(twips.rect(1920, 4200, 735, 255));
    auto* rec = controls_.CMDREC = new QPushButton(QStringLiteral("rec"), client);
    rec->setObjectName(QStringLiteral("CMDREC"));
    rec->setGeometry(twips.rect(1920, 4440, 735, 255));
    for (QPushButton* button : {record, rec}) {
        button->setFont(LayoutFonts::font(QStringLiteral("MS Sans Serif"), 7, false));
        button->setFocusPolicy(Qt::NoFocus);
    }
}

void PanelWindow::fitToText(QLabel* label) {
    const auto box = designBoxes_.constFind(label);
    if (box == designBoxes_.constEnd())
        return;
    const Twips twips(this);
    fitLabelToAnchor(label, twips.rect(box->left(), box->top(), box->width(), 0));
    for (const auto& [valueMember, unitMember] : UnitsOfValues) {
        QLabel* value = controls_.*valueMember;
        QLabel* unit = controls_.*unitMember;
        if (label == value)
            fitToText(unit);
        else if (label == unit && value != nullptr)
            placeUnit(unit, value);
    }
}

void PanelWindow::placeUnit(QLabel* unit, const QLabel* value) {
    // A long value (a minus sign, three digits) would run into its unit where the design puts
    // it: the unit steps right just enough, and back when the value shrinks.
    const QRect valueBox = value->geometry();
    const QRect unitBox = unit->geometry();
    const bool sameLine = valueBox.top() < unitBox.bottom() && unitBox.top() < valueBox.bottom();
    if (!sameLine || value->text().isEmpty() || valueBox.left() >= unitBox.left())
        return;
    const int clearLeft = valueBox.right() + 1 + Twips(this).toPixels(UnitGapTwips);
    if (unitBox.left() < clearLeft)
        unit->move(clearLeft, unitBox.top());
}

void PanelWindow::setCaption(QLabel* label, const QString& caption) {
    if (label->text() == caption)
        return;
    const bool unitChanged = label == controls_.LBLUNITbot;
    label->setText(caption);
    fitToText(label);
    if (unitChanged)
        LBLUNITbot_Change();
}

void PanelWindow::setLabelFont(QLabel* label, double points) {
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
    fitToText(label);
}

void PanelWindow::placeLabel(QLabel* label, int leftTwips, int topTwips) {
    QRect& box = designBoxes_[label];
    box.moveTo(leftTwips, topTwips);
    fitToText(label);
}

void PanelWindow::setLabelAlignment(QLabel* label, Qt::Alignment alignment) {
    label->setAlignment(alignment);
    fitToText(label);
}

QString PanelWindow::portText() const {
    return QStringLiteral("Com") + QString::number(portNumber_());
}

void PanelWindow::setCommCaption(const QString& caption) {
    setCaption(controls_.lblcomm, caption);
}

double PanelWindow::samplingPeriod() const {
    return leadingNumber(samplingCaption());
}

QString PanelWindow::samplingCaption() const {
    return controls_.lblsample->text();
}

void PanelWindow::setSamplingCaption(const QString& caption) {
    setCaption(controls_.lblsample, caption);
}

QString PanelWindow::humidityCaption() const {
    return controls_.LBLVALrh->text();
}

QString PanelWindow::temperatureCaption() const {
    return controls_.LBLVALtemp->text();
}

QString PanelWindow::unitCaption() const {
    return controls_.LBLUNITbot->text();
}

bool PanelWindow::meterRecording() const {
    return !controls_.LBLRECORD->isHidden();
}

QString PanelWindow::fileCaption() const {
    return controls_.lblfile->text();
}

void PanelWindow::setFileCaption(const QString& path) {
    setCaption(controls_.lblfile, path);
}

void PanelWindow::showRecording(bool on) {
    menus_.CMDSTART->setEnabled(!on);
    menus_.CMDSTOP->setEnabled(on);
    controls_.LBLRECORDING->setVisible(on);
    controls_.LBLCOUNT->setVisible(on);
}

void PanelWindow::setRecordCount(const QString& countText) {
    setCaption(controls_.LBLCOUNT, countText);
}

void PanelWindow::showReading() {
    const LiveReading& reading = reading_;
    const ReadingCaptions captions = readingCaptions(reading);
    setCaption(controls_.LBLVALtime, reading.MeterTimeText);
    setCaption(controls_.LBLVALtemp, captions.temperature);
    setCaption(controls_.LBLVALrh, captions.humidity);
    setCaption(controls_.LBLUNITbot, captions.unit);
    const bool celsius = captions.unit == QLatin1String("C");
    Colors::setBackground(controls_.LBLM1, celsius ? Colors::Red : Colors::White);
    Colors::setBackground(controls_.LBLM2, celsius ? Colors::White : Colors::Red);
    controls_.LBLBT->setVisible(captions.batteryLow);
    controls_.LBLH->setVisible(reading.HoldOn == 1);
    Colors::setBackground(controls_.LBLR1, reading.HoldOn == 1 ? Colors::Red : Colors::White);
    controls_.LBLFULL->setVisible(reading.MemoryFull == 1);
    const bool recording = reading.MeterRecording == 1;
    controls_.LBLRECORD->setVisible(recording);
    Colors::setBackground(controls_.LBLL3, recording ? Colors::Red : Colors::White);
    menus_.CMDMEMORY->setEnabled(!recording);
    if (recording)
        Q_EMIT meterRecordingReported();
}

void PanelWindow::LBLUNITbot_Change() {
    // The temperature chart's scale was drawn for the other unit.
    Q_EMIT unitChanged();
}

void PanelWindow::showTemperatureLarge() {
    showLarge(PanelLayout::temperatureLarge());
}

void PanelWindow::showHumidityLarge() {
    showLarge(PanelLayout::humidityLarge());
}

void PanelWindow::showLarge(const PanelLayout::LargeValueLayout& layout) {
    Colors::setBackground(controls_.*layout.largeKey, Colors::Red);
    Colors::setBackground(controls_.*layout.smallKey, Colors::White);
    for (const PanelLayout::LargeValueLayout::Placement& step : layout.placements) {
        QLabel* label = controls_.*step.label;
        setLabelFont(label, step.points);
        placeLabel(label, step.left, step.top);
        Colors::setForeground(label, step.color);
    }
    setLabelAlignment(controls_.LBLVALrh, layout.humidityAlignment);
    if (layout.temperatureAlignment)
        setLabelAlignment(controls_.LBLVALtemp, layout.temperatureAlignment);
}

void PanelWindow::showNoDevice() {
    setCaption(controls_.lblcomm, QStringLiteral(" NO COM "));
    for (QLabel* value : {controls_.LBLVALrh, controls_.LBLVALtime, controls_.LBLVALtemp})
        setCaption(value, QStringLiteral("----"));
    controls_.LBLRECORD->hide();
    Colors::setBackground(controls_.LBLR3, Colors::Red);
    Colors::setBackground(controls_.LBLR2, Colors::White);
    for (QMenu* menu : {menus_.CMDFILE, menus_.CMDDISPLAY, menus_.CMDOPTION})
        setMenuEnabled(menu, false);
}

void PanelWindow::showMeterBack() {
    Colors::setBackground(controls_.LBLR2, Colors::Red);
    Colors::setBackground(controls_.LBLR3, Colors::White);
    setCaption(controls_.lblcomm, portText());
    for (QMenu* menu : {menus_.CMDFILE, menus_.CMDDISPLAY, menus_.CMDOPTION})
        setMenuEnabled(menu, true);
}

void PanelWindow::startSampling() {
    // The first tick comes at once; it then sets its own interval.
    timer2_->start(static_cast<int>(samplingPeriod()));
}

void PanelWindow::stopSampling() {
    timer2_->stop();
}

void PanelWindow::Timer2_Timer() {
    const double period = samplingPeriod();
    if (period < tickOverrun_)
        tickOverrun_ = 0.0;
    timer2_->setInterval(static_cast<int>(roundHalfEven((period - tickOverrun_) * 1000.0)));

    RecordingState& recording = recording_;
    const bool listStep = recording.ListLive == 1;
    const bool recordStep = recording.RecordingOn;
    const qint64 started = platform_.clock.steadyMilliseconds();
    if (listStep || recordStep)
        Q_EMIT rowSampled(rowBody(platform_.clock.now(), humidityCaption(), temperatureCaption(),
                                  unitCaption(), !controls_.LBLBT->isHidden()));
    if (!recordStep) {
        recording.RecordCount = 0;
        QLabel* count = controls_.LBLCOUNT;
        setCaption(count, QString());
        count->hide();
    }
    tickOverrun_ = listStep ? (platform_.clock.steadyMilliseconds() - started) / 1000.0 : 0.0;
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    link_->stopPolling();
    stopSampling();
    Q_EMIT closing();
}
