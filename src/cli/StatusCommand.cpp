#include "cli/StatusCommand.h"

#include "cli/CommandLine.h"
#include "cli/MeterConnection.h"
#include "cli/MeterStatusText.h"

#include <cstdio>

int runStatus(const QStringList& arguments) {
    const QString name = QStringLiteral("status");
    CommandLine line(name,
                     QStringLiteral("Shows the meter's datalogger: its ID code, the sets recorded, "
                                    "the memory used and remaining, the recording interval and "
                                    "the meter's clock."),
                     QStringLiteral("--port P [--json]"));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"), QStringLiteral("One JSON object on standard output instead."));
    line.parser().addOptions({MeterConnection::portOption(), jsonOption});
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    if (!line.parser().positionalArguments().isEmpty())
        return line.usageError(QStringLiteral("takes no arguments besides its options"));
    int status = ExitStatus::Ok;
    const std::optional<PortName> port = MeterConnection::portFrom(line, status);
    if (!port)
        return status;

    MeterConnection meter;
    if (const std::optional<PortFailure> failure = meter.open(*port))
        return reportPortFailure(name, *failure);
    const LoggerSession::StatusRead read = meter.session().readStatus();
    if (!read.answered())
        return reportNoAnswer(name, *port);
    const QByteArray text = line.parser().isSet(jsonOption)
                                ? meterStatusJson(*read.status, *read.clock)
                                : meterStatusText(*read.status, *read.clock);
    std::fwrite(text.constData(), 1, text.size(), stdout);
    return ExitStatus::Ok;
}
