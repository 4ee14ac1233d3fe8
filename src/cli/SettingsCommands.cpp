#include "cli/SettingsCommands.h"

#include "cli/CommandLine.h"
#include "cli/MeterConnection.h"
#include "cli/MeterStatusText.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "logic/result/ExitStatus.h"

#include <QDateTime>
#include <cstdio>

namespace {

// The meter keeps a two-digit year.
constexpr int firstClockYear = 2000;
constexpr int lastClockYear = 2099;

void printLine(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
}

// A parameter the meter takes as a 16-bit number: the range LOGGER's entries accept, and the
// same rounding (a half to the even neighbour). A wrong call for anything else.
Result<double> parameterArgument(const QStringList& values, const QString& what) {
    if (values.size() != 1)
        return wrongCall(QStringLiteral("takes one %1").arg(what));
    bool isNumber = false;
    const double value = values[0].toDouble(&isNumber);
    if (!isNumber || !LoggerCommandBuffer::isValidParameter(value))
        return wrongCall(
            QStringLiteral(
                "invalid %1 \"%2\": give a number from 0 to %3, the meter takes no other")
                .arg(what, values[0])
                .arg(LoggerCommandBuffer::MaxParameter));
    return value;
}

// set-interval and set-id: a number for the meter, sent, then read back from its status.
struct ParameterCommand {
    const char* name;
    const char* placeholder;
    const char* what;
    const char* description;
    QByteArray (LoggerCommandBuffer::*frame)(double);
    int StatusReply::*readBack;

    int run(const QStringList& arguments) const {
        const QString command = QString::fromLatin1(name);
        const QString thing = QString::fromLatin1(what);
        CommandLine line(command, QString::fromLatin1(description),
                         QStringLiteral("--port P ") + QString::fromLatin1(placeholder));
        line.parser().addOption(MeterConnection::portOption());
        line.parser().addPositionalArgument(QString::fromLatin1(placeholder),
                                            QStringLiteral("0 to 65535."));
        if (const std::optional<int> end = line.parse(arguments))
            return *end;
        const Result<double> value = parameterArgument(line.parser().positionalArguments(), thing);
        if (!value)
            return line.fail(value.failure());
        LoggerCommandBuffer commands;
        const QByteArray bytes = (commands.*frame)(*value);
        const int sent = static_cast<quint8>(bytes[1]) * 256 + static_cast<quint8>(bytes[2]);
        return runOnMeter(
            line, [&bytes](MeterConnection& meter) { meter.session().send(bytes); },
            [&](const StatusReply& reply, const MeterStamp&) -> Result<> {
                if (reply.*readBack != sent)
                    return Failure{ExitStatus::Unavailable,
                                   QStringLiteral("the meter did not take it: its %1 is still %2")
                                       .arg(thing)
                                       .arg(reply.*readBack)};
                printLine(QStringLiteral("%1: %2").arg(thing).arg(sent));
                return {};
            });
    }
};

} // namespace

int runErase(const QStringList& arguments) {
    const QString name = QStringLiteral("erase");
    CommandLine line(name,
                     QStringLiteral("Erases every set recorded in the meter's datalogger. Nothing "
                                    "is erased without --yes."),
                     QStringLiteral("--port P --yes"));
    const QCommandLineOption yesOption(
        QStringLiteral("yes"),
        QStringLiteral("Yes, delete all recorded data in the meter: it cannot be undone."));
    line.parser().addOptions({MeterConnection::portOption(), yesOption});
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    if (!line.parser().isSet(yesOption))
        return line.usageError(QStringLiteral(
            "all recorded data in the meter will be deleted: add --yes to say you mean it"));
    return runOnMeter(
        line, [](MeterConnection& meter) { meter.settings().erase(); },
        [](const StatusReply& reply, const MeterStamp&) -> Result<> {
            printLine(QStringLiteral("Sets recorded: %1").arg(reply.setCountText()));
            return {};
        });
}

int runSetClock(const QStringList& arguments) {
    const QString name = QStringLiteral("set-clock");
    CommandLine line(name,
                     QStringLiteral("Sets the meter's clock to this computer's local time, or to "
                                    "the time given."),
                     QStringLiteral("--port P [--time ISO-8601]"));
    const QCommandLineOption timeOption(
        QStringLiteral("time"),
        QStringLiteral("The time to set, such as 2026-12-06T09:45:00 (local) or with an offset "
                       "(taken to local time); years 2000 to 2099. Default: now."),
        QStringLiteral("time"));
    line.parser().addOptions({MeterConnection::portOption(), timeOption});
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    QDateTime moment = QDateTime::currentDateTime();
    if (line.parser().isSet(timeOption)) {
        const QString given = line.parser().value(timeOption);
        moment = QDateTime::fromString(given, Qt::ISODateWithMs);
        if (!moment.isValid())
            return line.usageError(
                QStringLiteral("\"%1\" is no ISO 8601 date and time").arg(given));
        moment = moment.toLocalTime();
    }
    if (moment.date().year() < firstClockYear || moment.date().year() > lastClockYear)
        return line.usageError(QStringLiteral("the meter's clock takes the years %1 to %2")
                                   .arg(firstClockYear)
                                   .arg(lastClockYear));
    return runOnMeter(
        line, [&moment](MeterConnection& meter) { meter.settings().setClockTo(moment); },
        [](const StatusReply&, const MeterStamp& clock) -> Result<> {
            printLine(QStringLiteral("Meter clock: ") + meterClockIso(clock));
            return {};
        });
}

int runSetInterval(const QStringList& arguments) {
    return ParameterCommand{"set-interval",
                            "SECONDS",
                            "interval",
                            "Sets the interval, in seconds, at which the meter records.",
                            &LoggerCommandBuffer::interval,
                            &StatusReply::intervalSeconds}
        .run(arguments);
}

int runSetId(const QStringList& arguments) {
    return ParameterCommand{"set-id",
                            "N",
                            "ID code",
                            "Sets the meter's ID code.",
                            &LoggerCommandBuffer::idCode,
                            &StatusReply::idCode}
        .run(arguments);
}
