#include "app/PanelFeatures.h"

#include "app/RecordListOpener.h"
#include "device/link/MeterLink.h"
#include "logic/state/SharedState.h"
#include "ui/charts/ChartWindows.h"
#include "ui/datalogger/MeterSettingsCommands.h"
#include "ui/datalogger/SampleRateCommand.h"
#include "ui/dew/DewWindow.h"
#include "ui/lists/GridRecordCells.h"
#include "ui/lists/LiveListController.h"
#include "ui/lists/RecordListWindow.h"
#include "ui/panel/FrontPanelKeys.h"
#include "ui/panel/PanelWindow.h"
#include "ui/recording/RecordingController.h"

#include <QAction>
#include <QPointer>

PanelFeatures PanelFeatures::wire(PanelWindow& panel, SharedState& state, const Platform& platform,
                                  FileDialogState& fileDialog) {
    PanelWindow* p = &panel;
    const PanelMenus& menus = panel.menus();
    PanelFeatures f{};
    f.keys = new FrontPanelKeys(p, platform.dialogs);

    f.lists = new LiveListController(p, state.recording, platform.dialogs, fileDialog,
                                     platform.printer, platform.waiter);
    QObject::connect(menus.CMDLIST, &QAction::triggered, f.lists,
                     &LiveListController::CMDLIST_Click);
    QObject::connect(menus.CMDOPEN, &QAction::triggered, f.lists,
                     &LiveListController::CMDOPEN_Click);
    QObject::connect(f.lists, &LiveListController::listClosed, p,
                     [p] { setMenuEnabled(p->menus().CMDFILE, true); });

    f.recorder = new RecordingController(p, state.recording, platform.dialogs, fileDialog);
    QObject::connect(menus.CMDSAVE, &QAction::triggered, f.recorder,
                     &RecordingController::CMDSAVE_Click);
    QObject::connect(menus.CMDSTART, &QAction::triggered, f.recorder,
                     &RecordingController::CMDSTART_Click);
    QObject::connect(menus.CMDSTOP, &QAction::triggered, f.recorder,
                     &RecordingController::CMDSTOP_Click);
    QObject::connect(f.recorder, &RecordingController::dataFileChosen, p,
                     &PanelWindow::setFileCaption);
    QObject::connect(f.recorder, &RecordingController::recordingChanged, p,
                     &PanelWindow::showRecording);
    QObject::connect(f.recorder, &RecordingController::recordCounted, p,
                     &PanelWindow::setRecordCount);

    // The live list takes the tick's row before the recorder: the tick's overrun is measured
    // around both, and the list is what the user watches.
    QObject::connect(p, &PanelWindow::rowSampled, f.lists, &LiveListController::appendLiveRow);
    QObject::connect(p, &PanelWindow::rowSampled, f.recorder, &RecordingController::recordRow);

    f.sampleRate = new SampleRateCommand(p, platform.dialogs, [p] { return p->samplingCaption(); });
    QObject::connect(menus.CMDSAMPLE, &QAction::triggered, f.sampleRate,
                     &SampleRateCommand::CMDSAMPLE_Click);
    QObject::connect(f.sampleRate, &SampleRateCommand::sampleRateChosen, p,
                     &PanelWindow::setSamplingCaption);

    QObject::connect(menus.cmddew, &QAction::triggered, p, [p, &state, platform] {
        DewWindow::open(p, state.reading, state.vapourTables, platform.dialogs,
                        [p] { return p->samplingPeriod(); });
    });
    // SHOW DATA's record lists: the datalogger lists its sets into them, the charts draw them,
    // and no REC_LIST may save over the file being recorded.
    f.recordLists = new RecordListOpener(p, platform);
    f.recordLists->setRecordedFile(*f.recorder);
    f.charts = wireCharts(panel, state, platform, *f.recordLists);
    f.datalogger = wireDatalogger(panel, state, platform, *f.recordLists);
    return f;
}

