#include "cli/StatusCommand.h"

#include "cli/CommandLine.h"
#include "cli/MeterConnection.h"
#include "cli/MeterStatusText.h"
#include "logic/result/ExitStatus.h"

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
    const bool json = line.parser().isSet(jsonOption);
    return runOnMeter(line, {},
                      [json](const StatusReply& status, const MeterStamp& clock) -> Result<> {
                          const QByteArray text = json ? meterStatusJson(status, clock)
                                                       : meterStatusText(status, clock);
                          std::fwrite(text.constData(), 1, text.size(), stdout);
                          return {};
                      });
}
