#include "cli/RecordOptions.h"

#include "cli/CommandLine.h"
#include "cli/DurationText.h"

#include <QCommandLineParser>

RecordOptions::RecordOptions()
    : port_(QStringLiteral("port"),
            QStringLiteral("The meter's port: COM1 to COM8 or a device path. Repeat for more "
                           "meters."),
            QStringLiteral("port")),
      output_({QStringLiteral("o"), QStringLiteral("output")},
              QStringLiteral("The file; {port} in it stands for the port's name (ttyUSB0, COM1), "
                             "{date} and {month} for the reading's local day (2026-12-07) or "
                             "month (2026-12), a new file at each. A folder means "
                             "FOLDER/{port}.EXT (default: {port}.EXT here)."),
              QStringLiteral("file")),
      format_(QStringLiteral("format"),
              QStringLiteral("dat, csv or jsonl (default: from the file's extension, else dat)."),
              QStringLiteral("format")),
      dewPoint_(QStringLiteral("dew-point"),
                QStringLiteral("Ends each CSV line with the dew (frost) point, in a column of its "
                               "own (JSON Lines and MQTT always carry it).")),
      unit_(QStringLiteral("temperature-unit"),
            QStringLiteral("C or F: the files and MQTT give temperatures in this unit, whatever "
                           "the meter shows (default: meter, as the meter shows them)."),
            QStringLiteral("unit")),
      samples_(QStringLiteral("samples"),
               QStringLiteral("Stop after this many readings of each meter."), QStringLiteral("N")),
      duration_(QStringLiteral("duration"),
                QStringLiteral("Stop after this time, such as 90s or 1h30m."),
                QStringLiteral("time")) {}

void RecordOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({port_, output_, format_, dewPoint_, unit_, samples_, duration_});
    network_.addTo(parser);
}

Result<RecordPlan> RecordOptions::read(const QCommandLineParser& parser) const {
    if (!parser.positionalArguments().isEmpty())
        return wrongCall(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (parser.isSet(samples_) && parser.isSet(duration_))
        return wrongCall(QStringLiteral("takes --samples or --duration, not both"));
    qint64 samples = 0;
    if (parser.isSet(samples_)) {
        bool number = false;
        samples = parser.value(samples_).toLongLong(&number);
        if (!number || samples <= 0)
            return wrongCall(QStringLiteral("--samples takes a positive whole number"));
    }
    qint64 seconds = 0;
    if (parser.isSet(duration_)) {
        const std::optional<qint64> duration = parseDuration(parser.value(duration_));
        if (!duration)
            return wrongCall(QStringLiteral("--duration takes a time such as 90s or 1h30m"));
        seconds = *duration;
    }
    const QStringList ports = parser.values(port_);
    Result<RecordPlan> plan = planRecording(parser.value(output_), parser.value(format_), ports);
    if (!plan)
        return plan;
    RecordingOptions& options = plan.value().options;
    if (parser.isSet(dewPoint_)) {
        if (plan->format != FileFormat::Csv)
            return wrongCall(QStringLiteral("--dew-point adds a column to CSV files (JSON Lines "
                                            "always has the dew point)"));
        options.dewPoint = DewPointColumn::With;
    }
    if (parser.isSet(unit_)) {
        const std::optional<TemperatureUnit> unit = parseTemperatureUnit(parser.value(unit_));
        if (!unit)
            return wrongCall(QStringLiteral("--temperature-unit takes C, F or meter"));
        options.unit = *unit;
    }
    Result<NetworkPlan> network = network_.read(parser, ports.size());
    if (!network)
        return network.failure();
    RecordPlan& recording = plan.value();
    recording.samples = samples;
    recording.seconds = seconds;
    recording.network = std::move(network).value();
    return plan;
}
