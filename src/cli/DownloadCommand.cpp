#include "cli/DownloadCommand.h"

#include "cli/CommandLine.h"
#include "cli/DownloadProgress.h"
#include "cli/ErrorLine.h"
#include "cli/MeterConnection.h"
#include "device/datalogger/WholeSetDownload.h"
#include "logic/datalogger/LoggedSetExport.h"
#include "logic/recording/FileFormat.h"
#include "logic/result/ExitStatus.h"
#include "logic/text/CountText.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString name = QStringLiteral("download");
// Each copy of a full memory takes half a minute on the line.
constexpr int maxRetries = 99;

bool writeFile(const QString& path, const QByteArray& bytes, QString& reason) {
    // A device or a pipe is written as it is: a save file would be made beside it and renamed
    // over it, replacing /dev/stdout or a FIFO by a plain file.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        QFile device(path);
        if (device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
            device.write(bytes) == bytes.size())
            return true;
        reason = device.errorString();
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    reason = file.errorString();
    return false;
}

// Why a set was not written whole; empty when it was.
QString shortfallText(int set, int records, const WholeSetDownload& data) {
    switch (data.outcome) {
    case WholeSetDownload::Outcome::Whole:
        return {};
    case WholeSetDownload::Outcome::Short:
    case WholeSetDownload::Outcome::Cancelled:
        return QStringLiteral("set %1: %2 of %3 arrived")
            .arg(set)
            .arg(data.arrived)
            .arg(countText(records, QStringLiteral("record"), QStringLiteral("records")));
    case WholeSetDownload::Outcome::Damaged:
        return QStringLiteral("set %1: every copy arrived damaged (%2 asked for)")
            .arg(set)
            .arg(data.copies);
    case WholeSetDownload::Outcome::Unconfirmed:
        return QStringLiteral("set %1: no two copies agreed (%2 asked for)")
            .arg(set)
            .arg(data.copies);
    }
    return {};
}

} // namespace

