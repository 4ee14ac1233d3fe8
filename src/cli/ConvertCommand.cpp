#include "cli/ConvertCommand.h"

#include "cli/CommandLine.h"
#include "cli/ConvertOptions.h"
#include "cli/ErrorLine.h"
#include "logic/result/ExitStatus.h"
#include "logic/text/CountText.h"

#include <QFileInfo>

namespace {

// The plan's file converted, each line left out told as it comes; what to tell at the end (empty:
// nothing).
Result<QString> convert(const ConversionPlan& plan) {
    if (!QFileInfo(plan.input).isFile())
        return Failure{ExitStatus::NoInput, QStringLiteral("%1: no such file").arg(plan.input)};
    const ConversionResult result = convertDataFile(
        plan.input, plan.output, plan.format, plan.zone, [&plan](qint64 number, SkippedLine why) {
            const QString reason =
                why == SkippedLine::NotAReading
                    ? QStringLiteral("not a reading")
                    : QStringLiteral("a time the clock skips in %1").arg(plan.zoneName);
            printError(
                QStringLiteral("%1:%2: %3, left out").arg(plan.input).arg(number).arg(reason));
        });
    if (!result.error.isEmpty())
        return Failure{ExitStatus::CannotCreate, result.error};
    if (result.linesSkipped == 0)
        return QString();
    return QStringLiteral("%1 written, %2 left out")
        .arg(countText(result.rowsWritten, QStringLiteral("reading"), QStringLiteral("readings")),
             countText(result.linesSkipped, QStringLiteral("line"), QStringLiteral("lines")));
}

} // namespace

int runConvert(const QStringList& arguments) {
    CommandLine line(QStringLiteral("convert"),
                     QStringLiteral("Converts a data file (a recording, or a set saved from the "
                                    "record list or by download) to CSV or JSON Lines. A line that "
                                    "is no reading, or whose time the zone's clock skips, is "
                                    "reported by its number and left out."),
                     QStringLiteral("IN.dat OUT.csv|OUT.jsonl [--format csv|jsonl] [--tz ZONE]"));
    const ConvertOptions options;
    options.addTo(line.parser());
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    const Result<ConversionPlan> plan = options.read(line.parser());
    if (!plan)
        return line.fail(plan.failure());
    return line.exitStatusOf(convert(*plan));
}
