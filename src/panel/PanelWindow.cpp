#include "panel/PanelWindow.h"

#include "link/MeterLink.h"
#include "panel/BatterySymbol.h"
#include "panel/KeyLabel.h"
#include "panel/PanelLayout.h"
#include "panel/ShapeWidget.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/LabelFit.h"
#include "platform/LayoutFonts.h"
#include "platform/Twips.h"
#include "platform/Waiter.h"
#include "state/SharedState.h"
#include "text/NumberText.h"
#include "text/RowText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

// The units that stand to the right of a value on the display.
constexpr std::pair<const char*, const char*> UnitsOfValues[] = {{"LBLVALtemp", "LBLUNITbot"},
                                                                 {"LBLVALrh", "LBLUNITTOP"}};

// The room a unit keeps from a value that has grown into its place.
constexpr int UnitGapTwips = 30;

} // namespace

PanelWindow::PanelWindow(SharedState& state, const Platform& platform)
    : QMainWindow(nullptr), state_(state), platform_(platform),
      menus_(PanelMenus::build(menuBar())), timer1_(new QTimer(this)), timer2_(new QTimer(this)),
      timer3_(new QTimer(this)), link_(nullptr) {
    setObjectName(QStringLiteral("PANEL"));
    setWindowTitle(QStringLiteral("PANEL"));

    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    timer2_->setTimerType(Qt::PreciseTimer);
    timer3_->setObjectName(QStringLiteral("Timer3"));
    timer3_->setInterval(2000);
    link_ = new MeterLink(this, platform_.serial, platform_.waiter, state_.reading, timer1_);
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
        shapes_.insert(shape->objectName(), shape);
    }

    auto* battery = new QLabel(client);
    battery->setObjectName(QStringLiteral("LBLBT"));
    const int batterySize = twips.toPixels(PanelLayout::BatterySize);
    battery->setGeometry(twips.toPixels(PanelLayout::BatteryLeft),
                         twips.toPixels(PanelLayout::BatteryTop), batterySize, batterySize);
    battery->setPixmap(batterySymbol(batterySize));
    battery->hide();
    labels_.insert(battery->objectName(), battery);

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
        labels_.insert(label->objectName(), label);
        label->setText(QString::fromLatin1(design.caption));
        fitToText(label);
    }
    for (const char* hidden : {"LBLH", "LBLRECORD", "LBLFULL"})
        labels_.value(QString::fromLatin1(hidden))->hide();

    const int keySize = twips.toPixels(PanelLayout::KeySize);
    for (const PanelLayout::Key& design : PanelLayout::keys()) {
        auto* key = new KeyLabel(client);
        key->setObjectName(QString::fromLatin1(design.name));
        key->setGeometry(twips.toPixels(design.left), twips.toPixels(design.top), keySize, keySize);
        key->setFrameShape(QFrame::Box);
        Colors::setBackground(key, design.background);
        key->setCursor(Qt::PointingHandCursor);
        keys_.insert(key->objectName(), key);
    }
    // The erase spot lies over the red circle and takes its clicks.
    auto* spot = new KeyLabel(client);
    spot->setObjectName(QStringLiteral("Label10"));
    spot->setGeometry(shapes_.value(QStringLiteral("Shape7"))->geometry());
    spot->setCursor(Qt::PointingHandCursor);
    keys_.insert(spot->objectName(), spot);
}

void PanelWindow::buildButtons(QWidget* client) {
    const Twips twips(this);
    recordButton_ = new QPushButton(QStringLiteral("REC"), client);
    recordButton_->setObjectName(QStringLiteral("CMDRECORD"));
    recordButton_->setGeometry(twips.rect(1920, 4200, 735, 255));
    recButton_ = new QPushButton(QStringLiteral("rec"), client);
    recButton_->setObjectName(QStringLiteral("CMDREC"));
    recButton_->setGeometry(twips.rect(1920, 4440, 735, 255));
    for (QPushButton* button : {recordButton_, recButton_}) {
        button->setFont(LayoutFonts::font(QStringLiteral("MS Sans Serif"), 7, false));
        button->setFocusPolicy(Qt::NoFocus);
    }
}

QLabel* PanelWindow::label(const QString& name) const {
    return labels_.value(name);
}

KeyLabel* PanelWindow::key(const QString& name) const {
    return keys_.value(name);
}

ShapeWidget* PanelWindow::shape(const QString& name) const {
    return shapes_.value(name);
}

