#include "cli/RecordCommand.h"

#include "cli/CommandLine.h"
#include "cli/DurationText.h"
#include "cli/NetworkOptions.h"
#include "cli/RecordPlan.h"
#include "cli/RecordRun.h"
#include "cli/TerminationSignals.h"

#include <QCoreApplication>
#include <unistd.h>

int runRecord(const QStringList& arguments) {
    CommandLine line(
        QStringLiteral("record"),
        QStringLiteral(
            "Records the live readings of one or many meters, one line per reading (about one a "
            "second) stamped with this computer's clock, each line on the disk as it is written. "
            "While a meter's link is lost nothing is written for it; it is tried again until it "
            "answers. Existing files are appended to. Ends after the samples or the duration "
            "given, or on SIGINT or SIGTERM, with every file complete; SIGHUP opens every file "
            "again by its name. A meter whose file cannot be written stops with a message, the "
            "others go on, and the exit status is then 74."),
        QStringLiteral("--port P [--port P2 ...] [-o|--output FILE|DIR] [--format dat|csv|jsonl] "
                       "[--samples N | --duration 1h30m] [--mqtt URL [--ha-discovery] ...] "
                       "[--metrics ADDRESS] [--id ID ...]"));
    QCommandLineParser& parser = line.parser();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("The meter's port: COM1 to COM8 or a device path. Repeat for more meters."),
        QStringLiteral("port"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The file; {port} in it stands for the port's name (ttyUSB0, COM1), "
                       "{date} and {month} for the reading's local day (2026-12-07) or month "
                       "(2026-12), a new file at each. A folder means FOLDER/{port}.EXT "
                       "(default: {port}.EXT here)."),
        QStringLiteral("file"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("dat, csv or jsonl (default: from the file's extension, else dat)."),
        QStringLiteral("format"));
    const QCommandLineOption samplesOption(
        QStringLiteral("samples"), QStringLiteral("Stop after this many readings of each meter."),
        QStringLiteral("N"));
    const QCommandLineOption durationOption(
        QStringLiteral("duration"), QStringLiteral("Stop after this time, such as 90s or 1h30m."),
        QStringLiteral("time"));
    parser.addOptions({portOption, outputOption, formatOption, samplesOption, durationOption});
    const NetworkOptions networkOptions;
    networkOptions.addTo(parser);
    if (const std::optional<int> end = line.parse(arguments))
        return *end;

    if (!parser.positionalArguments().isEmpty())
        return line.usageError(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (parser.isSet(samplesOption) && parser.isSet(durationOption))
        return line.usageError(QStringLiteral("takes --samples or --duration, not both"));
    qint64 samples = 0;
    if (parser.isSet(samplesOption)) {
        bool number = false;
        samples = parser.value(samplesOption).toLongLong(&number);
        if (!number || samples <= 0)
            return line.usageError(QStringLiteral("--samples takes a positive whole number"));
    }
    qint64 seconds = 0;
    if (parser.isSet(durationOption)) {
        const std::optional<qint64> duration = parseDuration(parser.value(durationOption));
        if (!duration)
            return line.usageError(QStringLiteral("--duration takes a time such as 90s or 1h30m"));
        seconds = *duration;
    }
    const std::variant<RecordPlan, QString> plan = planRecording(
        parser.value(outputOption), parser.value(formatOption), parser.values(portOption));
    if (const QString* wrong = std::get_if<QString>(&plan))
        return line.usageError(*wrong);

    const std::variant<NetworkPlan, QString> network =
        networkOptions.read(parser, parser.values(portOption).size());
    if (const QString* wrong = std::get_if<QString>(&network))
        return line.usageError(*wrong);

    TerminationSignals termination(nullptr);
    RecordRun run(nullptr, std::get<RecordPlan>(plan), std::get<NetworkPlan>(network), samples,
                  seconds, ::isatty(STDERR_FILENO));
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &run,
                     &RecordRun::stop);
    QObject::connect(&termination, &TerminationSignals::reopenRequested, &run,
                     &RecordRun::reopenFiles);
    QObject::connect(&run, &RecordRun::finished, QCoreApplication::instance(),
                     &QCoreApplication::exit);
    run.start();
    return QCoreApplication::exec();
}
