#include "app/Application.h"

#include "app/SelectionWindow.h"
#include "app/SplashWindow.h"
#include "dew/DewWindow.h"
#include "dew/VapourTables.h"
#include "lists/LiveListController.h"
#include "lists/RecordListWindow.h"
#include "logger/MeterSettingsCommands.h"
#include "logger/SampleRateCommand.h"
#include "panel/FrontPanelKeys.h"
#include "panel/KeyLabel.h"
#include "panel/PanelWindow.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/SerialPort.h"
#include "platform/Waiter.h"
#include "recording/RecordingController.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

Application::Application(const Platform& platform, QObject* parent)
    : QObject(parent), platform_(platform) {}

Application::~Application() {
    // Windows go before the state they point into.
    panel_.reset();
    selection_.reset();
}

void Application::start() {
    selection_ = std::make_unique<SelectionWindow>();
    connect(selection_.get(), &SelectionWindow::portChosen, this, &Application::onPortChosen);
    connect(selection_.get(), &SelectionWindow::closedByUser, this, [this] {
        if (!panel_)
            end(0);
    });
    selection_->show();
}

void Application::onPortChosen(int portNumber, bool closeSelection) {
    if (portNumber != 0)
        state_.ComPortNumber = portNumber;
    if (!panel_) {
        panel_ = std::make_unique<PanelWindow>(state_, platform_);
        connect(panel_.get(), &PanelWindow::closing, this, [this] { end(0); });
        if (!Form_Load()) {
            platform_.dialogs.message(nullptr, noDeviceMessage(), Dialogs::Buttons::Ok,
                                      Dialogs::Icon::Critical, applicationTitle());
            end(1);
            return;
        }
        wireFeatures();
    }
    panel_->show();
    if (closeSelection)
        selection_->closeQuietly();
}

bool Application::Form_Load() {
    PanelWindow& panel = *panel_;
    InitVapourTables(state_.vapourTables);
    ChartLimits& limits = state_.chartLimits;
    limits.HumPoints = 300;
    limits.TemPoints = 300;
    limits.TemTop = 100;
    limits.TemMid = 50;
    limits.TemBottom = 0;
    limits.HumTop = 100;
    limits.HumMid = 50;
    limits.HumBottom = 0;

    selection_->hide();
    panel.move(0, 0);
    panel.setCaption(QStringLiteral("lblcomm"), panel.portText());
    if (state_.ComPortNumber == 0)
        return false;
    if (!platform_.serial.isOpen() && !platform_.serial.open(state_.ComPortNumber))
        return false;
    panel.Timer1()->start();
    panel.setCaption(QStringLiteral("lblsample"), QStringLiteral("2 Sec"));
    state_.recording.ListLive = 0;
    // The first sampling tick comes at once; it then sets its own interval.
    panel.Timer2()->start(static_cast<int>(panel.samplingPeriod()));
    panel.label(QStringLiteral("LBLRECORDING"))->hide();
    panel.menus().CMDSTOP->setEnabled(false);
    Colors::setBackground(panel.key(QStringLiteral("LBLR2")), Colors::Red);
    Colors::setBackground(panel.key(QStringLiteral("LBLR3")), Colors::White);

    auto* splash = new SplashWindow(&panel);
    splash->show();
    const QRect panelFrame = panel.frameGeometry();
    splash->move(panelFrame.width(), panelFrame.height() - selection_->frameGeometry().height());
    return true;
}

void Application::wireFeatures() {
    PanelWindow* panel = panel_.get();
    new FrontPanelKeys(panel, platform_.dialogs);
    auto* recorder = new RecordingController(panel, state_, platform_.dialogs, fileDialog_);
    auto* lists = new LiveListController(panel, state_, platform_.dialogs, fileDialog_,
                                         platform_.printer, platform_.waiter);
    new SampleRateCommand(panel, platform_.dialogs);
    panel->setRecordSink(recorder);
    panel->setLiveRowSink(lists);
    // OPTION's datalogger items. The panel closes LOGGER by name when the link is lost, the meter
    // records or its REC button is used; LOGGER ends a running exchange cleanly then.
    auto* datalogger = new MeterSettingsCommands(
        panel, panel->link(), state_, platform_, [this, panel]() -> RecordListWindow* {
            panel->closeWindowNamed(QStringLiteral("REC_LIST"));
            auto* list = new RecordListWindow(panel, state_, platform_);
            list->show();
            return list;
        });
    const PanelMenus& menus = panel->menus();
    connect(menus.CMDMEMORY, &QAction::triggered, datalogger,
            &MeterSettingsCommands::CMDMEMORY_Click);
    connect(menus.CMDERASE, &QAction::triggered, datalogger,
            &MeterSettingsCommands::CMDERASE_Click);
    connect(menus.CMDSYSTEM, &QAction::triggered, datalogger,
            &MeterSettingsCommands::CMDSYSTEM_Click);
    connect(
        datalogger, &MeterSettingsCommands::commCaptionChanged, panel,
        [panel](const QString& caption) { panel->setCaption(QStringLiteral("lblcomm"), caption); });
    connect(panel->menus().cmddew, &QAction::triggered, panel, [this, panel] {
        DewWindow::open(panel, state_.reading, state_.vapourTables, platform_.dialogs,
                        [panel] { return panel->samplingPeriod(); });
    });
}

void Application::end(int exitCode) {
    if (ended_)
        return;
    ended_ = true;
    // Every wait in progress unwinds; the panel's timers stop with it.
    platform_.waiter.stopAll();
    if (panel_) {
        panel_->Timer1()->stop();
        panel_->Timer2()->stop();
        panel_->hide();
    }
    if (selection_)
        selection_->hide();
    platform_.serial.close();
    Q_EMIT finished(exitCode);
}
