// meter-logger's datalogger subcommands against meter-sim on a pseudo-terminal.
#include "SimProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    void helpAllIsTheHelp();
    void downloadedSetIsWrittenAsCsvWithRecordTimes();
    void downloadCutShortKeepsOnlyWhatArrivedWhole();
    void damagedSetIsAskedForAgain_data();
    void damagedSetIsAskedForAgain();
    void downloadIntoAPipe();
    void downloadOfASetTheMeterLacks_data();
    void downloadOfASetTheMeterLacks();
    void eraseNeedsYes();
    void setInterval_data();
    void setInterval();
    void settingTheMeterDidNotTake_data();
    void settingTheMeterDidNotTake();
    void setClockTakesTheOffsetGiven_data();
    void setClockTakesTheOffsetGiven();
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

// Qt's --help-all would list Qt's own options, which mean nothing to meter-logger.
void LoggerDataloggerCliTest::helpAllIsTheHelp() {
    const Run help = meterLogger({QStringLiteral("status"), QStringLiteral("--help")});
    const Run helpAll = meterLogger({QStringLiteral("status"), QStringLiteral("--help-all")});
    QCOMPARE(helpAll.exitCode, 0);
    QCOMPARE(helpAll.out, help.out);
    QVERIFY(help.out.startsWith(QStringLiteral("usage: meter-logger status --port P [--json]\n")));
    QVERIFY(help.out.contains(QStringLiteral("-h, --help ")));
    QVERIFY(!help.out.contains(QStringLiteral("--help-all")));
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

void LoggerDataloggerCliTest::damagedSetIsAskedForAgain_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // %1: the file
    const QString written =
        QStringLiteral("meter-logger download: 30 records of set 3 written to %1\n");
    const QString damaged =
        QStringLiteral("meter-logger download: set 3: every copy arrived damaged (%1 asked for); "
                       "%2 holds the 0 that arrived whole\n");
    const QStringList verify{QStringLiteral("--verify")};
    const QStringList noRetries{QStringLiteral("--retries"), QStringLiteral("0")};
    // Set 3 is 130 bytes: the status, clock and directory replies before it pass whole.
    QTest::newRow("damaged once") << QStringLiteral("slip 40") << QStringList() << 0 << written;
    QTest::newRow("damaged as often as asked")
        << QStringLiteral("slip 40 3") << QStringList() << 65
        << damaged.arg(QStringLiteral("3"), QStringLiteral("%1"));
    QTest::newRow("no retries") << QStringLiteral("slip 40") << noRetries << 65
                                << damaged.arg(QStringLiteral("1"), QStringLiteral("%1"));
    QTest::newRow("verified") << QStringLiteral("slip 40") << verify << 0 << written;
    QTest::newRow("one whole copy is not verified")
        << QStringLiteral("slip 40") << verify + noRetries << 65
        << QStringLiteral("meter-logger download: set 3: no two copies agreed (2 asked for); %1 "
                          "holds the 0 that two copies agreed on\n");
}

