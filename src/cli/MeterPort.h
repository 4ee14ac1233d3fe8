#pragma once

#include "logic/result/Result.h"

#include <QString>
#include <optional>

class QtSerialPort;
class TermiosSerialPort;

// A port as the user names it: "COM1" to "COM8" (mapped to devices as the desktop program maps
// them) or a device path such as "/dev/ttyUSB0" or "./sims/m1" (from the working folder).
struct PortName {
    QString given;
    int number = 0;
    QString path;

    // The device it opens.
    QString devicePath() const;
    // Nothing for a name that is neither.
    static std::optional<PortName> parse(const QString& text);
};

// Why the user may not open a device that owner and group hold with that mode: the group to join
// when the group may read and write it, else who alone may.
QString permissionHint(const QString& shown, const QString& owner, const QString& group,
                       unsigned mode);

// Opens the meter's port, refusing one another program has open (never two programs polling one
// meter). The failure says why, as the user should read it, with the status to end with.
Result<> openMeterPort(QtSerialPort& port, const PortName& name);
Result<> openMeterPort(TermiosSerialPort& port, const PortName& name);
