#include "cli/DownloadOptions.h"

#include "cli/CommandLine.h"
#include "cli/MeterConnection.h"

#include <QCommandLineParser>

DownloadOptions::DownloadOptions()
    : set_(QStringLiteral("set"), QStringLiteral("The set to download, from 1."),
           QStringLiteral("N")),
      all_(QStringLiteral("all"),
           QStringLiteral("Every set, one after another in set order; CSV and JSON Lines then say "
                          "the set of each record (a first \"set\" column, a \"set\" field).")),
      output_({QStringLiteral("o"), QStringLiteral("output")},
              QStringLiteral("The file to write (replaced once the download ends)."),
              QStringLiteral("FILE")),
      retries_(QStringLiteral("retries"),
               QStringLiteral("How many more times to ask for a set that arrived damaged or cut "
                              "short; only a copy that arrived whole is written. Default: 2."),
               QStringLiteral("N")),
      verify_(QStringLiteral("verify"),
              QStringLiteral("Download each set twice and write it only when both copies agree "
                             "byte for byte (twice the time).")),
      format_(QStringLiteral("format"),
              QStringLiteral("dat (as the record list saves it), csv or jsonl; default: from "
                             "FILE's extension, else dat."),
              QStringLiteral("format")) {}

void DownloadOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions(
        {MeterConnection::portOption(), set_, all_, output_, format_, retries_, verify_});
}

Result<DownloadPlan> DownloadOptions::read(const QCommandLineParser& parser) const {
    if (!parser.positionalArguments().isEmpty())
        return wrongCall(QStringLiteral("takes no arguments besides its options"));
    DownloadPlan plan;
    const Result<PortName> port = MeterConnection::portFrom(parser);
    if (!port)
        return port.failure();
    plan.port = *port;
    if (parser.isSet(set_) == parser.isSet(all_))
        return wrongCall(QStringLiteral("give either --set N or --all"));
    if (parser.isSet(set_)) {
        bool numberRead = false;
        plan.set = parser.value(set_).toInt(&numberRead);
        if (!numberRead || plan.set < 1 || plan.set > 255)
            return wrongCall(QStringLiteral("no set \"%1\": sets are numbered 1 to 255")
                                 .arg(parser.value(set_)));
    }
    plan.copies.verify = parser.isSet(verify_);
    if (parser.isSet(retries_)) {
        bool retriesRead = false;
        plan.copies.retries = parser.value(retries_).toInt(&retriesRead);
        if (!retriesRead || plan.copies.retries < 0 || plan.copies.retries > MaxRetries)
            return wrongCall(QStringLiteral("invalid --retries \"%1\": give a number from 0 to %2")
                                 .arg(parser.value(retries_))
                                 .arg(MaxRetries));
    }
    plan.path = parser.value(output_);
    if (plan.path.isEmpty())
        return wrongCall(QStringLiteral("-o FILE is needed"));
    const std::optional<FileFormat> format =
        parser.isSet(format_) ? parseFileFormat(parser.value(format_))
                              : fileFormatOfPath(plan.path).value_or(FileFormat::Dat);
    if (!format)
        return wrongCall(QStringLiteral("unknown format \"%1\"").arg(parser.value(format_)));
    plan.format = *format;
    return plan;
}
