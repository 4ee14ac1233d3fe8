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

} // namespace

// Where the two values and their units go when one of them is shown large.
struct FrontPanelKeys::DisplayLayout {
    struct Placement {
        const char* label;
        double points;
        int left, top;
        quint32 color;
    };
    const char* largeKey;
    const char* smallKey;
    Placement placements[4];
    Qt::Alignment humidityAlignment;
    // The temperature keeps whatever alignment it had when none is given.
    Qt::Alignment temperatureAlignment;
};

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
    connect(panel->recButton_, &QPushButton::clicked, this, &FrontPanelKeys::CMDREC_Click);
    connect(panel->recordButton_, &QPushButton::clicked, this, &FrontPanelKeys::CMDRECORD_Click);
    // The keys that send the meter a command wait for an exchange that holds the line.
    connect(&panel->link(), &MeterLink::pollPausedChanged, this, [panel, spot](bool paused) {
        for (QWidget* key :
             std::initializer_list<QWidget*>{panel->recButton_, panel->recordButton_, spot})
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

void FrontPanelKeys::showLarge(const DisplayLayout& layout) {
    Colors::setBackground(panel_->key(QString::fromLatin1(layout.largeKey)), Colors::Red);
    Colors::setBackground(panel_->key(QString::fromLatin1(layout.smallKey)), Colors::White);
    for (const DisplayLayout::Placement& step : layout.placements) {
        QLabel* label = panel_->label(QString::fromLatin1(step.label));
        panel_->setLabelFont(label, step.points);
        panel_->placeLabel(label, step.left, step.top);
        Colors::setForeground(label, step.color);
    }
    panel_->setLabelAlignment(panel_->label(QStringLiteral("LBLVALrh")), layout.humidityAlignment);
    if (layout.temperatureAlignment)
        panel_->setLabelAlignment(panel_->label(QStringLiteral("LBLVALtemp")),
                                  layout.temperatureAlignment);
}

void FrontPanelKeys::LBLL1_Click() {
    static const DisplayLayout temperatureLarge{"LBLL1",
                                                "LBLL2",
                                                {{"LBLVALrh", 20, 2610, 1920, Colors::ButtonText},
                                                 {"LBLUNITTOP", 8, 3600, 2160, Colors::ButtonText},
                                                 {"LBLVALtemp", 48, 1365, 840, Colors::Blue},
                                                 {"LBLUNITbot", 16, 3525, 1440, Colors::Blue}},
                                                Qt::AlignLeft | Qt::AlignVCenter,
                                                Qt::AlignCenter};
    showLarge(temperatureLarge);
}

void FrontPanelKeys::LBLL2_Click() {
    static const DisplayLayout humidityLarge{"LBLL2",
                                             "LBLL1",
                                             {{"LBLVALrh", 48, 1365, 840, Colors::Blue},
                                              {"LBLUNITTOP", 16, 3285, 1440, Colors::Blue},
                                              {"LBLVALtemp", 20, 2610, 1920, Colors::ButtonText},
                                              {"LBLUNITbot", 12, 3720, 2160, Colors::ButtonText}},
                                             Qt::AlignCenter,
                                             {}};
    showLarge(humidityLarge);
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
