#include "cli/MeterConnection.h"

#include "cli/CommandLine.h"
#include "device/link/MeterLink.h"
#include "device/platform/QtSerialPort.h"
#include "logic/result/ExitStatus.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

MeterConnection::MeterConnection()
    : port_(new QtSerialPort(&owner_)), link_(new MeterLink(&owner_, *port_, waiter_, reading_)),
      session_(*link_, *port_, waiter_, clock_), settings_(*link_, *port_, waiter_, clock_) {}

QCommandLineOption MeterConnection::portOption() {
    return QCommandLineOption(
        QStringLiteral("port"),
        QStringLiteral("The meter's port: COM1 to COM8 or a device path such as /dev/ttyUSB0."),
        QStringLiteral("P"));
}

Result<PortName> MeterConnection::portFrom(const QCommandLineParser& parser) {
    const QString given = parser.value(QStringLiteral("port"));
    if (given.isEmpty())
        return wrongCall(QStringLiteral("--port is needed"));
    if (std::optional<PortName> name = PortName::parse(given))
        return *name;
    return wrongCall(
        QStringLiteral("\"%1\" is no port: give COM1 to COM8 or a device path").arg(given));
}

Result<> MeterConnection::open(const PortName& name) {
    return openMeterPort(*port_, name);
}

Failure noAnswerFrom(const PortName& port) {
    return {ExitStatus::Unavailable,
            QStringLiteral("the meter on %1 does not answer").arg(port.given)};
}

int runOnMeter(CommandLine& line, const std::function<void(MeterConnection&)>& command,
               const std::function<Result<>(const StatusReply&, const MeterStamp&)>& confirm) {
    const Result<PortName> port = MeterConnection::portFrom(line.parser());
    if (!port)
        return line.fail(port.failure());
    MeterConnection meter;
    if (const Result<> opened = meter.open(*port); !opened)
        return line.fail(opened.failure());
    if (command)
        command(meter);
    const Datalogger::StatusRead read = meter.session().readStatus();
    if (!read.answered())
        return line.fail(noAnswerFrom(*port));
    return line.exitStatusOf(confirm(*read.status, *read.clock));
}
