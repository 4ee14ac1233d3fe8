#pragma once

#include "ui/platform/Platform.h"

class ChartWindows;
class FileDialogState;
class FrontPanelKeys;
class LiveListController;
class MeterSettingsCommands;
class PanelWindow;
class RecordListOpener;
class RecordingController;
class SampleRateCommand;
struct SharedState;

// The commands behind the main window's keys and menus, made and connected to it: the one place
// that knows both sides. All of them are children of the panel.
struct PanelFeatures {
    FrontPanelKeys* keys;
    RecordingController* recorder;
    LiveListController* lists;
    SampleRateCommand* sampleRate;
    ChartWindows* charts;
    MeterSettingsCommands* datalogger;
    RecordListOpener* recordLists;

    static PanelFeatures wire(PanelWindow& panel, SharedState& state, const Platform& platform,
                              FileDialogState& fileDialog);

private:
    static MeterSettingsCommands* wireDatalogger(PanelWindow& panel, SharedState& state,
                                                 const Platform& platform,
                                                 RecordListOpener& recordLists);
    static ChartWindows* wireCharts(PanelWindow& panel, SharedState& state,
                                    const Platform& platform, RecordListOpener& recordLists);
};
