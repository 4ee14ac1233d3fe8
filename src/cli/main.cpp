#include "cli/ConvertCommand.h"
#include "cli/DownloadCommand.h"
#include "cli/ErrorLine.h"
#include "cli/RecordCommand.h"
#include "cli/SettingsCommands.h"
#include "cli/StatusCommand.h"
#include "logic/result/ExitStatus.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

struct Subcommand {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments);
};

constexpr Subcommand subcommands[] = {
    {"record", "the live readings of one or many meters into files", runRecord},
    {"status", "the meter's datalogger: ID code, sets, memory, interval, clock", runStatus},
    {"download", "recorded sets from the meter into a file", runDownload},
    {"erase", "every set recorded in the meter", runErase},
    {"set-clock", "the meter's clock to this computer's or a given time", runSetClock},
    {"set-interval", "the meter's recording interval", runSetInterval},
    {"set-id", "the meter's ID code", runSetId},
    {"convert", "a data file to CSV or JSON Lines", runConvert},
};

void printUsage(std::FILE* to) {
    std::fputs("usage: meter-logger SUBCOMMAND [OPTIONS]\n\nSubcommands:\n", to);
    for (const Subcommand& subcommand : subcommands)
        std::fprintf(to, "  %-13s %s\n", subcommand.name, subcommand.summary);
    std::fputs("\nmeter-logger SUBCOMMAND --help tells more.\n", to);
}

} // namespace

int main(int argc, char* argv[]) {
    // Qt's own event loop, not GLib's: a meter's thread then wakes, and locks, less for each
    // reading, and nothing here needs GLib's sources.
    qputenv("QT_NO_GLIB", "1");
    // The system's zone read once, at the start: with TZ unset, every time stamped looks at
    // /etc/localtime again, under a lock the meters' threads all queue for. A changed system zone
    // therefore takes a restart.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("meter-logger"));
    QCoreApplication::setApplicationVersion(QStringLiteral(METER_VERSION));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printUsage(stderr);
        return ExitStatus::Usage;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return ExitStatus::Ok;
    }
    if (name == QLatin1String("--version")) {
        std::printf("meter-logger %s\n", METER_VERSION);
        return ExitStatus::Ok;
    }
    for (const Subcommand& subcommand : subcommands)
        if (name == QLatin1String(subcommand.name))
            return subcommand.run(arguments);
    printError(QStringLiteral("meter-logger: unknown subcommand \"%1\"").arg(name));
    printUsage(stderr);
    return ExitStatus::Usage;
}
