#pragma once

#include "cli/MeterPort.h"
#include "device/datalogger/Datalogger.h"
#include "device/datalogger/MeterSettings.h"
#include "device/platform/Clock.h"
#include "device/waits/QtWaiter.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "logic/link/LiveReading.h"
#include "logic/result/Result.h"

#include <QObject>
#include <functional>
#include <optional>

class CommandLine;
class MeterLink;
class QCommandLineOption;
class QCommandLineParser;
class QtSerialPort;

// A subcommand's line to the meter: the port opened as the user named it, and the datalogger
// exchanges and settings commands over it. No live poll runs: nothing else talks meanwhile.
class MeterConnection {
public:
    MeterConnection();

    // The --port option every subcommand that talks to the meter takes.
    static QCommandLineOption portOption();
    // The port named by --port; a wrong call when it is missing or no port name.
    static Result<PortName> portFrom(const QCommandLineParser& parser);

    Result<> open(const PortName& name);

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
// meter's status and hands it to confirm. The exit status: Ok when confirm is content, else that
// of confirm's failure, a wrong call, a port that did not open or a meter that did not answer,
// each told on stderr.
int runOnMeter(CommandLine& line, const std::function<void(MeterConnection&)>& command,
               const std::function<Result<>(const StatusReply&, const MeterStamp&)>& confirm);

// "the meter on P does not answer", status Unavailable.
Failure noAnswerFrom(const PortName& port);
