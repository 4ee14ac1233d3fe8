#pragma once

#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "app/Application.h"
#include "device/platform/Clock.h"
#include "device/platform/QtSerialPort.h"
#include "device/waits/QtWaiter.h"
#include "ui/panel/PanelWindow.h"
#include "ui/startup/SelectionWindow.h"

#include <QLabel>
#include <QPushButton>

// The program as main() sets it up, with the real serial port, clock and waits; only the boxes
// and the printer are faked. Used by the end-to-end test and the link benchmark.
struct LiveApplication {
    QObject owner;
    QtSerialPort* serial = new QtSerialPort(&owner);
    FakeDialogs dialogs;
    FakePrinter printer;
    SystemClock clock;
    QtWaiter waiter;
    Application application{{*serial, dialogs, printer, clock, waiter}};

    LiveApplication() { application.start(); }

    // OK in the port dialog, on the port it offers first.
    PanelWindow* choosePort() {
        application.selection()->findChild<QPushButton*>(QStringLiteral("CmdOK"))->click();
        return application.panel();
    }

    QString caption(const char* name) const {
        return application.panel()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
};
