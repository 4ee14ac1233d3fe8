#pragma once

#include "platform/Platform.h"

class ChartWindows;
class FileDialogState;
class FrontPanelKeys;
class LiveListController;
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
    RecordListOpener* recordLists;

    static PanelFeatures wire(PanelWindow& panel, SharedState& state, const Platform& platform,
                              FileDialogState& fileDialog);

private:
    static void wireCharts(PanelFeatures& f, PanelWindow& panel, SharedState& state,
                           const Platform& platform);
};