void PanelWindow::fitToText(QLabel* label) {
    const auto box = designBoxes_.constFind(label);
    if (box == designBoxes_.constEnd())
        return;
    const Twips twips(this);
    fitLabelToAnchor(label, twips.rect(box->left(), box->top(), box->width(), 0));
    for (const auto& [valueName, unitName] : UnitsOfValues) {
        QLabel* value = labels_.value(QString::fromLatin1(valueName));
        QLabel* unit = labels_.value(QString::fromLatin1(unitName));
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
    const bool unitChanged = label->objectName() == QLatin1String("LBLUNITbot");
    label->setText(caption);
    fitToText(label);
    if (unitChanged)
        LBLUNITbot_Change();
}

void PanelWindow::setCaption(const QString& labelName, const QString& caption) {
    setCaption(label(labelName), caption);
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
    return QStringLiteral("Com") + QString::number(state_.ComPortNumber);
}

void PanelWindow::setCommCaption(const QString& caption) {
    setCaption(QStringLiteral("lblcomm"), caption);
}

double PanelWindow::samplingPeriod() const {
    return leadingNumber(samplingCaption());
}

QString PanelWindow::samplingCaption() const {
    return label(QStringLiteral("lblsample"))->text();
}

void PanelWindow::setSamplingCaption(const QString& caption) {
    setCaption(QStringLiteral("lblsample"), caption);
}

QString PanelWindow::humidityCaption() const {
    return label(QStringLiteral("LBLVALrh"))->text();
}

QString PanelWindow::temperatureCaption() const {
    return label(QStringLiteral("LBLVALtemp"))->text();
}

QString PanelWindow::unitCaption() const {
    return label(QStringLiteral("LBLUNITbot"))->text();
}

bool PanelWindow::meterRecording() const {
    return !label(QStringLiteral("LBLRECORD"))->isHidden();
}

QString PanelWindow::fileCaption() const {
    return label(QStringLiteral("lblfile"))->text();
}

void PanelWindow::setFileCaption(const QString& path) {
    setCaption(QStringLiteral("lblfile"), path);
}

void PanelWindow::showRecording(bool on) {
    menus_.CMDSTART->setEnabled(!on);
    menus_.CMDSTOP->setEnabled(on);
    label(QStringLiteral("LBLRECORDING"))->setVisible(on);
    label(QStringLiteral("LBLCOUNT"))->setVisible(on);
}

void PanelWindow::setRecordCount(const QString& countText) {
    setCaption(QStringLiteral("LBLCOUNT"), countText);
}

void PanelWindow::showReading() {
    const LiveReading& reading = state_.reading;
    const QString valuePattern = QStringLiteral("#0.0#");
    setCaption(QStringLiteral("LBLVALtime"), reading.MeterTimeText);
    setCaption(QStringLiteral("LBLVALtemp"),
               formatNumberText(reading.TemperatureText, valuePattern));
    setCaption(QStringLiteral("LBLVALrh"), formatNumberText(reading.HumidityText, valuePattern));
    setCaption(QStringLiteral("LBLUNITbot"), reading.TempUnit);
    const bool celsius = reading.TempUnit == QLatin1String("C");
    Colors::setBackground(key(QStringLiteral("LBLM1")), celsius ? Colors::Red : Colors::White);
    Colors::setBackground(key(QStringLiteral("LBLM2")), celsius ? Colors::White : Colors::Red);
    label(QStringLiteral("LBLBT"))->setVisible(reading.BatteryLow == 1);
    label(QStringLiteral("LBLH"))->setVisible(reading.HoldOn == 1);
    Colors::setBackground(key(QStringLiteral("LBLR1")),
                          reading.HoldOn == 1 ? Colors::Red : Colors::White);
    label(QStringLiteral("LBLFULL"))->setVisible(reading.MemoryFull == 1);
    const bool recording = reading.MeterRecording == 1;
    label(QStringLiteral("LBLRECORD"))->setVisible(recording);
    Colors::setBackground(key(QStringLiteral("LBLL3")), recording ? Colors::Red : Colors::White);
    menus_.CMDMEMORY->setEnabled(!recording);
    if (recording)
        Q_EMIT meterRecordingReported();
}

void PanelWindow::LBLUNITbot_Change() {
    // The temperature chart's scale was drawn for the other unit.
    Q_EMIT unitChanged();
}

void PanelWindow::showNoDevice() {
    setCaption(QStringLiteral("lblcomm"), QStringLiteral(" NO COM "));
    for (const char* value : {"LBLVALrh", "LBLVALtime", "LBLVALtemp"})
        setCaption(QString::fromLatin1(value), QStringLiteral("----"));
    label(QStringLiteral("LBLRECORD"))->hide();
    Colors::setBackground(key(QStringLiteral("LBLR3")), Colors::Red);
    Colors::setBackground(key(QStringLiteral("LBLR2")), Colors::White);
    for (QMenu* menu : {menus_.CMDFILE, menus_.CMDDISPLAY, menus_.CMDOPTION})
        setMenuEnabled(menu, false);
}

void PanelWindow::showMeterBack() {
    Colors::setBackground(key(QStringLiteral("LBLR2")), Colors::Red);
    Colors::setBackground(key(QStringLiteral("LBLR3")), Colors::White);
    setCaption(QStringLiteral("lblcomm"), portText());
    for (QMenu* menu : {menus_.CMDFILE, menus_.CMDDISPLAY, menus_.CMDOPTION})
        setMenuEnabled(menu, true);
}

void PanelWindow::Timer2_Timer() {
    const double period = samplingPeriod();
    if (period < tickOverrun_)
        tickOverrun_ = 0.0;
    timer2_->setInterval(static_cast<int>(roundHalfEven((period - tickOverrun_) * 1000.0)));

    RecordingState& recording = state_.recording;
    const bool listStep = recording.ListLive == 1;
    const bool recordStep = recording.RecordingOn;
    const qint64 started = platform_.clock.steadyMilliseconds();
    if (listStep || recordStep)
        Q_EMIT rowSampled(rowBody(platform_.clock.now(), humidityCaption(), temperatureCaption(),
                                  unitCaption(), !label(QStringLiteral("LBLBT"))->isHidden()));
    if (!recordStep) {
        recording.RecordCount = 0;
        QLabel* count = label(QStringLiteral("LBLCOUNT"));
        setCaption(count, QString());
        count->hide();
    }
    tickOverrun_ = listStep ? (platform_.clock.steadyMilliseconds() - started) / 1000.0 : 0.0;
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    timer1_->stop();
    timer2_->stop();
    Q_EMIT closing();
}
