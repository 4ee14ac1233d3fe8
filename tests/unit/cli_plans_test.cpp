// meter-logger's command lines read into the plans its subcommands run: what each call asks
// for, or why it is a wrong call, and in which order the wrongs are found.
#include "cli/ConvertOptions.h"
#include "cli/DownloadOptions.h"
#include "cli/RecordOptions.h"

#include <QCommandLineParser>
#include <QTest>

namespace {

QString formatName(FileFormat format) {
    switch (format) {
    case FileFormat::Dat:
        return QStringLiteral("dat");
    case FileFormat::Csv:
        return QStringLiteral("csv");
    case FileFormat::JsonLines:
        return QStringLiteral("jsonl");
    }
    return QStringLiteral("?");
}

// The failure as "STATUS: message".
QString failureText(const Failure& failure) {
    return QStringLiteral("%1: %2").arg(failure.exitStatus).arg(failure.message);
}

// The options read from the arguments (without the subcommand's name): the plan's summary, or
// the failure.
template <typename Options, typename Summary>
QString readPlan(const QStringList& arguments, const Summary& summary) {
    QCommandLineParser parser;
    const Options options;
    options.addTo(parser);
    if (!parser.parse(QStringList{QStringLiteral("meter-logger")} + arguments))
        return parser.errorText();
    const auto plan = options.read(parser);
    return plan ? summary(*plan) : failureText(plan.failure());
}

QString downloadSummary(const DownloadPlan& plan) {
    return QStringLiteral("%1 %2, retries %3%4, %5 to %6")
        .arg(plan.port.given,
             plan.set > 0 ? QStringLiteral("set %1").arg(plan.set) : QStringLiteral("all sets"))
        .arg(plan.copies.retries)
        .arg(plan.copies.verify ? QStringLiteral(" verified") : QString(), formatName(plan.format),
             plan.path);
}

QString recordSummary(const RecordPlan& plan) {
    QStringList targets;
    for (const RecordTarget& target : plan.targets)
        targets << target.port.given + QStringLiteral(">") + target.path;
    return QStringLiteral("%1 %2, samples %3, seconds %4, mqtt %5, ids %6")
        .arg(formatName(plan.format), targets.join(QLatin1Char(' ')))
        .arg(plan.samples)
        .arg(plan.seconds)
        .arg(plan.network.mqtt ? plan.network.mqtt->connection.broker.host : QStringLiteral("-"),
             plan.network.meterIds.join(QLatin1Char(',')));
}

QString conversionSummary(const ConversionPlan& plan) {
    const QDateTime winterNoon(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
    return QStringLiteral("%1>%2 %3, zone %4 (%5 s)")
        .arg(plan.input, plan.output,
             plan.format == FileFormat::Csv ? QStringLiteral("csv") : QStringLiteral("jsonl"),
             plan.zoneName)
        .arg(plan.zone.offsetFromUtc(winterNoon));
}

} // namespace

class CliPlansTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void download_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const QStringList& arguments, const char* outcome) {
            QTest::newRow(name) << arguments << QString::fromUtf8(outcome);
        };
        row("one set", {"--port", "COM1", "--set", "2", "-o", "out.csv"},
            "COM1 set 2, retries 2, csv to out.csv");
        row("every set, verified", {"--port", "COM2", "--all", "--verify", "-o", "x.jsonl"},
            "COM2 all sets, retries 2 verified, jsonl to x.jsonl");
        row("the last set, the most retries",
            {"--port", "COM1", "--set", "255", "--retries", "99", "-o", "x.dat"},
            "COM1 set 255, retries 99, dat to x.dat");
        row("no retries", {"--port", "COM1", "--all", "--retries", "0", "-o", "x.dat"},
            "COM1 all sets, retries 0, dat to x.dat");
        row("format over extension",
            {"--port", "COM1", "--all", "--format", "jsonl", "-o", "x.csv"},
            "COM1 all sets, retries 2, jsonl to x.csv");
        row("an extension of no format", {"--port", "COM1", "--all", "-o", "x.txt"},
            "COM1 all sets, retries 2, dat to x.txt");
        row("an argument", {"--port", "COM1", "--all", "-o", "x.dat", "more"},
            "64: takes no arguments besides its options");
        row("no port", {"--all", "-o", "x.dat"}, "64: --port is needed");
        row("no port name", {"--port", "ttyUSB0", "--all", "-o", "x.dat"},
            "64: \"ttyUSB0\" is no port: give COM1 to COM8 or a device path");
        row("a port before the sets", {"--port", "COM9"},
            "64: \"COM9\" is no port: give COM1 to COM8 or a device path");
        row("neither set nor all", {"--port", "COM1", "-o", "x.dat"},
            "64: give either --set N or --all");
        row("both set and all", {"--port", "COM1", "--set", "1", "--all", "-o", "x.dat"},
            "64: give either --set N or --all");
        row("set 0", {"--port", "COM1", "--set", "0", "-o", "x.dat"},
            "64: no set \"0\": sets are numbered 1 to 255");
        row("set 256", {"--port", "COM1", "--set", "256", "-o", "x.dat"},
            "64: no set \"256\": sets are numbered 1 to 255");
        row("set of no number", {"--port", "COM1", "--set", "two", "-o", "x.dat"},
            "64: no set \"two\": sets are numbered 1 to 255");
        row("retries below 0", {"--port", "COM1", "--all", "--retries", "-1", "-o", "x.dat"},
            "64: invalid --retries \"-1\": give a number from 0 to 99");
        row("retries over 99", {"--port", "COM1", "--all", "--retries", "100", "-o", "x.dat"},
            "64: invalid --retries \"100\": give a number from 0 to 99");
        row("the sets before the file", {"--port", "COM1", "--set", "0"},
            "64: no set \"0\": sets are numbered 1 to 255");
        row("no file", {"--port", "COM1", "--all"}, "64: -o FILE is needed");
        row("unknown format", {"--port", "COM1", "--all", "--format", "xls", "-o", "x.dat"},
            "64: unknown format \"xls\"");
    }
    void download() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        QCOMPARE(readPlan<DownloadOptions>(arguments, downloadSummary), outcome);
    }

    // How record names its files: -o, --format and the ports.
    void recordFiles_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("ports");
        QTest::addColumn<QString>("files");
        const auto row = [](const char* name, const char* output, const char* format,
                            const char* ports, const char* files) {
            QTest::newRow(name) << QString::fromUtf8(output) << QString::fromUtf8(format)
                                << QString::fromUtf8(ports) << QString::fromUtf8(files);
        };
        row("default", "", "", "COM1", "dat COM1.dat");
        row("default, csv", "", "csv", "COM1,COM2", "csv COM1.csv COM2.csv");
        row("named", "hall.csv", "", "/dev/ttyUSB0", "csv hall.csv");
        row("format over extension", "hall.csv", "jsonl", "COM1", "jsonl hall.csv");
        row("an extension of no format", "hall.txt", "", "COM1", "dat hall.txt");
        row("pattern", "logs/{port}.jsonl", "", "COM2,/dev/ttyUSB1",
            "jsonl logs/COM2.jsonl logs/ttyUSB1.jsonl");
        row("a folder", "logs/", "", "COM1,COM2", "dat logs/COM1.dat logs/COM2.dat");
        row("a folder, csv", "logs/", "csv", "COM1", "csv logs/COM1.csv");
        row("one base name twice", "{port}.csv", "", "/dev/a/ttyUSB0,/dev/b/ttyUSB0",
            "64: two ports would write to ttyUSB0.csv");
        row("dated pattern", "logs/{port}-{date}.csv", "", "COM2,/dev/ttyUSB1",
            "csv logs/COM2-{date}.csv logs/ttyUSB1-{date}.csv");
        row("one base name twice, dated", "{month}-{port}.csv", "", "/dev/a/ttyUSB0,/dev/b/ttyUSB0",
            "64: two ports would write to {month}-ttyUSB0.csv");
        row("dated folder", "logs/{month}/{port}.csv", "", "COM1",
            "64: {date} and {month} go in the file's name, not in its folder");
        row("dated, one file for two", "{date}.csv", "", "COM1,COM2",
            "64: several ports need {port} or a folder in --output");
        row("one file for two", "out.csv", "", "COM1,COM2",
            "64: several ports need {port} or a folder in --output");
        row("no port", "out.csv", "", "nonsense",
            "64: \"nonsense\" is no port: COM1 to COM8 or a device path");
        row("unknown format", "out.csv", "xls", "COM1", "64: unknown format \"xls\"");
    }
    void recordFiles() {
        QFETCH(QString, output);
        QFETCH(QString, ports);
        QFETCH(QString, files);
        QFETCH(QString, format);
        const Result<RecordPlan> plan =
            planRecording(output, format, ports.split(QLatin1Char(',')));
        if (!plan) {
            QCOMPARE(failureText(plan.failure()), files);
            return;
        }
        QStringList paths;
        for (const RecordTarget& target : plan->targets)
            paths << target.path;
        QCOMPARE(formatName(plan->format) + QLatin1Char(' ') + paths.join(QLatin1Char(' ')), files);
    }

    void record_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const QStringList& arguments, const char* outcome) {
            QTest::newRow(name) << arguments << QString::fromUtf8(outcome);
        };
        row("defaults", {"--port", "COM1"},
            "dat COM1>COM1.dat, samples 0, seconds 0, mqtt -, ids ");
        row("samples", {"--port", "COM1", "--samples", "10", "-o", "a.csv"},
            "csv COM1>a.csv, samples 10, seconds 0, mqtt -, ids ");
        row("duration", {"--port", "COM1", "--port", "/dev/ttyUSB0", "--duration", "1h30m"},
            "dat COM1>COM1.dat /dev/ttyUSB0>ttyUSB0.dat, samples 0, seconds 5400, mqtt -, ids ");
        row("network", {"--port", "COM1", "--mqtt", "mqtt://broker", "--id", "hall"},
            "dat COM1>COM1.dat, samples 0, seconds 0, mqtt broker, ids hall");
        row("an argument", {"--port", "COM1", "COM2"}, "64: unexpected argument \"COM2\"");
        row("samples and duration", {"--port", "COM1", "--samples", "1", "--duration", "1s"},
            "64: takes --samples or --duration, not both");
        row("no samples", {"--port", "COM1", "--samples", "0"},
            "64: --samples takes a positive whole number");
        row("samples of no number", {"--port", "COM1", "--samples", "ten"},
            "64: --samples takes a positive whole number");
        row("the samples before the ports", {"--samples", "-3"},
            "64: --samples takes a positive whole number");
        row("a duration without unit", {"--port", "COM1", "--duration", "90"},
            "64: --duration takes a time such as 90s or 1h30m");
        row("the duration before the ports", {"--duration", "0s"},
            "64: --duration takes a time such as 90s or 1h30m");
        row("no port", {"--samples", "5"}, "64: needs a --port");
        row("unknown format", {"--port", "COM1", "--format", "xls"}, "64: unknown format \"xls\"");
        row("the files before the network", {"--port", "x", "--id", "a"},
            "64: \"x\" is no port: COM1 to COM8 or a device path");
        row("the network's wrong call", {"--port", "COM1", "--id", "a"},
            "64: --id needs --mqtt, --http or --metrics");
    }
    void record() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        QCOMPARE(readPlan<RecordOptions>(arguments, recordSummary), outcome);
    }

    void convert_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const QStringList& arguments, const char* outcome) {
            QTest::newRow(name) << arguments << QString::fromUtf8(outcome);
        };
        row("csv, this machine's zone", {"in.dat", "out.csv"},
            "in.dat>out.csv csv, zone Europe/Berlin (3600 s)");
        row("JSON Lines", {"in.dat", "out.jsonl"},
            "in.dat>out.jsonl jsonl, zone Europe/Berlin (3600 s)");
        row("format over extension", {"in.dat", "out.txt", "--format", "jsonl"},
            "in.dat>out.txt jsonl, zone Europe/Berlin (3600 s)");
        row("an offset behind", {"in.dat", "out.csv", "--tz", "-05:30"},
            "in.dat>out.csv csv, zone -05:30 (-19800 s)");
        row("a zone by name", {"in.dat", "out.csv", "--tz", "America/New_York"},
            "in.dat>out.csv csv, zone America/New_York (-18000 s)");
        row("one file", {"in.dat"}, "64: takes an input and an output file");
        row("three files", {"a.dat", "b.csv", "c.csv"}, "64: takes an input and an output file");
        row("no format from the name", {"in.dat", "out.txt"},
            "64: cannot tell the format from \"out.txt\": use --format");
        row("into a data file", {"in.dat", "out.dat"},
            "64: cannot tell the format from \"out.dat\": use --format");
        row("dat is no format to convert to", {"in.dat", "out.csv", "--format", "dat"},
            "64: unknown format \"dat\"");
        row("unknown zone", {"in.dat", "out.csv", "--tz", "Mars/Base"},
            "64: unknown time zone \"Mars/Base\"");
        row("the format before the zone", {"in.dat", "out.txt", "--tz", "Mars/Base"},
            "64: cannot tell the format from \"out.txt\": use --format");
    }
    void convert() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        qputenv("TZ", "Europe/Berlin");
        QCOMPARE(readPlan<ConvertOptions>(arguments, conversionSummary), outcome);
    }
};

QTEST_GUILESS_MAIN(CliPlansTest)
#include "cli_plans_test.moc"
