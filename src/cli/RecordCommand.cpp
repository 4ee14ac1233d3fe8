#include "cli/RecordCommand.h"

#include "cli/CommandLine.h"
#include "cli/RecordOptions.h"
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
        QStringLiteral(
            "--port P [--port P2 ...] [-o|--output FILE|DIR] [--format dat|csv|jsonl] "
            "[--dew-point] [--temperature-unit C|F|meter] [--samples N | --duration 1h30m] "
            "[--mqtt URL [--ha-discovery] ...] "
            "[--metrics ADDRESS] [--id ID ...]"));
    const RecordOptions options;
    options.addTo(line.parser());
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    const Result<RecordPlan> plan = options.read(line.parser());
    if (!plan)
        return line.fail(plan.failure());

    TerminationSignals termination(nullptr);
    RecordRun run(nullptr, *plan, ::isatty(STDERR_FILENO));
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &run,
                     &RecordRun::stop);
    QObject::connect(&termination, &TerminationSignals::reopenRequested, &run,
                     &RecordRun::reopenFiles);
    QObject::connect(&run, &RecordRun::finished, QCoreApplication::instance(),
                     &QCoreApplication::exit);
    run.start();
    return QCoreApplication::exec();
}