// A byte lost in the middle of a set puts every later record out of step: only a copy that
// arrived whole is written, the same as a download over a sound line.
void LoggerDataloggerCliTest::damagedSetIsAskedForAgain() {
    QFETCH(QString, fault);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    SimProcess sim;
    QVERIFY(sim.start({fault}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set3.dat"));
    const QStringList download{QStringLiteral("download"), QStringLiteral("--port"),
                               sim.devicePath(),           QStringLiteral("--set"),
                               QStringLiteral("3"),        QStringLiteral("-o")};
    const Run run = meterLogger(download + QStringList{path} + options);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err, said.arg(path));
    const QString soundPath = dir.filePath(QStringLiteral("sound.dat"));
    QCOMPARE(meterLogger(download + QStringList{soundPath}).exitCode, 0);
    QCOMPARE(fileBytes(path), exitCode == 0 ? fileBytes(soundPath) : QByteArray());
}

// A pipe (or a device such as /dev/stdout) is written into, not replaced by a plain file.
void LoggerDataloggerCliTest::downloadIntoAPipe() {
    SimProcess sim;
    QVERIFY(sim.start());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    const Run run =
        meterLogger({QStringLiteral("download"), QStringLiteral("--port"), sim.devicePath(),
                     QStringLiteral("--set"), QStringLiteral("2"), QStringLiteral("-o"), path,
                     QStringLiteral("--format"), QStringLiteral("csv")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!QFileInfo(path).isFile());
    QByteArray bytes(4096, '\0');
    const ssize_t got = ::read(reader, bytes.data(), bytes.size());
    ::close(reader);
    QVERIFY(got > 0);
    QCOMPARE(bytes.left(got).split('\n').value(1),
             QByteArray("2024-02-10T12:00:00+01:00,45.2,ok,21.3,C,ok,0\r"));
}

void LoggerDataloggerCliTest::downloadOfASetTheMeterLacks_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("said");
    QTest::newRow("set 4 of 3") << QString() << QStringLiteral("4")
                                << QStringLiteral("meter-logger download: there is no set 4: the "
                                                  "meter holds 3\n");
    QTest::newRow("memory erased") << QStringLiteral("erase") << QStringLiteral("1")
                                   << QStringLiteral("meter-logger download: the meter holds no "
                                                     "sets\n");
}

void LoggerDataloggerCliTest::downloadOfASetTheMeterLacks() {
    QFETCH(QString, control);
    QFETCH(QString, set);
    QFETCH(QString, said);
    SimProcess sim;
    QVERIFY(sim.start({control}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.csv"));
    const Run run =
        meterLogger({QStringLiteral("download"), QStringLiteral("--port"), sim.devicePath(),
                     QStringLiteral("--set"), set, QStringLiteral("-o"), path});
    QCOMPARE(run.exitCode, 66);
    QCOMPARE(run.err, said);
    QVERIFY(!QFile::exists(path));
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

// The meter loses the setting's frame on the line but answers its status: the setting is read
// back, and a meter that did not take it is said to be unavailable.
void LoggerDataloggerCliTest::settingTheMeterDidNotTake_data() {
    QTest::addColumn<QString>("subcommand");
    QTest::addColumn<QString>("said");
    QTest::newRow("interval") << QStringLiteral("set-interval")
                              << QStringLiteral("meter-logger set-interval: the meter did not "
                                                "take it: its interval is still 2\n");
    QTest::newRow("ID code") << QStringLiteral("set-id")
                             << QStringLiteral("meter-logger set-id: the meter did not take it: "
                                               "its ID code is still 1234\n");
}

void LoggerDataloggerCliTest::settingTheMeterDidNotTake() {
    QFETCH(QString, subcommand);
    QFETCH(QString, said);
    SimProcess sim;
    // The setting's frame: its letter and six bytes.
    QVERIFY(sim.start({QStringLiteral("deaf 7")}));
    const Run run =
        meterLogger({subcommand, QStringLiteral("--port"), sim.devicePath(), QStringLiteral("60")});
    QCOMPARE(run.exitCode, 69);
    QCOMPARE(run.err, said);
    QCOMPARE(run.out, QString());
}

// meter-logger runs in Berlin, an hour ahead of UTC in December: the meter keeps local time.
void LoggerDataloggerCliTest::setClockTakesTheOffsetGiven_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("meterTime");
    QTest::newRow("local") << QStringLiteral("2026-12-06T09:45:00")
                           << QStringLiteral("2026-12-06T09:45:00");
    QTest::newRow("two hours east")
        << QStringLiteral("2026-12-06T09:45:00+02:00") << QStringLiteral("2026-12-06T08:45:00");
    QTest::newRow("UTC") << QStringLiteral("2026-12-06T09:45:00Z")
                         << QStringLiteral("2026-12-06T10:45:00");
    QTest::newRow("west, into the next day")
        << QStringLiteral("2026-12-06T20:30:00-05:00") << QStringLiteral("2026-12-07T02:30:00");
}

void LoggerDataloggerCliTest::setClockTakesTheOffsetGiven() {
    QFETCH(QString, given);
    QFETCH(QString, meterTime);
    SimProcess sim;
    QVERIFY(sim.start());
    const Run run = meterLogger({QStringLiteral("set-clock"), QStringLiteral("--port"),
                                 sim.devicePath(), QStringLiteral("--time"), given});
    QCOMPARE(run.exitCode, 0);
    // The clock read back is said in ISO form, and runs on from the time set.
    QVERIFY2(run.out.startsWith(QStringLiteral("Meter clock: ")), qPrintable(run.out));
    const QDateTime said = QDateTime::fromString(run.out.mid(13).trimmed(), Qt::ISODate);
    const qint64 saidSince = QDateTime::fromString(meterTime, Qt::ISODate).secsTo(said);
    QVERIFY2(said.isValid() && saidSince >= 0 && saidSince < 10, qPrintable(run.out));
    const QString clock = statusOf(sim).value(QStringLiteral("clock")).toString();
    const qint64 since = QDateTime::fromString(meterTime, Qt::ISODate)
                             .secsTo(QDateTime::fromString(clock.left(19), Qt::ISODate));
    QVERIFY2(since >= 0 && since < 10, qPrintable(clock));
}

QTEST_GUILESS_MAIN(LoggerDataloggerCliTest)
#include "cli_datalogger_test.moc"
