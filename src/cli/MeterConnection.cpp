#include "cli/MeterConnection.h"

#include "cli/CommandLine.h"
#include "cli/ErrorLine.h"
#include "device/link/MeterLink.h"
#include "device/platform/QtSerialPort.h"
#include "logic/result/ExitStatus.h"

#include <QCommandLineOption>

MeterConnection::MeterConnection()
    : port_(new QtSerialPort(&owner_)), link_(new MeterLink(&owner_, *port_, waiter_, reading_)),
      session_(*link_, *port_, waiter_, clock_), settings_(*link_, *port_, waiter_, clock_) {}

QCommandLineOption MeterConnection::portOption() {
    return QCommandLineOption(
        QStringLiteral("port"),
        QStringLiteral("The meter's port: COM1 to COM8 or a device path such as /dev/ttyUSB0."),
        QStringLiteral("P"));
}

std::optional<PortName> MeterConnection::portFrom(CommandLine& line, int& status) {
    const QString given = line.parser().value(QStringLiteral("port"));
    if (given.isEmpty()) {
        status = line.usageError(QStringLiteral("--port is needed"));
        return std::nullopt;
    }
    std::optional<PortName> name = PortName::parse(given);
    if (!name)
        status = line.usageError(
            QStringLiteral("\"%1\" is no port: give COM1 to COM8 or a device path").arg(given));
    return name;
}

std::optional<PortFailure> MeterConnection::open(const PortName& name) {
    return openMeterPort(*port_, name);
}

int reportNoAnswer(const QString& subcommand, const PortName& port) {
    printError(QStringLiteral("meter-logger %1: the meter on %2 does not answer")
                   .arg(subcommand, port.given));
    return ExitStatus::Unavailable;
}

int reportPortFailure(const QString& subcommand, const PortFailure& failure) {
    printError(QStringLiteral("meter-logger %1: %2").arg(subcommand, failure.message));
    return failure.exitStatus;
}

int runOnMeter(CommandLine& line, const QString& subcommand,
               const std::function<void(MeterConnection&)>& command,
               const std::function<int(const StatusReply&, const MeterStamp&)>& confirm) {
    int status = ExitStatus::Ok;
    const std::optional<PortName> port = MeterConnection::portFrom(line, status);
    if (!port)
        return status;
    MeterConnection meter;
    if (const std::optional<PortFailure> failure = meter.open(*port))
        return reportPortFailure(subcommand, *failure);
    if (command)
        command(meter);
    const Datalogger::StatusRead read = meter.session().readStatus();
    if (!read.answered())
        return reportNoAnswer(subcommand, *port);
    return confirm(*read.status, *read.clock);
}
