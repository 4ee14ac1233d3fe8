#pragma once

#include "FakePlatform.h"
#include "FrameBytes.h"
#include "app/PanelFeatures.h"
#include "device/link/MeterLink.h"
#include "logic/state/SharedState.h"
#include "ui/panel/KeyLabel.h"
#include "ui/panel/PanelWindow.h"
#include "ui/platform/Colors.h"
#include "ui/recording/FileDialogState.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

// A main window on port 1 with every platform service faked: the tests play the meter through
// the scripted port and the waits take no time. With features, the keys and menu commands are
// wired to it as the application wires them.
struct PanelRig : FakePlatform {
    SharedState state;
    PanelWindow panel{state.reading, state.recording, [this] { return state.ComPortNumber; },
                      platform};
    FileDialogState fileDialog;
    PanelFeatures features{};

    enum class Wiring { PanelOnly, WithFeatures };
    explicit PanelRig(Wiring wiring = Wiring::WithFeatures) {
        state.ComPortNumber = 1;
        serial.open(1);
        panel.setCommCaption(panel.portText());
        panel.setSamplingCaption(QStringLiteral("2 Sec"));
        panel.showRecording(false); // as the start-up leaves it
        if (wiring == Wiring::WithFeatures)
            features = PanelFeatures::wire(panel, state, platform, fileDialog);
    }

    // From now on the meter answers every poll with this frame.
    void meterAnswers(const QByteArray& frame) {
        serial.responder = [frame](const QByteArray& written) {
            return written == " " ? frame : QByteArray();
        };
    }
    void pollAnswering(const QByteArray& frame) {
        meterAnswers(frame);
        poll();
    }
    void meterIsSilent() { serial.responder = nullptr; }
    void poll() { panel.link().Timer1_Timer(); }
    void tick() { panel.Timer2_Timer(); }
    bool polling() { return panel.link().findChild<QTimer*>(QStringLiteral("Timer1"))->isActive(); }
    int samplingInterval() const { return find<QTimer>("Timer2")->interval(); }

    template <class Widget = QLabel> Widget* find(const char* name) const {
        return panel.findChild<Widget*>(QString::fromLatin1(name));
    }
    void trigger(const char* menuItem) { find<QAction>(menuItem)->trigger(); }
    QString caption(const char* name) const { return find(name)->text(); }
    bool shown(const char* name) const { return !find(name)->isHidden(); }
    QColor keyColor(const char* name) const { return Colors::background(find<KeyLabel>(name)); }
    int spacesSent() const { return static_cast<int>(serial.writes.count(QByteArray(" "))); }
};

inline const QByteArray PlainFrame = frameOf({0x00, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0x00});
inline const QColor RedKey = Colors::toQColor(Colors::Red);
inline const QColor WhiteKey = Colors::toQColor(Colors::White);
