// meter-logger's datalogger subcommands against meter-sim on a pseudo-terminal.
#include "SimProcess.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs meter-logger to its end, its local time in a zone that is an hour off UTC in winter.
Run meterLogger(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Berlin"));
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("METER_LOGGER"), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QJsonObject statusOf(const SimProcess& sim) {
    const Run run = meterLogger({QStringLiteral("status"), QStringLiteral("--port"),
                                 sim.devicePath(), QStringLiteral("--json")});
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class LoggerDataloggerCliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statusJsonHasTheDataloggerFields();
    void downloadedSetIsWrittenAsCsvWithRecordTimes();
    void downloadCutShortKeepsOnlyWhatArrivedWhole();
    void eraseNeedsYes();
    void setInterval_data();
    void setInterval();
};

void LoggerDataloggerCliTest::statusJsonHasTheDataloggerFields() {
    SimProcess sim;
    QVERIFY(sim.start());
    const QJsonObject status = statusOf(sim);
    QCOMPARE(status.value(QStringLiteral("id_code")).toInt(), 1234);
    QCOMPARE(status.value(QStringLiteral("sets")).toInt(), 3);
    // Three sets of 12, 1 and 30 records: 10 bytes a set and 4 a record.
    QCOMPARE(status.value(QStringLiteral("memory_used_bytes")).toInt(), 202);
    QCOMPARE(status.value(QStringLiteral("memory_remaining_bytes")).toInt(), 32566);
    QCOMPARE(status.value(QStringLiteral("interval_seconds")).toInt(), 2);
    // The meter's clock starts as the computer's.
    const QDateTime clock =
        QDateTime::fromString(status.value(QStringLiteral("clock")).toString(), Qt::ISODate);
    QVERIFY(clock.isValid());
    QVERIFY(qAbs(clock.secsTo(QDateTime::currentDateTime())) < 300);
}

void LoggerDataloggerCliTest::downloadedSetIsWrittenAsCsvWithRecordTimes() {
    SimProcess sim;
    QVERIFY(sim.start());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set1.csv"));
    const Run run =
        meterLogger({QStringLiteral("download"), QStringLiteral("--port"), sim.devicePath(),
                     QStringLiteral("--set"), QStringLiteral("1"), QStringLiteral("-o"), path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QStringLiteral("meter-logger download: 12 records of set 1 written to ") +
                          path + QLatin1Char('\n'));
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    QCOMPARE(lines.size(), 14);
    // Every 30 s from 31 January 23:58:30, over midnight into February; the last two with a
    // low battery.
    const struct {
        int line;
        const char* text;
    } expected[] = {
        {0, "time,relative_humidity_percent,humidity_status,temperature,temperature_unit,"
            "temperature_status,battery_low\r"},
        {1, "2024-01-31T23:58:30+01:00,81.0,ok,-1.6,C,ok,0\r"},
        {4, "2024-02-01T00:00:00+01:00,79.8,ok,-0.7,C,ok,0\r"},
        {12, "2024-02-01T00:04:00+01:00,76.6,ok,1.7,C,ok,1\r"},
    };
    for (const auto& row : expected)
        QCOMPARE(lines[row.line], QByteArray(row.text));
}

void LoggerDataloggerCliTest::downloadCutShortKeepsOnlyWhatArrivedWhole() {
    SimProcess sim;
    // One set in the whole memory, sent at the line's true speed: some 34 s.
    QVERIFY(
        sim.start({QStringLiteral("erase"), QStringLiteral("fill"), QStringLiteral("pace on")}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.dat"));
    QProcess process;
    process.start(qEnvironmentVariable("METER_LOGGER"),
                  {QStringLiteral("download"), QStringLiteral("--port"), sim.devicePath(),
                   QStringLiteral("--all"), QStringLiteral("-o"), path});
    QVERIFY(process.waitForStarted());
    QTest::qWait(1500);
    sim.control(QStringLiteral("silent on"));
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 65);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    const QRegularExpressionMatch arrived =
        QRegularExpression(QStringLiteral(": (\\d+) of 8189 records arrived;")).match(err);
    QVERIFY2(arrived.hasMatch(), qPrintable(err));
    const int records = arrived.captured(1).toInt();
    QVERIFY(records < 8189);
    QCOMPARE(err, QStringLiteral("meter-logger download: set 1: %1 of 8189 records arrived; %2 "
                                 "holds the %1 that arrived whole\n")
                      .arg(records)
                      .arg(path));
    const QByteArray bytes = fileBytes(path);
    QCOMPARE(bytes.count("\r\n"), records);
    if (records > 0)
        QVERIFY(bytes.startsWith("\"1\t"));
}

void LoggerDataloggerCliTest::eraseNeedsYes() {
    SimProcess sim;
    QVERIFY(sim.start());
    const Run refused =
        meterLogger({QStringLiteral("erase"), QStringLiteral("--port"), sim.devicePath()});
    QCOMPARE(refused.exitCode, 64);
    QCOMPARE(refused.err,
             QStringLiteral("meter-logger erase: all recorded data in the meter will be deleted: "
                            "add --yes to say you mean it\n"
                            "usage: meter-logger erase --port P --yes (--help for more)\n"));
    QCOMPARE(statusOf(sim).value(QStringLiteral("sets")).toInt(), 3);

    const Run erased = meterLogger({QStringLiteral("erase"), QStringLiteral("--port"),
                                    sim.devicePath(), QStringLiteral("--yes")});
    QCOMPARE(erased.exitCode, 0);
    QCOMPARE(erased.out, QStringLiteral("Sets recorded: 0\n"));
    QCOMPARE(statusOf(sim).value(QStringLiteral("sets")).toInt(), 0);
}

void LoggerDataloggerCliTest::setInterval_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("interval");
    const QString refused =
        QStringLiteral("meter-logger set-interval: invalid interval \"%1\": give a number from 0 "
                       "to 65535, the meter takes no other\n"
                       "usage: meter-logger set-interval --port P SECONDS (--help for more)\n");
    QTest::newRow("in range") << QStringLiteral("60") << 0 << QStringLiteral("interval: 60\n")
                              << 60;
    QTest::newRow("above 65535") << QStringLiteral("65536") << 64
                                 << refused.arg(QStringLiteral("65536")) << 2;
    QTest::newRow("below 0") << QStringLiteral("-1") << 64 << refused.arg(QStringLiteral("-1"))
                             << 2;
    QTest::newRow("no number") << QStringLiteral("ten") << 64 << refused.arg(QStringLiteral("ten"))
                               << 2;
}

void LoggerDataloggerCliTest::setInterval() {
    QFETCH(QString, given);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(int, interval);
    SimProcess sim;
    QVERIFY(sim.start());
    const Run run = meterLogger({QStringLiteral("set-interval"), QStringLiteral("--port"),
                                 sim.devicePath(), QStringLiteral("--"), given});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(exitCode == 0 ? run.out : run.err, said);
    QCOMPARE(statusOf(sim).value(QStringLiteral("interval_seconds")).toInt(), interval);
}

QTEST_GUILESS_MAIN(LoggerDataloggerCliTest)
#include "logger_datalogger_cli_test.moc"