int runDownload(const QStringList& arguments) {
    CommandLine line(name,
                     QStringLiteral("Downloads recorded sets from the meter's datalogger into a "
                                    "file, each record stamped with its time as the record list "
                                    "shows it. A set that arrives damaged or cut short is asked "
                                    "for again; when no copy arrives whole, the file holds only "
                                    "records known to be whole and the download ends with status "
                                    "65."),
                     QStringLiteral("--port P (--set N | --all) -o FILE [--format dat|csv|jsonl] "
                                    "[--retries N] [--verify]"));
    const QCommandLineOption setOption(
        QStringLiteral("set"), QStringLiteral("The set to download, from 1."), QStringLiteral("N"));
    const QCommandLineOption allOption(
        QStringLiteral("all"),
        QStringLiteral("Every set, one after another in set order; CSV and JSON Lines then say "
                       "the set of each record (a first \"set\" column, a \"set\" field)."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The file to write (replaced once the download ends)."),
        QStringLiteral("FILE"));
    const QCommandLineOption retriesOption(
        QStringLiteral("retries"),
        QStringLiteral("How many more times to ask for a set that arrived damaged or cut short; "
                       "only a copy that arrived whole is written. Default: 2."),
        QStringLiteral("N"));
    const QCommandLineOption verifyOption(
        QStringLiteral("verify"),
        QStringLiteral("Download each set twice and write it only when both copies agree byte "
                       "for byte (twice the time)."));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("dat (as the record list saves it), csv or jsonl; default: from FILE's "
                       "extension, else dat."),
        QStringLiteral("format"));
    line.parser().addOptions({MeterConnection::portOption(), setOption, allOption, outputOption,
                              formatOption, retriesOption, verifyOption});
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    QCommandLineParser& parser = line.parser();
    if (!parser.positionalArguments().isEmpty())
        return line.usageError(QStringLiteral("takes no arguments besides its options"));
    int status = ExitStatus::Ok;
    const std::optional<PortName> port = MeterConnection::portFrom(line, status);
    if (!port)
        return status;
    if (parser.isSet(setOption) == parser.isSet(allOption))
        return line.usageError(QStringLiteral("give either --set N or --all"));
    bool numberRead = false;
    const int chosenSet = parser.isSet(setOption) ? parser.value(setOption).toInt(&numberRead) : 0;
    if (parser.isSet(setOption) && (!numberRead || chosenSet < 1 || chosenSet > 255))
        return line.usageError(QStringLiteral("no set \"%1\": sets are numbered 1 to 255")
                                   .arg(parser.value(setOption)));
    SetCopyPolicy copies;
    copies.verify = parser.isSet(verifyOption);
    if (parser.isSet(retriesOption)) {
        bool retriesRead = false;
        copies.retries = parser.value(retriesOption).toInt(&retriesRead);
        if (!retriesRead || copies.retries < 0 || copies.retries > maxRetries)
            return line.usageError(
                QStringLiteral("invalid --retries \"%1\": give a number from 0 to %2")
                    .arg(parser.value(retriesOption))
                    .arg(maxRetries));
    }
    const QString path = parser.value(outputOption);
    if (path.isEmpty())
        return line.usageError(QStringLiteral("-o FILE is needed"));
    const std::optional<FileFormat> format = parser.isSet(formatOption)
                                                 ? parseFileFormat(parser.value(formatOption))
                                                 : fileFormatOfPath(path).value_or(FileFormat::Dat);
    if (!format)
        return line.usageError(
            QStringLiteral("unknown format \"%1\"").arg(parser.value(formatOption)));

    MeterConnection meter;
    if (const std::optional<PortFailure> failure = meter.open(*port))
        return reportPortFailure(name, *failure);
    Datalogger& session = meter.session();
    const Datalogger::StatusRead read = session.readStatus();
    if (!read.status)
        return reportNoAnswer(name, *port);
    const int setCount = read.status->setCount;
    if (setCount == 0 || chosenSet > setCount) {
        printError(setCount == 0 ? QStringLiteral("meter-logger download: the meter holds no sets")
                                 : QStringLiteral("meter-logger download: there is no set %1: the "
                                                  "meter holds %2")
                                       .arg(chosenSet)
                                       .arg(setCount));
        return ExitStatus::NoInput;
    }
    const Datalogger::DirectoryRead directory = session.readDirectory(setCount);
    if (directory.outcome != ExchangeOutcome::Done)
        return reportNoAnswer(name, *port);

    const int firstSet = chosenSet > 0 ? chosenSet : 1;
    const int lastSet = chosenSet > 0 ? chosenSet : setCount;
    int totalRecords = 0;
    for (int set = firstSet; set <= lastSet; ++set)
        totalRecords += directory.directory.recordCount(set).value_or(0);

    LoggedSetExport file(*format, chosenSet == 0);
    DownloadProgress progress(totalRecords, lastSet - firstSet + 1);
    int written = 0;
    QString shortfall;
    for (int set = firstSet; set <= lastSet && shortfall.isEmpty(); ++set) {
        const int records = directory.directory.recordCount(set).value_or(0);
        progress.startSet(written);
        const WholeSetDownload data =
            WholeSetDownload::fetch(session, meter.commands().download(set), records, copies,
                                    [&progress](const QString& text) { progress.update(text); });
        file.appendSet(set, data.data, data.listed);
        written += data.listed;
        shortfall = shortfallText(set, records, data);
    }
    progress.finish();

    QString reason;
    if (!writeFile(path, file.bytes(), reason)) {
        printError(QStringLiteral("meter-logger download: %1: %2").arg(path, reason));
        return ExitStatus::CannotCreate;
    }
    if (!shortfall.isEmpty()) {
        printError(QStringLiteral("meter-logger download: %1; %2 holds the %3 that %4")
                       .arg(shortfall, path)
                       .arg(written)
                       .arg(copies.verify ? QStringLiteral("two copies agreed on")
                                          : QStringLiteral("arrived whole")));
        return ExitStatus::DataError;
    }
    const QString what = chosenSet > 0   ? QStringLiteral("set %1").arg(chosenSet)
                         : setCount == 1 ? QStringLiteral("the one set")
                                         : QStringLiteral("all %1 sets").arg(setCount);
    printError(
        QStringLiteral("meter-logger download: %1 %2 of %3 written to %4")
            .arg(written)
            .arg(written == 1 ? QStringLiteral("record") : QStringLiteral("records"), what, path));
    return ExitStatus::Ok;
}
