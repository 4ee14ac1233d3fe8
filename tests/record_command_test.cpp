#include "FakeClock.h"
#include "cli/CommandLine.h"
#include "cli/RecordPlan.h"
#include "cli/RunDeadline.h"

#include <QSignalSpy>
#include <QTest>

// meter-logger record's own rules, without a meter: durations, the files the readings go to,
// and the end of a long run.
class RecordCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void durations_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("seconds") << "90s" << qint64(90);
        QTest::newRow("an hour") << "1h" << qint64(3600);
        QTest::newRow("hours and minutes") << "1h30m" << qint64(5400);
        QTest::newRow("spaced") << " 1h 30m " << qint64(5400);
        QTest::newRow("days") << "2d" << qint64(172800);
        QTest::newRow("past an int of ms") << "49d17h2m52s" << qint64(4294972);
        QTest::newRow("zero") << "0s" << qint64(-1);
        QTest::newRow("no unit") << "90" << qint64(-1);
        QTest::newRow("unknown unit") << "3w" << qint64(-1);
        QTest::newRow("negative") << "-1h" << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
    }
    void durations() {
        QFETCH(QString, text);
        QFETCH(qint64, seconds);
        QCOMPARE(parseDuration(text).value_or(-1), seconds);
    }

    void files_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("ports");
        QTest::addColumn<QString>("files");
        QTest::newRow("default") << ""
                                 << "COM1"
                                 << "COM1.dat";
        QTest::newRow("named") << "hall.csv"
                               << "/dev/ttyUSB0"
                               << "hall.csv";
        QTest::newRow("pattern") << "logs/{port}.jsonl"
                                 << "COM2,/dev/ttyUSB1"
                                 << "logs/COM2.jsonl logs/ttyUSB1.jsonl";
        QTest::newRow("one base name twice") << "{port}.csv"
                                             << "/dev/a/ttyUSB0,/dev/b/ttyUSB0"
                                             << "two ports would write to ttyUSB0.csv";
        QTest::newRow("one file for two") << "out.csv"
                                          << "COM1,COM2"
                                          << "several ports need {port} or a folder in --output";
        QTest::newRow("no port") << "out.csv"
                                 << "nonsense"
                                 << "\"nonsense\" is no port: COM1 to COM8 or a device path";
    }
    void files() {
        QFETCH(QString, output);
        QFETCH(QString, ports);
        QFETCH(QString, files);
        const std::variant<RecordPlan, QString> plan =
            planRecording(output, QString(), ports.split(QLatin1Char(',')));
        if (const QString* wrong = std::get_if<QString>(&plan)) {
            QCOMPARE(*wrong, files);
            return;
        }
        QStringList paths;
        for (const RecordTarget& target : std::get<RecordPlan>(plan).targets)
            paths << target.path;
        QCOMPARE(paths.join(QLatin1Char(' ')), files);
    }

    // A duration longer than a timer can hold ends at its time, not before and not never.
    void longDurationsEndAtTheirTime_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("5 s") << qint64(5);
        QTest::newRow("25 days") << qint64(25 * 86400);
        QTest::newRow("just past an int of ms") << qint64(4294972);
        QTest::newRow("50 days") << qint64(50 * 86400);
    }
    void longDurationsEndAtTheirTime() {
        QFETCH(qint64, seconds);
        FakeClock clock;
        RunDeadline deadline(nullptr, clock, seconds, std::chrono::milliseconds(5));
        QSignalSpy reached(&deadline, &RunDeadline::reached);
        deadline.start();
        QTest::qWait(40);
        QCOMPARE(reached.count(), 0);
        clock.advanceMilliseconds(seconds * 1000 - 1000);
        QTest::qWait(40);
        QCOMPARE(reached.count(), 0);
        clock.advanceMilliseconds(1000);
        QTRY_COMPARE_WITH_TIMEOUT(reached.count(), 1, 2000);
    }
};

QTEST_GUILESS_MAIN(RecordCommandTest)
#include "record_command_test.moc"
