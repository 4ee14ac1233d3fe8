#include "cli/ConvertOptions.h"

#include "cli/CommandLine.h"
#include "cli/TimeZoneText.h"
#include "logic/recording/FileFormat.h"

#include <QCommandLineParser>

ConvertOptions::ConvertOptions()
    : format_(QStringLiteral("format"),
              QStringLiteral("csv or jsonl (default: from OUT's extension)."),
              QStringLiteral("format")),
      zone_(QStringLiteral("tz"),
            QStringLiteral("The zone of the file's local times: an offset such as +01:00 or a "
                           "zone name such as Europe/Berlin (default: this machine's)."),
            QStringLiteral("zone")) {}

void ConvertOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({format_, zone_});
    parser.addPositionalArgument(QStringLiteral("IN.dat"), QStringLiteral("The data file."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write."));
}

Result<ConversionPlan> ConvertOptions::read(const QCommandLineParser& parser) const {
    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 2)
        return wrongCall(QStringLiteral("takes an input and an output file"));
    ConversionPlan plan;
    plan.input = paths[0];
    plan.output = paths[1];
    const std::optional<FileFormat> format = parser.isSet(format_)
                                                 ? parseFileFormat(parser.value(format_))
                                                 : fileFormatOfPath(plan.output);
    // A data file is what convert reads, not what it writes.
    if (!format || *format == FileFormat::Dat)
        return wrongCall(parser.isSet(format_)
                             ? QStringLiteral("unknown format \"%1\"").arg(parser.value(format_))
                             : QStringLiteral("cannot tell the format from \"%1\": use --format")
                                   .arg(plan.output));
    plan.format = *format;
    if (!parser.isSet(zone_)) {
        plan.zone = QTimeZone::systemTimeZone();
        plan.zoneName = QString::fromUtf8(plan.zone.id());
        return plan;
    }
    const std::optional<QTimeZone> zone = parseTimeZone(parser.value(zone_));
    if (!zone)
        return wrongCall(QStringLiteral("unknown time zone \"%1\"").arg(parser.value(zone_)));
    plan.zone = *zone;
    plan.zoneName = parser.value(zone_);
    return plan;
}
