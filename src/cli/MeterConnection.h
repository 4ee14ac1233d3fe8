#pragma once

#include "cli/MeterPort.h"
#include "device/datalogger/Datalogger.h"
#include "device/datalogger/MeterSettings.h"
#include "device/platform/Clock.h"
#include "device/waits/QtWaiter.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "logic/link/LiveReading.h"

#include <QObject>
#include <functional>
#include <optional>

class CommandLine;
class MeterLink;
class QCommandLineOption;
class QtSerialPort;

// A subcommand's line to the meter: the port opened as the user named it, and the datalogger
// exchanges and settings commands over it. No live poll runs: nothing else talks meanwhile.
class MeterConnection {
public:
    MeterConnection();

    // The --port option every subcommand that talks to the meter takes.
    static QCommandLineOption portOption();
    // The port named by --port; nothing (after the usage error, whose status is in status) when
    // it is missing or no port name.
    static std::optional<PortName> portFrom(CommandLine& line, int& status);

    // Opens the port; nothing on success.
    std::optional<PortFailure> open(const PortName& name);

    Datalogger& session() { return session_; }
    MeterSettings& settings() { return settings_; }
    // The program's one frame buffer for "K", "W" and "X".
    LoggerCommandBuffer& commands() { return commands_; }
    const Clock& clock() const { return clock_; }

private:
    QObject owner_;
    QtSerialPort* port_;
    QtWaiter waiter_;
    SystemClock clock_;
    LiveReading reading_;
    MeterLink* link_;
    Datalogger session_;
    MeterSettings settings_;
    LoggerCommandBuffer commands_;
};

// Opens the port --port names, runs command over it (nothing, for a status alone), reads the
// meter's status and hands it to confirm. The exit status: confirm's, or that of a wrong call, a
// port that did not open or a meter that did not answer, each said on stderr.
int runOnMeter(CommandLine& line, const QString& subcommand,
               const std::function<void(MeterConnection&)>& command,
               const std::function<int(const StatusReply&, const MeterStamp&)>& confirm);

// "meter-logger SUBCOMMAND: the meter on P does not answer"; returns Unavailable.
int reportNoAnswer(const QString& subcommand, const PortName& port);
// The port's failure with the subcommand's name before it; returns its status.
int reportPortFailure(const QString& subcommand, const PortFailure& failure);
