#include "ui/panel/FrontPanelKeys.h"

#include "device/link/MeterLink.h"
#include "ui/panel/KeyLabel.h"
#include "ui/panel/PanelWindow.h"
#include "ui/panel/ShapeWidget.h"
#include "ui/platform/Colors.h"
#include "ui/platform/Dialogs.h"

#include <QPushButton>
#include <array>

namespace {

const QString SwitchLine = QStringLiteral("PRESSING THE SWITCH ON THE METER.");

} // namespace

FrontPanelKeys::FrontPanelKeys(PanelWindow* panel, Dialogs& dialogs)
    : QObject(panel), panel_(panel), dialogs_(dialogs) {
    const PanelKeys& keys = panel->keys();
    const std::pair<KeyLabel*, void (FrontPanelKeys::*)()> clicks[] = {
        {keys.LBLL1, &FrontPanelKeys::LBLL1_Click},    {keys.LBLL2, &FrontPanelKeys::LBLL2_Click},
        {keys.LBLL3, &FrontPanelKeys::LBLL3_Click},    {keys.LBLM1, &FrontPanelKeys::LBLM1_Click},
        {keys.LBLM2, &FrontPanelKeys::LBLM2_Click},    {keys.LBLR1, &FrontPanelKeys::LBLR1_Click},
        {keys.LBLR2, &FrontPanelKeys::LBLR2_Click},    {keys.LBLR3, &FrontPanelKeys::LBLR3_Click},
        {keys.Label10, &FrontPanelKeys::Label10_Click}};
    for (const auto& [key, handler] : clicks)
        connect(key, &KeyLabel::clicked, this, handler);
    connect(keys.Label10, &KeyLabel::pressed, this, &FrontPanelKeys::Label10_MouseDown);
    connect(keys.Label10, &KeyLabel::released, this, &FrontPanelKeys::Label10_MouseUp);
    connect(keys.CMDREC, &QPushButton::clicked, this, &FrontPanelKeys::CMDREC_Click);
    connect(keys.CMDRECORD, &QPushButton::clicked, this, &FrontPanelKeys::CMDRECORD_Click);
    // The keys that send the meter a command wait for an exchange that holds the line.
    const std::array<QWidget*, 3> commandKeys{keys.CMDREC, keys.CMDRECORD, keys.Label10};
    connect(&panel->link(), &MeterLink::pollPausedChanged, this, [commandKeys](bool paused) {
        for (QWidget* key : commandKeys)
            key->setEnabled(!paused);
    });
}

QString FrontPanelKeys::keyMessage(const QString& firstLine, const QString& secondLine) {
    return firstLine + QStringLiteral("\n\r\r") + secondLine;
}

void FrontPanelKeys::inform(const QString& firstLine, const QString& secondLine) {
    dialogs_.message(panel_, keyMessage(firstLine, secondLine), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical, applicationTitle());
}

void FrontPanelKeys::LBLL1_Click() {
    panel_->showTemperatureLarge();
}

void FrontPanelKeys::LBLL2_Click() {
    panel_->showHumidityLarge();
}

void FrontPanelKeys::LBLL3_Click() {
    inform(QStringLiteral("Recording function is only available by "),
           QStringLiteral("PRESSING THE SWITCHES ON THE METER."));
}

void FrontPanelKeys::LBLM1_Click() {
    inform(QStringLiteral("Changing F/C is only available by"), SwitchLine);
}

void FrontPanelKeys::LBLM2_Click() {
    LBLM1_Click();
}

void FrontPanelKeys::LBLR1_Click() {
    inform(QStringLiteral("Holding function is only available by "), SwitchLine);
}

void FrontPanelKeys::LBLR2_Click() {
    inform(QStringLiteral("This function is only available by "), SwitchLine);
}

void FrontPanelKeys::LBLR3_Click() {
    LBLR2_Click();
}

void FrontPanelKeys::CMDREC_Click() {
    panel_->link().sendCommand(panel_->meterRecording() ? QByteArrayLiteral("T")
                                                        : QByteArrayLiteral("S"));
}

void FrontPanelKeys::CMDRECORD_Click() {
    Q_EMIT panel_->recKeyUsed();
    panel_->link().sendCommand(panel_->meterRecording() ? QByteArrayLiteral("T")
                                                        : QByteArrayLiteral("R"));
}

void FrontPanelKeys::Label10_MouseDown() {
    panel_->keys().Shape7->setFillColor(Colors::White);
}

void FrontPanelKeys::Label10_MouseUp() {
    panel_->keys().Shape7->setFillColor(Colors::Red);
}

void FrontPanelKeys::Label10_Click() {
    // The meter takes a moment over the erasure: no poll may talk over it.
    panel_->link().sendCommandAndWait(QByteArrayLiteral("EEE"), 0.2);
}
