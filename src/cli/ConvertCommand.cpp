#include "cli/ConvertCommand.h"

#include "cli/CommandLine.h"
#include "cli/ErrorLine.h"
#include "cli/TimeZoneText.h"
#include "logic/recording/DataFileConverter.h"
#include "logic/recording/FileFormat.h"
#include "logic/result/ExitStatus.h"
#include "logic/text/CountText.h"

#include <QFileInfo>

namespace {

std::optional<ExportFormat> exportFormatOf(std::optional<FileFormat> format) {
    if (format == FileFormat::Csv)
        return ExportFormat::Csv;
    if (format == FileFormat::JsonLines)
        return ExportFormat::JsonLines;
    return std::nullopt;
}

} // namespace

int runConvert(const QStringList& arguments) {
    CommandLine line(QStringLiteral("convert"),
                     QStringLiteral("Converts a data file (a recording, or a set saved from the "
                                    "record list or by download) to CSV or JSON Lines. A line that "
                                    "is no reading, or whose time the zone's clock skips, is "
                                    "reported by its number and left out."),
                     QStringLiteral("IN.dat OUT.csv|OUT.jsonl [--format csv|jsonl] [--tz ZONE]"));
    QCommandLineParser& parser = line.parser();
    const QCommandLineOption formatOption(
        QStringLiteral("format"), QStringLiteral("csv or jsonl (default: from OUT's extension)."),
        QStringLiteral("format"));
    const QCommandLineOption zoneOption(
        QStringLiteral("tz"),
        QStringLiteral("The zone of the file's local times: an offset such as +01:00 or a zone "
                       "name such as Europe/Berlin (default: this machine's)."),
        QStringLiteral("zone"));
    parser.addOptions({formatOption, zoneOption});
    parser.addPositionalArgument(QStringLiteral("IN.dat"), QStringLiteral("The data file."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write."));
    if (const std::optional<int> end = line.parse(arguments))
        return *end;

    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 2)
        return line.usageError(QStringLiteral("takes an input and an output file"));
    std::optional<ExportFormat> format =
        exportFormatOf(parser.isSet(formatOption) ? parseFileFormat(parser.value(formatOption))
                                                  : fileFormatOfPath(paths[1]));
    if (!format)
        return line.usageError(
            parser.isSet(formatOption)
                ? QStringLiteral("unknown format \"%1\"").arg(parser.value(formatOption))
                : QStringLiteral("cannot tell the format from \"%1\": use --format").arg(paths[1]));
    std::optional<QTimeZone> zone = QTimeZone::systemTimeZone();
    if (parser.isSet(zoneOption) && !(zone = parseTimeZone(parser.value(zoneOption))))
        return line.usageError(
            QStringLiteral("unknown time zone \"%1\"").arg(parser.value(zoneOption)));
    if (!QFileInfo(paths[0]).isFile()) {
        printError(QStringLiteral("meter-logger convert: %1: no such file").arg(paths[0]));
        return ExitStatus::NoInput;
    }

    const QString zoneName =
        parser.isSet(zoneOption) ? parser.value(zoneOption) : QString::fromUtf8(zone->id());
    const ConversionResult result =
        convertDataFile(paths[0], paths[1], *format, *zone, [&](qint64 number, SkippedLine why) {
            const QString reason =
                why == SkippedLine::NotAReading
                    ? QStringLiteral("not a reading")
                    : QStringLiteral("a time the clock skips in %1").arg(zoneName);
            printError(QStringLiteral("%1:%2: %3, left out").arg(paths[0]).arg(number).arg(reason));
        });
    if (!result.error.isEmpty()) {
        printError(QStringLiteral("meter-logger convert: ") + result.error);
        return ExitStatus::CannotCreate;
    }
    if (result.linesSkipped > 0)
        printError(QStringLiteral("meter-logger convert: %1 written, %2 left out")
                       .arg(countText(result.rowsWritten, QStringLiteral("reading"),
                                      QStringLiteral("readings")),
                            countText(result.linesSkipped, QStringLiteral("line"),
                                      QStringLiteral("lines"))));
    return ExitStatus::Ok;
}
