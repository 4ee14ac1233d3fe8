#pragma once

#include "platform/Platform.h"

class FileDialogState;
class FrontPanelKeys;
class LiveListController;
class PanelWindow;
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

    static PanelFeatures wire(PanelWindow& panel, SharedState& state, const Platform& platform,
                              FileDialogState& fileDialog);
};
