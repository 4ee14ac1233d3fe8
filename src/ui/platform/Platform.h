#pragma once

class SerialPort;
class Dialogs;
class Printer;
class Clock;
class Waiter;

// The platform services a window may use, handed down from the application (or a test).
struct Platform {
    SerialPort& serial;
    Dialogs& dialogs;
    Printer& printer;
    Clock& clock;
    Waiter& waiter;
};
