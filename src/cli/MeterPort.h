#pragma once

#include <QString>
#include <optional>

class QtSerialPort;

// A port as the user names it: "COM1" to "COM8" (mapped to devices as the desktop program maps
// them) or a device path such as "/dev/ttyUSB0".
struct PortName {
    QString given;
    int number = 0;
    QString path;

    // The device it opens.
    QString devicePath() const;
    // Nothing for a name that is neither.
    static std::optional<PortName> parse(const QString& text);
};

// Why a port did not open, as the user should read it, and the exit status it ends with.
struct PortFailure {
    int exitStatus;
    QString message;
};

// Opens the meter's port, refusing one another program has open (never two programs polling one
// meter). Nothing on success.
std::optional<PortFailure> openMeterPort(QtSerialPort& port, const PortName& name);
