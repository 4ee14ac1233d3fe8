#pragma once

#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "link/MeterLink.h"
#include "panel/KeyLabel.h"
#include "panel/PanelWindow.h"
#include "platform/Colors.h"
#include "platform/Twips.h"
#include "state/SharedState.h"

#include <QLabel>

// A main window on port 1 with every platform service faked: the tests play the meter through
// the scripted port and the waits take no time.
struct PanelRig {
    SharedState state;
    ScriptedSerialPort serial{nullptr};
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock;
    FakeWaiter waiter{&clock};
    Platform platform{serial, dialogs, printer, clock, waiter};
    PanelWindow panel{state, platform};

    PanelRig() {
        state.ComPortNumber = 1;
        serial.open(1);
        panel.setCaption(QStringLiteral("lblcomm"), panel.portText());
        panel.setCaption(QStringLiteral("lblsample"), QStringLiteral("2 Sec"));
    }

    // From now on the meter answers every poll with this frame.
    void meterAnswers(const QByteArray& frame) {
        serial.responder = [frame](const QByteArray& written) {
            return written == " " ? frame : QByteArray();
        };
    }
    void meterIsSilent() { serial.responder = nullptr; }
    void poll() { panel.link().Timer1_Timer(); }

    QString caption(const char* name) const {
        return panel.label(QString::fromLatin1(name))->text();
    }
    bool shown(const char* name) const {
        return !panel.label(QString::fromLatin1(name))->isHidden();
    }
    QColor keyColor(const char* name) const {
        return Colors::background(panel.key(QString::fromLatin1(name)));
    }
    int spacesSent() const { return static_cast<int>(serial.writes.count(QByteArray(" "))); }
};

inline QByteArray frameOf(std::initializer_list<int> bytes) {
    QByteArray data;
    for (int b : bytes)
        data.append(static_cast<char>(b));
    return data;
}

inline const QColor RedKey = Colors::toQColor(Colors::Red);
inline const QColor WhiteKey = Colors::toQColor(Colors::White);
