#include "panel/FrontPanelKeys.h"

#include "link/MeterLink.h"
#include "panel/KeyLabel.h"
#include "panel/PanelWindow.h"
#include "panel/ShapeWidget.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/SerialPort.h"
#include "platform/Waiter.h"

#include <QPushButton>

namespace {

const QString SwitchLine = QStringLiteral("PRESSING THE SWITCH ON THE METER.");

struct Placement {
    const char* label;
    double points;
    int left, top;
    quint32 color;
};

} // namespace

FrontPanelKeys::FrontPanelKeys(PanelWindow* panel, Dialogs& dialogs)
    : QObject(panel), panel_(panel), dialogs_(dialogs) {
    const std::pair<const char*, void (FrontPanelKeys::*)()> clicks[] = {
        {"LBLL1", &FrontPanelKeys::LBLL1_Click},    {"LBLL2", &FrontPanelKeys::LBLL2_Click},
        {"LBLL3", &FrontPanelKeys::LBLL3_Click},    {"LBLM1", &FrontPanelKeys::LBLM1_Click},
        {"LBLM2", &FrontPanelKeys::LBLM2_Click},    {"LBLR1", &FrontPanelKeys::LBLR1_Click},
        {"LBLR2", &FrontPanelKeys::LBLR2_Click},    {"LBLR3", &FrontPanelKeys::LBLR3_Click},
        {"Label10", &FrontPanelKeys::Label10_Click}};
    for (const auto& [name, handler] : clicks)
        connect(panel->key(QString::fromLatin1(name)), &KeyLabel::clicked, this, handler);
    KeyLabel* spot = panel->key(QStringLiteral("Label10"));
    connect(spot, &KeyLabel::pressed, this, &FrontPanelKeys::Label10_MouseDown);
    connect(spot, &KeyLabel::released, this, &FrontPanelKeys::Label10_MouseUp);
    connect(panel->findChild<QPushButton*>(QStringLiteral("CMDREC")), &QPushButton::clicked, this,
            &FrontPanelKeys::CMDREC_Click);
    connect(panel->findChild<QPushButton*>(QStringLiteral("CMDRECORD")), &QPushButton::clicked,
            this, &FrontPanelKeys::CMDRECORD_Click);
}

QString FrontPanelKeys::keyMessage(const QString& firstLine, const QString& secondLine) {
    return firstLine + QStringLiteral("\n\r\r") + secondLine;
}

void FrontPanelKeys::inform(const QString& firstLine, const QString& secondLine) {
    dialogs_.message(panel_, keyMessage(firstLine, secondLine), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Critical, applicationTitle());
}

void FrontPanelKeys::LBLL1_Click() {
    Colors::setBackground(panel_->key(QStringLiteral("LBLL1")), Colors::Red);
    Colors::setBackground(panel_->key(QStringLiteral("LBLL2")), Colors::White);
    const Placement steps[] = {{"LBLVALrh", 20, 2610, 1920, Colors::ButtonText},
                               {"LBLUNITTOP", 8, 3600, 2160, Colors::ButtonText},
                               {"LBLVALtemp", 48, 1365, 840, Colors::Blue},
                               {"LBLUNITbot", 16, 3525, 1440, Colors::Blue}};
    for (const Placement& step : steps) {
        QLabel* label = panel_->label(QString::fromLatin1(step.label));
        panel_->setLabelFont(label, step.points);
        panel_->placeLabel(label, step.left, step.top);
        Colors::setForeground(label, step.color);
    }
    panel_->setLabelAlignment(panel_->label(QStringLiteral("LBLVALrh")),
                              Qt::AlignLeft | Qt::AlignVCenter);
    panel_->setLabelAlignment(panel_->label(QStringLiteral("LBLVALtemp")), Qt::AlignCenter);
}

void FrontPanelKeys::LBLL2_Click() {
    Colors::setBackground(panel_->key(QStringLiteral("LBLL1")), Colors::White);
    Colors::setBackground(panel_->key(QStringLiteral("LBLL2")), Colors::Red);
    const Placement steps[] = {{"LBLVALrh", 48, 1365, 840, Colors::Blue},
                               {"LBLUNITTOP", 16, 3285, 1440, Colors::Blue},
                               {"LBLVALtemp", 20, 2610, 1920, Colors::ButtonText},
                               {"LBLUNITbot", 12, 3720, 2160, Colors::ButtonText}};
    for (const Placement& step : steps) {
        QLabel* label = panel_->label(QString::fromLatin1(step.label));
        panel_->setLabelFont(label, step.points);
        panel_->placeLabel(label, step.left, step.top);
        Colors::setForeground(label, step.color);
    }
    // The temperature keeps whatever alignment it had.
    panel_->setLabelAlignment(panel_->label(QStringLiteral("LBLVALrh")), Qt::AlignCenter);
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

bool FrontPanelKeys::meterRecording() const {
    return !panel_->label(QStringLiteral("LBLRECORD"))->isHidden();
}

void FrontPanelKeys::CMDREC_Click() {
    panel_->link().sendCommand(meterRecording() ? QByteArrayLiteral("T") : QByteArrayLiteral("S"));
}

void FrontPanelKeys::CMDRECORD_Click() {
    panel_->closeWindowNamed(QStringLiteral("LOGGER"));
    panel_->link().sendCommand(meterRecording() ? QByteArrayLiteral("T") : QByteArrayLiteral("R"));
}

void FrontPanelKeys::Label10_MouseDown() {
    panel_->shape(QStringLiteral("Shape7"))->setFillColor(Colors::White);
}

void FrontPanelKeys::Label10_MouseUp() {
    panel_->shape(QStringLiteral("Shape7"))->setFillColor(Colors::Red);
}

void FrontPanelKeys::Label10_Click() {
    MeterLink& link = panel_->link();
    link.pausePoll();
    link.DiscardInput();
    link.port().write(QByteArrayLiteral("EEE"));
    if (link.waiter().WaitSeconds(0.2))
        link.resumePoll();
}
