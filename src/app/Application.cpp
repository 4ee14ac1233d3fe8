#include "app/Application.h"

#include "app/PanelFeatures.h"
#include "device/link/MeterLink.h"
#include "device/platform/SerialPort.h"
#include "device/waits/Waiter.h"
#include "logic/dew/VapourTables.h"
#include "ui/panel/PanelWindow.h"
#include "ui/platform/Dialogs.h"
#include "ui/startup/SelectionWindow.h"
#include "ui/startup/SplashWindow.h"

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
        panel_ = std::make_unique<PanelWindow>(
            state_.reading, state_.recording, [this] { return state_.ComPortNumber; }, platform_);
        connect(panel_.get(), &PanelWindow::closing, this, [this] { end(0); });
        if (!Form_Load()) {
            platform_.dialogs.message(nullptr, QStringLiteral("No device found, try again!"),
                                      Dialogs::Buttons::Ok, Dialogs::Icon::Critical,
                                      applicationTitle());
            end(1);
            return;
        }
        PanelFeatures::wire(*panel_, state_, platform_, fileDialog_);
    }
    panel_->show();
    if (closeSelection)
        selection_->closeQuietly();
}

bool Application::Form_Load() {
    PanelWindow& panel = *panel_;
    InitVapourTables(state_.vapourTables);
    // Both live charts start with 300 points on a scale from 0 to 100.
    for (ChartState& chart : state_.charts)
        chart.limits = {300, 100, 50, 0};

    selection_->hide();
    panel.move(0, 0);
    panel.setCommCaption(panel.portText());
    if (state_.ComPortNumber == 0)
        return false;
    if (!platform_.serial.isOpen() && !platform_.serial.open(state_.ComPortNumber))
        return false;
    panel.link().startPolling();
    panel.setSamplingCaption(QStringLiteral("2 Sec"));
    state_.recording.ListLive = 0;
    panel.startSampling();
    panel.showRecording(false);
    panel.showMeterBack();

    auto* splash = new SplashWindow(&panel);
    splash->show();
    const QRect panelFrame = panel.frameGeometry();
    splash->move(panelFrame.width(), panelFrame.height() - selection_->frameGeometry().height());
    return true;
}

void Application::end(int exitCode) {
    if (ended_)
        return;
    ended_ = true;
    // Every wait in progress unwinds; the panel's timers stop with it.
    platform_.waiter.stopAll();
    if (panel_) {
        panel_->link().stopPolling();
        panel_->stopSampling();
        panel_->hide();
    }
    if (selection_)
        selection_->hide();
    platform_.serial.close();
    Q_EMIT finished(exitCode);
}
