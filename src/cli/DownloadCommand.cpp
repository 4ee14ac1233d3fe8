#include "cli/DownloadCommand.h"

#include "cli/CommandLine.h"
#include "cli/DownloadOptions.h"
#include "cli/DownloadProgress.h"
#include "cli/MeterConnection.h"
#include "logic/datalogger/LoggedSetExport.h"
#include "logic/result/ExitStatus.h"
#include "logic/text/CountText.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

Result<> writeFile(const QString& path, const QByteArray& bytes) {
    const auto cannotCreate = [&path](const QFileDevice& file) {
        return Failure{ExitStatus::CannotCreate,
                       QStringLiteral("%1: %2").arg(path, file.errorString())};
    };
    // A device or a pipe is written as it is: a save file would be made beside it and renamed
    // over it, replacing /dev/stdout or a FIFO by a plain file.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        QFile device(path);
        if (device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
            device.write(bytes) == bytes.size())
            return {};
        return cannotCreate(device);
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return cannotCreate(file);
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

// The plan's sets from the meter into its file; what was written, as the user reads it.
Result<QString> download(const DownloadPlan& plan) {
    MeterConnection meter;
    if (const Result<> opened = meter.open(plan.port); !opened)
        return opened.failure();
    Datalogger& session = meter.session();
    const Datalogger::StatusRead read = session.readStatus();
    if (!read.status)
        return noAnswerFrom(plan.port);
    const int setCount = read.status->setCount;
    if (setCount == 0)
        return Failure{ExitStatus::NoInput, QStringLiteral("the meter holds no sets")};
    if (plan.set > setCount)
        return Failure{
            ExitStatus::NoInput,
            QStringLiteral("there is no set %1: the meter holds %2").arg(plan.set).arg(setCount)};
    const Datalogger::DirectoryRead directory = session.readDirectory(setCount);
    if (directory.outcome != ExchangeOutcome::Done)
        return noAnswerFrom(plan.port);

    const int firstSet = plan.set > 0 ? plan.set : 1;
    const int lastSet = plan.set > 0 ? plan.set : setCount;
    int totalRecords = 0;
    for (int set = firstSet; set <= lastSet; ++set)
        totalRecords += directory.directory.recordCount(set).value_or(0);

    LoggedSetExport file(plan.format, plan.set == 0);
    DownloadProgress progress(totalRecords, lastSet - firstSet + 1);
    int written = 0;
    QString shortfall;
    for (int set = firstSet; set <= lastSet && shortfall.isEmpty(); ++set) {
        const int records = directory.directory.recordCount(set).value_or(0);
        progress.startSet(written);
        const WholeSetDownload data =
            WholeSetDownload::fetch(session, meter.commands().download(set), records, plan.copies,
                                    [&progress](const QString& text) { progress.update(text); });
        file.appendSet(set, data.data, data.listed);
        written += data.listed;
        shortfall = shortfallText(set, records, data);
    }
    progress.finish();

    if (const Result<> saved = writeFile(plan.path, file.bytes()); !saved)
        return saved.failure();
    if (!shortfall.isEmpty())
        return Failure{ExitStatus::DataError,
                       QStringLiteral("%1; %2 holds the %3 that %4")
                           .arg(shortfall, plan.path)
                           .arg(written)
                           .arg(plan.copies.verify ? QStringLiteral("two copies agreed on")
                                                   : QStringLiteral("arrived whole"))};
    const QString what = plan.set > 0    ? QStringLiteral("set %1").arg(plan.set)
                         : setCount == 1 ? QStringLiteral("the one set")
                                         : QStringLiteral("all %1 sets").arg(setCount);
    return QStringLiteral("%1 %2 of %3 written to %4")
        .arg(written)
        .arg(written == 1 ? QStringLiteral("record") : QStringLiteral("records"), what, plan.path);
}

} // namespace

int runDownload(const QStringList& arguments) {
    CommandLine line(QStringLiteral("download"),
                     QStringLiteral("Downloads recorded sets from the meter's datalogger into a "
                                    "file, each record stamped with its time as the record list "
                                    "shows it. A set that arrives damaged or cut short is asked "
                                    "for again; when no copy arrives whole, the file holds only "
                                    "records known to be whole and the download ends with status "
                                    "65."),
                     QStringLiteral("--port P (--set N | --all) -o FILE [--format dat|csv|jsonl] "
                                    "[--retries N] [--verify]"));
    const DownloadOptions options;
    options.addTo(line.parser());
    if (const std::optional<int> end = line.parse(arguments))
        return *end;
    const Result<DownloadPlan> plan = options.read(line.parser());
    if (!plan)
        return line.fail(plan.failure());
    return line.exitStatusOf(download(*plan));
}
