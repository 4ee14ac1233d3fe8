#pragma once

#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "ui/platform/Platform.h"

// Every platform service faked: a scripted serial port, answered dialogs, a paper-less printer
// and a clock that only the waits move.
struct FakePlatform {
    ScriptedSerialPort serial{nullptr};
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock;
    FakeWaiter waiter{&clock};
    Platform platform{serial, dialogs, printer, clock, waiter};
};
