// meter-logger's pure parts: the zones --tz takes, the files record will append to, a set's
// times in this machine's zone, the status texts.
#include "cli/CommandLine.h"
#include "cli/MeterStatusText.h"
#include "cli/ReadingFile.h"
#include "cli/SetExport.h"
#include "logger/SetDownload.h"

#include <QTest>

class LoggerCliLogicTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The offset from UTC on a winter's day; 1 for a zone refused.
    void timeZones_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::newRow("ahead") << "+01:00" << 3600;
        QTest::newRow("behind, half hour") << "-05:30" << -19800;
        QTest::newRow("furthest ahead") << "+14:00" << 50400;
        QTest::newRow("UTC") << "UTC" << 0;
        QTest::newRow("Z") << "Z" << 0;
        QTest::newRow("name") << "Europe/Berlin" << 3600;
        QTest::newRow("hours over") << "+15:00" << 1;
        QTest::newRow("minutes over") << "+01:60" << 1;
        QTest::newRow("no sign") << "01:00" << 1;
        QTest::newRow("no such zone") << "Europe/Atlantis" << 1;
        QTest::newRow("empty") << "" << 1;
    }
    void timeZones() {
        QFETCH(QString, text);
        QFETCH(int, offset);
        const std::optional<QTimeZone> zone = parseTimeZone(text);
        QCOMPARE(zone ? zone->offsetFromUtc(QDateTime(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC))
                      : 1,
                 offset);
    }

    void appendsOnlyToItsOwnShape_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("wanted");
        const QByteArray header = "time,relative_humidity_percent,humidity_status,temperature,"
                                  "temperature_unit,temperature_status,battery_low";
        const QByteArray json =
            R"({"time":"2026-12-06T09:45:07+01:00","relative_humidity_percent":45.6,)"
            R"("humidity_status":"ok","temperature":23.1,"temperature_unit":"C",)"
            R"("temperature_status":"ok","battery_low":false})";
        const QString csvWanted = "the CSV header record writes";
        const QString jsonWanted = "a reading with the JSON fields record writes";
        const QString datWanted = "a reading in the data file's form";
        QTest::newRow("empty") << "csv" << QByteArray() << "";
        QTest::newRow("csv") << "csv" << header + "\r\n2026-12-06T09:45:07+01:00,45.6"
                             << "";
        QTest::newRow("csv header alone, LF") << "csv" << header + "\n"
                                              << "";
        QTest::newRow("csv of download --all")
            << "csv"
            << "set," + header + "\r\n1,2026-12-06T09:45:07+01:00" << csvWanted;
        QTest::newRow("dat into csv")
            << "csv" << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\r\n") << csvWanted;
        QTest::newRow("csv cut in its header") << "csv" << header.left(20) << csvWanted;
        QTest::newRow("jsonl") << "jsonl" << json + "\n{\"ti"
                               << "";
        QTest::newRow("jsonl of download --all") << "jsonl"
                                                 << "{\"set\":1," + json.mid(1) + "\n"
                                                 << jsonWanted;
        QTest::newRow("csv into jsonl") << "jsonl" << header + "\r\n" << jsonWanted;
        QTest::newRow("dat, recorded")
            << "dat" << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\r\n") << "";
        QTest::newRow("dat, saved")
            << "dat" << QByteArray("\"1\t03-08-31\t23:59:59\t5.6\t1.0\tC\t\"\r\n") << "";
        QTest::newRow("csv into dat") << "dat" << header + "\r\n" << datWanted;
    }
    void appendsOnlyToItsOwnShape() {
        QFETCH(QString, format);
        QFETCH(QByteArray, head);
        QFETCH(QString, wanted);
        QCOMPARE(appendMismatch(*parseFileFormat(format), head).value_or(QString()), wanted);
    }

    // A set through the night the clock goes forward: the meter's clock keeps no summer time, so
    // its record in the hour this machine's clock skips is kept.
    void aSetAcrossTheSkippedHour() {
        qputenv("TZ", "Europe/Berlin");
        SetExport csv(FileFormat::Csv, false);
        // Header: 26-03-29 01:59:00, interval 3600 s; three records of 45.6 %, 23.1 C.
        csv.appendSet(
            1,
            SetDownload(QByteArray::fromHex("260329015900 0e10 0000 02310456 02310456 02310456")),
            3);
        QCOMPARE(csv.bytes(), QByteArray("time,relative_humidity_percent,humidity_status,"
                                         "temperature,temperature_unit,temperature_status,"
                                         "battery_low\r\n"
                                         "2026-03-29T01:59:00+01:00,45.6,ok,23.1,C,ok,0\r\n"
                                         "2026-03-29T02:59:00+01:00,45.6,ok,23.1,C,ok,0\r\n"
                                         "2026-03-29T03:59:00+02:00,45.6,ok,23.1,C,ok,0\r\n"));
    }

    void statusText() {
        StatusReply status;
        status.idCode = 1234;
        status.setCount = 3;
        status.usedBytes = 202;
        status.intervalSeconds = 2;
        const MeterStamp clock{26, 12, 7, 5, 47, 13};
        QCOMPARE(meterStatusText(status, clock), QByteArray("ID code: 1234\n"
                                                            "Sets recorded: 3\n"
                                                            "Memory: 32 K, 202 bytes used, 31.8 K "
                                                            "remaining\n"
                                                            "Interval: 2 sec\n"
                                                            "Meter clock: 2026-12-07T05:47:13\n"));
        QCOMPARE(meterStatusJson(status, clock),
                 QByteArray(R"({"clock":"2026-12-07T05:47:13","id_code":1234,)"
                            R"("interval_seconds":2,"memory_remaining_bytes":32566,)"
                            R"("memory_used_bytes":202,"sets":3})"
                            "\n"));
    }
};

QTEST_GUILESS_MAIN(LoggerCliLogicTest)
#include "logger_cli_logic_test.moc"