MeterSettingsCommands* PanelFeatures::wireDatalogger(PanelWindow& panel, SharedState& state,
                                                     const Platform& platform,
                                                     RecordListOpener& recordLists) {
    PanelWindow* p = &panel;
    const PanelMenus& menus = panel.menus();
    auto* datalogger = new MeterSettingsCommands(
        p, panel.link(), state.logger, [&state] { return state.ComPortNumber; }, platform,
        recordLists);
    QObject::connect(menus.CMDMEMORY, &QAction::triggered, datalogger,
                     &MeterSettingsCommands::CMDMEMORY_Click);
    QObject::connect(menus.CMDERASE, &QAction::triggered, datalogger,
                     &MeterSettingsCommands::CMDERASE_Click);
    QObject::connect(menus.CMDSYSTEM, &QAction::triggered, datalogger,
                     &MeterSettingsCommands::CMDSYSTEM_Click);
    QObject::connect(datalogger, &MeterSettingsCommands::commCaptionChanged, p,
                     &PanelWindow::setCommCaption);
    // The meter commands wait for an exchange that holds the line (a download that runs): none
    // of them may empty the line under it or put a command into its reply.
    QObject::connect(&panel.link(), &MeterLink::pollPausedChanged, p, [p](bool paused) {
        for (QAction* command : {p->menus().CMDERASE, p->menus().CMDSYSTEM})
            command->setEnabled(!paused);
    });
    // LOGGER closes (ending a running exchange cleanly) when the meter goes away, reports that it
    // records, or is told to record from the panel.
    for (auto signal :
         {&PanelWindow::linkLost, &PanelWindow::meterRecordingReported, &PanelWindow::recKeyUsed})
        QObject::connect(p, signal, datalogger, &MeterSettingsCommands::closeLogger);
    return datalogger;
}

ChartWindows* PanelFeatures::wireCharts(PanelWindow& panel, SharedState& state,
                                        const Platform& platform, RecordListOpener& recordLists) {
    PanelWindow* p = &panel;
    const LiveChartSource source{
        [p] { return p->samplingCaption(); },
        {{[p] { return p->humidityCaption(); }, [p] { return p->temperatureCaption(); }}},
        [p] { return p->unitCaption(); },
        [p] { return p->frameGeometry().width(); }};
    auto* charts = new ChartWindows(p, state.charts, state.logger, platform, source);
    QObject::connect(panel.menus().MNUHUM, &QAction::triggered, charts,
                     [charts] { charts->openLiveChart(ChartKind::Humidity); });
    QObject::connect(panel.menus().MNUTEM, &QAction::triggered, charts,
                     [charts] { charts->openLiveChart(ChartKind::Temperature); });
    QObject::connect(p, &PanelWindow::unitChanged, charts, &ChartWindows::closeTemperatureChart);
    // A recorded chart that has drawn itself lets the poll run again, unless an exchange with the
    // meter holds it. A running poll keeps its rhythm: restarting it on each of the redraws that
    // dragging a chart's edge sends would hold the reading still for the whole drag.
    QObject::connect(charts, &ChartWindows::pollTimerWanted, p, [p] { p->link().startPolling(); });

    QObject::connect(
        &recordLists, &RecordListOpener::opened, charts, [charts](RecordListWindow* list) {
            const QPointer<RecordListWindow> guard(list);
            auto records = [guard] { return gridRecordCells(guard ? &guard->grid() : nullptr); };
            QObject::connect(
                list, &RecordListWindow::humidityChartRequested, charts,
                [charts, records] { charts->openRecordedChart(ChartKind::Humidity, records); });
            QObject::connect(
                list, &RecordListWindow::temperatureChartRequested, charts,
                [charts, records] { charts->openRecordedChart(ChartKind::Temperature, records); });
            QObject::connect(list, &RecordListWindow::unloaded, charts,
                             &ChartWindows::closeRangeDialogs);
        });
    return charts;
}
