// meter-logger convert as a user runs it: the zone given, what is left out and said, the status.
#include "TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class LoggerConvertTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void converts_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<QByteArray>("converted");
        const QByteArray header = "time,relative_humidity_percent,humidity_status,temperature,"
                                  "temperature_unit,temperature_status,battery_low\r\n";
        QTest::newRow("an offset behind UTC")
            << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\r\n")
            << QStringList{"--tz", "-05:30"} << "out.csv" << 0 << ""
            << header + "2026-12-06T09:45:07-05:30,45.6,ok,23.1,C,ok,0\r\n";
        QTest::newRow("clock changes in a named zone")
            << QByteArray(" 1\t10-25-2026\t02:59:59\t45.6\t23.1\tC\r\n"
                          " 2\t10-25-2026\t02:00:00\t45.6\t23.1\tC\r\n"
                          " 3\t03-29-2026\t02:30:00\t45.6\t23.1\tC\r\n")
            << QStringList{"--tz", "Europe/Berlin", "--format", "jsonl"} << "out.txt" << 0
            << "{in}:3: a time the clock skips in Europe/Berlin, left out\n"
               "meter-logger convert: 2 readings written, 1 line left out\n"
            << QByteArray(R"({"time":"2026-10-25T02:59:59+02:00","relative_humidity_percent":45.6,)"
                          R"("humidity_status":"ok","temperature":23.1,"temperature_unit":"C",)"
                          R"("temperature_status":"ok","battery_low":false,"dew_point":10.7})"
                          "\n"
                          R"({"time":"2026-10-25T02:00:00+01:00","relative_humidity_percent":45.6,)"
                          R"("humidity_status":"ok","temperature":23.1,"temperature_unit":"C",)"
                          R"("temperature_status":"ok","battery_low":false,"dew_point":10.7})"
                          "\n");
        QTest::newRow("lines that are no reading")
            << QByteArray("hello\r\n 1\t12-06-2026\t09:45:07\t45\t23.1\tC\r\nworld\r\n")
            << QStringList{"--tz", "UTC"} << "out.csv" << 0
            << "{in}:1: not a reading, left out\n"
               "{in}:3: not a reading, left out\n"
               "meter-logger convert: 1 reading written, 2 lines left out\n"
            << header + "2026-12-06T09:45:07+00:00,45.0,ok,23.1,C,ok,0\r\n";
        QTest::newRow("an output that cannot be created")
            << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\r\n") << QStringList{}
            << "none/out.csv" << 73
            << "meter-logger convert: {dir}/none/out.csv: No such file or directory\n"
            << QByteArray();
        QTest::newRow("an unknown zone")
            << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\r\n")
            << QStringList{"--tz", "+1"} << "out.csv" << 64
            << "meter-logger convert: unknown time zone \"+1\"\n"
               "usage: meter-logger convert IN.dat OUT.csv|OUT.jsonl [--format csv|jsonl] [--tz "
               "ZONE] (--help for more)\n"
            << QByteArray();
    }
    void converts() {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QString, errors);
        QFETCH(QByteArray, converted);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.dat"));
        QVERIFY(writeFile(in, input));
        QProcess logger;
        logger.start(qEnvironmentVariable("METER_LOGGER"),
                     QStringList{QStringLiteral("convert"), in, dir.filePath(output)} + options);
        QVERIFY(logger.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(logger.readAllStandardError()),
                 QString(errors)
                     .replace(QStringLiteral("{in}"), in)
                     .replace(QStringLiteral("{dir}"), dir.path()));
        QCOMPARE(logger.exitCode(), status);
        QCOMPARE(QFileInfo::exists(dir.filePath(output)), !converted.isEmpty());
        if (!converted.isEmpty())
            QCOMPARE(readFile(dir.filePath(output)), converted);
    }
};

QTEST_GUILESS_MAIN(LoggerConvertTest)
#include "cli_convert_test.moc"
