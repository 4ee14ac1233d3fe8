#include "cli/DownloadCommand.h"

#include "cli/CommandLine.h"
#include "cli/DownloadProgress.h"
#include "cli/MeterConnection.h"
#include "cli/SetExport.h"

#include <QSaveFile>

namespace {

const QString name = QStringLiteral("download");

bool writeFile(const QString& path, const QByteArray& bytes, QString& reason) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    reason = file.errorString();
    return false;
}

} // namespace

int runDownload(const QStringList& arguments) {
    CommandLine line(name,
                     QStringLiteral("Downloads recorded sets from the meter's datalogger into a "
                                    "file, each record stamped with its time as the record list "
                                    "shows it. A download cut short leaves the file with the "
                                    "records that arrived whole and ends with status 65."),
                     QStringLiteral("--port P (--set N | --all) -o FILE [--format dat|csv|jsonl]"));
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
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("dat (as the record list saves it), csv or jsonl; default: from FILE's "
                       "extension, else dat."),
        QStringLiteral("format"));
    line.parser().addOptions(
        {MeterConnection::portOption(), setOption, allOption, outputOption, formatOption});
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
    LoggerSession& session = meter.session();
    const LoggerSession::StatusRead read = session.readStatus();
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
    const LoggerSession::DirectoryRead directory = session.readDirectory(setCount);
    if (directory.outcome != ExchangeOutcome::Done)
        return reportNoAnswer(name, *port);

    const int firstSet = chosenSet > 0 ? chosenSet : 1;
    const int lastSet = chosenSet > 0 ? chosenSet : setCount;
    int totalRecords = 0;
    for (int set = firstSet; set <= lastSet; ++set)
        totalRecords += directory.directory.recordCount(set).value_or(0);

    SetExport file(*format, chosenSet == 0);
    DownloadProgress progress(totalRecords, lastSet - firstSet + 1);
    int written = 0;
    QString shortfall;
    for (int set = firstSet; set <= lastSet && shortfall.isEmpty(); ++set) {
        const int records = directory.directory.recordCount(set).value_or(0);
        progress.startSet(written);
        const LoggerSession::SetRead data =
            session.downloadSet(meter.commands().download(set), records, true,
                                [&progress](const QString& text) { progress.update(text); });
        file.appendSet(set, data.data, data.check.listed);
        written += data.check.listed;
        if (data.check.listed < records || data.check.damaged)
            shortfall = QStringLiteral("set %1: %2 of %3 records arrived")
                            .arg(set)
                            .arg(data.check.listed)
                            .arg(records);
    }
    progress.finish();

    QString reason;
    if (!writeFile(path, file.bytes(), reason)) {
        printError(QStringLiteral("meter-logger download: %1: %2").arg(path, reason));
        return ExitStatus::CannotCreate;
    }
    if (!shortfall.isEmpty()) {
        printError(QStringLiteral("meter-logger download: %1; %2 holds the %3 that arrived whole")
                       .arg(shortfall, path)
                       .arg(written));
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
