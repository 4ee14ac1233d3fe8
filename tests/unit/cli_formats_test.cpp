// meter-logger's pure parts: the zones --tz takes, the files record will append to and switch
// to, downloaded sets as files, the status texts and what record tells of its meters.
#include "TestFiles.h"
#include "cli/MeterStatusText.h"
#include "cli/RecordStatus.h"
#include "cli/TimeZoneText.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggedSetExport.h"
#include "logic/link/LiveReading.h"
#include "logic/recording/DatedReadingFile.h"
#include "logic/recording/ReadingFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

QDateTime utc(const QString& text) {
    return QDateTime::fromString(text, Qt::ISODate).toLocalTime();
}

LiveReading aReading() {
    LiveReading reading;
    reading.HumidityText = QStringLiteral("45.6");
    reading.TemperatureText = QStringLiteral("23.1");
    reading.TempUnit = QStringLiteral("C");
    return reading;
}

// Each file of the folder with the first field of each of its lines: "a.csv: time 2026-...".
QString filesAndFirstFields(const QDir& folder) {
    QStringList files;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        QStringList fields{name + QLatin1Char(':')};
        for (const QByteArray& line : readFile(folder.filePath(name)).split('\n')) {
            if (line.isEmpty())
                continue;
            if (name.endsWith(QStringLiteral(".jsonl")))
                fields << QJsonDocument::fromJson(line).object().value("time").toString();
            else
                fields << QString::fromLatin1(
                    line.split(name.contains(".dat") ? '\t' : ',').first().trimmed());
        }
        files << fields.join(QLatin1Char(' '));
    }
    return files.join(QStringLiteral(" | "));
}

// Why it failed, or nothing when done: compared with nothing, a failure shows its message.
QString failureText(const Result<>& done) {
    return done ? QString() : done.failure().message;
}

} // namespace

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

    // With the dew point column a CSV file's header must name it, and without it must not; a
    // JSON Lines file from before the dew point is appended to.
    void appendsWithTheDewPointColumn_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("wanted");
        const QByteArray header = "time,relative_humidity_percent,humidity_status,temperature,"
                                  "temperature_unit,temperature_status,battery_low";
        QTest::newRow("csv without it") << "csv" << header + "\r\n"
                                        << "the CSV header record --dew-point writes";
        QTest::newRow("csv with it") << "csv" << header + ",dew_point\r\n"
                                     << "";
        QTest::newRow("jsonl with it")
            << "jsonl"
            << QByteArray(R"({"time":"2026-12-06T09:45:07+01:00","relative_humidity_percent":)"
                          R"(45.6,"humidity_status":"ok","temperature":23.1,"temperature_unit":)"
                          R"("C","temperature_status":"ok","battery_low":false,"dew_point":10.7})")
            << "";
    }
    void appendsWithTheDewPointColumn() {
        QFETCH(QString, format);
        QFETCH(QByteArray, head);
        QFETCH(QString, wanted);
        QCOMPARE(appendMismatch(*parseFileFormat(format), head, DewPointColumn::With)
                     .value_or(QString()),
                 wanted);
    }

    // A °C meter's reading in each format, written in °F, the CSV with the dew point column.
    void writtenInFahrenheit_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("dat") << "m.dat"
                             << QByteArray(" 1\t12-07-2026\t11:00:00\t45.6\t73.6\tF\r\n");
        QTest::newRow("csv") << "m.csv"
                             << QByteArray(
                                    "time,relative_humidity_percent,humidity_status,"
                                    "temperature,temperature_unit,temperature_status,"
                                    "battery_low,dew_point\r\n"
                                    "2026-12-07T11:00:00+01:00,45.6,ok,73.6,F,ok,0,51.3\r\n");
        QTest::newRow("jsonl") << "m.jsonl"
                               << QByteArray(R"({"time":"2026-12-07T11:00:00+01:00",)"
                                             R"("relative_humidity_percent":45.6,)"
                                             R"("humidity_status":"ok","temperature":73.6,)"
                                             R"("temperature_unit":"F","temperature_status":)"
                                             R"("ok","battery_low":false,"dew_point":51.3})"
                                             "\n");
    }
    void writtenInFahrenheit() {
        QFETCH(QString, name);
        QFETCH(QByteArray, written);
        qputenv("TZ", "Europe/Berlin");
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const FileFormat format = *fileFormatOfPath(name);
        DatedReadingFile file(format, path,
                              RecordingOptions{format == FileFormat::Csv ? DewPointColumn::With
                                                                         : DewPointColumn::Without,
                                               TemperatureUnit::Fahrenheit});
        QCOMPARE(failureText(file.open(utc("2026-12-07T10:00:00Z"))), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:00Z"), aReading())), QString());
        file.close();
        QCOMPARE(readFile(path), written);
    }

    // Which file a reading goes to, by its own time on this machine's clock.
    void filePathByTime_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("takenAt");
        QTest::addColumn<QString>("path");
        QTest::newRow("winter evening") << "l/ttyUSB0-{date}.csv"
                                        << "2026-12-07T22:59:59Z"
                                        << "l/ttyUSB0-2026-12-07.csv";
        QTest::newRow("winter midnight") << "l/ttyUSB0-{date}.csv"
                                         << "2026-12-07T23:00:00Z"
                                         << "l/ttyUSB0-2026-12-08.csv";
        QTest::newRow("summer midnight") << "{date}"
                                         << "2026-07-01T22:00:00Z"
                                         << "2026-07-02";
        QTest::newRow("month's last second") << "{month}.csv"
                                             << "2026-11-30T22:59:59Z"
                                             << "2026-11.csv";
        QTest::newRow("new year") << "{month}.csv"
                                  << "2026-12-31T23:00:00Z"
                                  << "2027-01.csv";
        QTest::newRow("both, twice") << "{month}_{date}-{date}"
                                     << "2026-03-29T01:00:00Z"
                                     << "2026-03_2026-03-29-2026-03-29";
        QTest::newRow("no field") << "ttyUSB0.csv"
                                  << "2026-12-07T23:00:00Z"
                                  << "ttyUSB0.csv";
    }
    void filePathByTime() {
        QFETCH(QString, pattern);
        QFETCH(QString, takenAt);
        QFETCH(QString, path);
        qputenv("TZ", "Europe/Berlin");
        QCOMPARE(filePathAt(pattern, utc(takenAt)), path);
    }

    // Readings written in their order through nights that switch files: each lands in its own
    // day's file, whole and once; each new CSV file has its header, each .dat file numbers from 1.
    void filesSwitchAtLocalMidnight_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("files");
        const QStringList winterMidnight{"2026-12-07T22:59:58Z", "2026-12-07T22:59:59Z",
                                         "2026-12-07T23:00:00Z", "2026-12-07T23:00:01Z"};
        QTest::newRow("CSV, midnight")
            << "{date}.csv" << winterMidnight
            << "2026-12-07.csv: time 2026-12-07T23:59:58+01:00 2026-12-07T23:59:59+01:00 | "
               "2026-12-08.csv: time 2026-12-08T00:00:00+01:00 2026-12-08T00:00:01+01:00";
        QTest::newRow(".dat, midnight")
            << "m-{date}.dat" << winterMidnight << "m-2026-12-07.dat: 1 2 | m-2026-12-08.dat: 1 2";
        QTest::newRow("no field, midnight")
            << "m.csv" << winterMidnight
            << "m.csv: time 2026-12-07T23:59:58+01:00 2026-12-07T23:59:59+01:00 "
               "2026-12-08T00:00:00+01:00 2026-12-08T00:00:01+01:00";
        QTest::newRow("spring forward, then midnight")
            << "{date}.csv"
            << QStringList{"2026-03-29T00:59:59Z", "2026-03-29T01:00:00Z", "2026-03-29T21:59:59Z",
                           "2026-03-29T22:00:00Z"}
            << "2026-03-29.csv: time 2026-03-29T01:59:59+01:00 2026-03-29T03:00:00+02:00 "
               "2026-03-29T23:59:59+02:00 | 2026-03-30.csv: time 2026-03-30T00:00:00+02:00";
        QTest::newRow("fall back, then midnight")
            << "{date}.csv"
            << QStringList{"2026-10-25T00:30:00Z", "2026-10-25T01:30:00Z", "2026-10-25T22:59:59Z",
                           "2026-10-25T23:00:00Z"}
            << "2026-10-25.csv: time 2026-10-25T02:30:00+02:00 2026-10-25T02:30:00+01:00 "
               "2026-10-25T23:59:59+01:00 | 2026-10-26.csv: time 2026-10-26T00:00:00+01:00";
        QTest::newRow("JSON Lines, month")
            << "{month}.jsonl" << QStringList{"2026-11-30T22:59:59Z", "2026-11-30T23:00:00Z"}
            << "2026-11.jsonl: 2026-11-30T23:59:59+01:00 | 2026-12.jsonl: "
               "2026-12-01T00:00:00+01:00";
        QTest::newRow("clock set back over midnight")
            << "{date}.csv"
            << QStringList{"2026-12-07T22:59:58Z", "2026-12-07T23:00:00Z", "2026-12-07T22:59:59Z"}
            << "2026-12-07.csv: time 2026-12-07T23:59:58+01:00 2026-12-07T23:59:59+01:00 | "
               "2026-12-08.csv: time 2026-12-08T00:00:00+01:00";
    }
    void filesSwitchAtLocalMidnight() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, times);
        QFETCH(QString, files);
        qputenv("TZ", "Europe/Berlin");
        QTemporaryDir dir;
        DatedReadingFile file(*fileFormatOfPath(pattern), dir.filePath(pattern));
        QCOMPARE(failureText(file.open(utc(times.first()))), QString());
        for (const QString& time : times)
            QCOMPARE(failureText(file.write(utc(time), aReading())), QString());
        file.close();
        QCOMPARE(file.rowsWritten(), times.size());
        QCOMPARE(filesAndFirstFields(QDir(dir.path())), files);
    }

    // The next day's file cannot be written: the reading is not written anywhere, and the user
    // reads which file failed and why.
    void aNewFileThatCannotBeOpenedIsNamed_data() {
        QTest::addColumn<QByteArray>("inTheWay");
        QTest::addColumn<QString>("why");
        QTest::newRow("another shape")
            << QByteArray("set,time\r\n")
            << "cannot append (its first line is not the CSV header record writes)";
        QTest::newRow("a folder") << QByteArray() << "cannot create (";
    }
    void aNewFileThatCannotBeOpenedIsNamed() {
        QFETCH(QByteArray, inTheWay);
        QFETCH(QString, why);
        qputenv("TZ", "Europe/Berlin");
        QTemporaryDir dir;
        const QString next = dir.filePath(QStringLiteral("2026-12-08.csv"));
        QVERIFY(inTheWay.isEmpty() ? QDir().mkdir(next) : writeFile(next, inTheWay));
        DatedReadingFile file(FileFormat::Csv, dir.filePath(QStringLiteral("{date}.csv")));
        QCOMPARE(failureText(file.open(utc("2026-12-07T22:59:59Z"))), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T22:59:59Z"), aReading())), QString());
        const Result<> written = file.write(utc("2026-12-07T23:00:00Z"), aReading());
        QVERIFY(!written);
        QVERIFY2(written.failure().message.startsWith(next + QStringLiteral(": ") + why),
                 qPrintable(written.failure().message));
        // Recording has begun: a file that cannot be opened now fails as a write does.
        QCOMPARE(written.failure().exitStatus, 74);
        file.close();
        QCOMPARE(file.rowsWritten(), 1);
        QCOMPARE(filesAndFirstFields(QDir(dir.path())),
                 inTheWay.isEmpty() ? QString("2026-12-07.csv: time 2026-12-07T23:59:59+01:00")
                                    : QString("2026-12-07.csv: time 2026-12-07T23:59:59+01:00 | "
                                              "2026-12-08.csv: set"));
    }

    // A log rotation renamed the file: reopened, the readings go on in a new file of that name,
    // which starts as a new file does.
    void reopenedByItsName() {
        qputenv("TZ", "Europe/Berlin");
        QTemporaryDir dir;
        DatedReadingFile file(FileFormat::Dat, dir.filePath(QStringLiteral("m.dat")));
        QCOMPARE(failureText(file.reopen()), QString());
        QCOMPARE(failureText(file.open(utc("2026-12-07T10:00:00Z"))), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:00Z"), aReading())), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:01Z"), aReading())), QString());
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("m.dat"), QStringLiteral("m.dat.1")));
        QCOMPARE(failureText(file.reopen()), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:02Z"), aReading())), QString());
        file.close();
        QCOMPARE(filesAndFirstFields(QDir(dir.path())), QString("m.dat: 1 | m.dat.1: 1 2"));
    }

    // logrotate renames the file before its SIGHUP comes: a reading in between starts the file
    // at the name rather than failing the meter.
    void aRenamedFileIsFollowedByItsName() {
        qputenv("TZ", "Europe/Berlin");
        QTemporaryDir dir;
        DatedReadingFile file(FileFormat::Dat, dir.filePath(QStringLiteral("m.dat")));
        QCOMPARE(failureText(file.open(utc("2026-12-07T10:00:00Z"))), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:00Z"), aReading())), QString());
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("m.dat"), QStringLiteral("m.dat.1")));
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:01Z"), aReading())), QString());
        QCOMPARE(failureText(file.write(utc("2026-12-07T10:00:02Z"), aReading())), QString());
        file.close();
        QCOMPARE(filesAndFirstFields(QDir(dir.path())), QString("m.dat: 1 2 | m.dat.1: 1"));
    }

    // A set through the night the clock goes forward: the meter's clock keeps no summer time, so
    // its record in the hour this machine's clock skips is kept.
    void aSetAcrossTheSkippedHour() {
        qputenv("TZ", "Europe/Berlin");
        LoggedSetExport csv(FileFormat::Csv, false);
        // Header: 26-03-29 01:59:00, interval 3600 s; three records of 45.6 %, 23.1 C.
        csv.appendSet(
            1,
            LoggedSetData(QByteArray::fromHex("260329015900 0e10 0000 02310456 02310456 02310456")),
            3);
        QCOMPARE(csv.bytes(), QByteArray("time,relative_humidity_percent,humidity_status,"
                                         "temperature,temperature_unit,temperature_status,"
                                         "battery_low\r\n"
                                         "2026-03-29T01:59:00+01:00,45.6,ok,23.1,C,ok,0\r\n"
                                         "2026-03-29T02:59:00+01:00,45.6,ok,23.1,C,ok,0\r\n"
                                         "2026-03-29T03:59:00+02:00,45.6,ok,23.1,C,ok,0\r\n"));
    }

    // Downloaded sets as the file download writes: each format, one set or several, and the
    // records that did not arrive left out.
    void setExport_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("withSetNumber");
        QTest::addColumn<int>("records");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray header = "time,relative_humidity_percent,humidity_status,temperature,"
                                  "temperature_unit,temperature_status,battery_low\r\n";
        QTest::newRow("dat") << "dat" << false << 2
                             << QByteArray("\"1\t26-12-07\t05:47:13\t45.6\t23.1\tC\t\"\r\n"
                                           "\"2\t26-12-07\t05:47:43\t45.6\t23.1\tC\t\"\r\n"
                                           "\"1\t26-12-08\t00:00:00\t50.2\t-3.5\tC\t\"\r\n");
        QTest::newRow("csv") << "csv" << false << 1
                             << header + "2026-12-07T05:47:13+01:00,45.6,ok,23.1,C,ok,0\r\n"
                                         "2026-12-08T00:00:00+01:00,50.2,ok,-3.5,C,ok,0\r\n";
        QTest::newRow("csv of every set")
            << "csv" << true << 1
            << "set," + header +
                   "1,2026-12-07T05:47:13+01:00,45.6,ok,23.1,C,ok,0\r\n"
                   "2,2026-12-08T00:00:00+01:00,50.2,ok,-3.5,C,ok,0\r\n";
        QTest::newRow("JSON Lines of every set")
            << "jsonl" << true << 1
            << QByteArray(R"({"set":1,"time":"2026-12-07T05:47:13+01:00",)"
                          R"("relative_humidity_percent":45.6,"humidity_status":"ok",)"
                          R"("temperature":23.1,"temperature_unit":"C","temperature_status":"ok",)"
                          R"("battery_low":false,"dew_point":10.7})"
                          "\n"
                          R"({"set":2,"time":"2026-12-08T00:00:00+01:00",)"
                          R"("relative_humidity_percent":50.2,"humidity_status":"ok",)"
                          R"("temperature":-3.5,"temperature_unit":"C","temperature_status":"ok",)"
                          R"("battery_low":false,"dew_point":-12.4})"
                          "\n");
        QTest::newRow("more records asked than arrived")
            << "csv" << false << 3
            << header + "2026-12-07T05:47:13+01:00,45.6,ok,23.1,C,ok,0\r\n"
                        "2026-12-07T05:47:43+01:00,45.6,ok,23.1,C,ok,0\r\n"
                        "2026-12-08T00:00:00+01:00,50.2,ok,-3.5,C,ok,0\r\n";
    }
    void setExport() {
        QFETCH(QString, format);
        QFETCH(bool, withSetNumber);
        QFETCH(int, records);
        QFETCH(QByteArray, bytes);
        qputenv("TZ", "Europe/Berlin");
        LoggedSetExport file(*parseFileFormat(format), withSetNumber);
        // Set 1: 26-12-07 05:47:13, every 30 s, two records of 45.6 %RH, 23.1 C. Set 2: one of
        // 50.2 %RH, -3.5 C; a set whose header did not arrive adds nothing.
        file.appendSet(1,
                       LoggedSetData(QByteArray::fromHex("261207054713 001e 0000 "
                                                         "02310456 02310456")),
                       records);
        file.appendSet(2,
                       LoggedSetData(QByteArray::fromHex("261208000000 001e 0000 "
                                                         "20350502")),
                       records);
        file.appendSet(3, LoggedSetData(QByteArray::fromHex("2612")), records);
        QCOMPARE(file.bytes(), bytes);
    }

    void statusText_data() {
        QTest::addColumn<int>("sets");
        QTest::addColumn<int>("usedBytes");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("three sets")
            << 3 << 202
            << QByteArray("ID code: 1234\n"
                          "Sets recorded: 3\n"
                          "Memory: 32 K, 202 bytes used, 31.8 K remaining\n"
                          "Interval: 2 sec\n"
                          "Meter clock: 2026-12-07T05:47:13\n")
            << QByteArray(R"({"clock":"2026-12-07T05:47:13","id_code":1234,)"
                          R"("interval_seconds":2,"memory_remaining_bytes":32566,)"
                          R"("memory_used_bytes":202,"sets":3})"
                          "\n");
        QTest::newRow("no sets") << 0 << 10
                                 << QByteArray("ID code: 1234\n"
                                               "Sets recorded: 0\n"
                                               "Memory: 32 K, 10 bytes used, 32 K remaining\n"
                                               "Interval: 2 sec\n"
                                               "Meter clock: 2026-12-07T05:47:13\n")
                                 << QByteArray(
                                        R"({"clock":"2026-12-07T05:47:13","id_code":1234,)"
                                        R"("interval_seconds":2,"memory_remaining_bytes":32758,)"
                                        R"("memory_used_bytes":10,"sets":0})"
                                        "\n");
        QTest::newRow("one byte, memory full")
            << 1 << 32767
            << QByteArray("ID code: 1234\n"
                          "Sets recorded: 1\n"
                          "Memory: 32 K, 32767 bytes used, .0 K remaining\n"
                          "Interval: 2 sec\n"
                          "Meter clock: 2026-12-07T05:47:13\n")
            << QByteArray(R"({"clock":"2026-12-07T05:47:13","id_code":1234,)"
                          R"("interval_seconds":2,"memory_remaining_bytes":1,)"
                          R"("memory_used_bytes":32767,"sets":1})"
                          "\n");
    }
    void statusText() {
        QFETCH(int, sets);
        QFETCH(int, usedBytes);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, json);
        StatusReply status;
        status.idCode = 1234;
        status.setCount = sets;
        status.usedBytes = usedBytes;
        status.intervalSeconds = 2;
        const MeterStamp clock{26, 12, 7, 5, 47, 13};
        QCOMPARE(meterStatusText(status, clock), text);
        QCOMPARE(meterStatusJson(status, clock), json);
    }

    void meterClock_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("iso");
        QTest::newRow("first year") << 0 << "2000-01-02T03:04:05";
        QTest::newRow("last year") << 99 << "2099-01-02T03:04:05";
    }
    void meterClock() {
        QFETCH(int, year);
        QFETCH(QString, iso);
        QCOMPARE(meterClockIso(MeterStamp{year, 1, 2, 3, 4, 5}), iso);
    }

    // What record tells of two meters, COM1 and ttyUSB0, off a terminal: a line per change of
    // state. Steps: "what meter [argument]".
    void recordStatusLines_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("lines");
        QTest::newRow("a run") << QStringList{"started 0 COM1.csv", "row 0 5", "stopped 0 5"}
                               << "COM1: started, recording to COM1.csv\n"
                                  "COM1: stopped, 5 readings written\n";
        QTest::newRow("one reading")
            << QStringList{"stopped 1 1"} << "ttyUSB0: stopped, 1 reading written\n";
        QTest::newRow("never answered") << QStringList{"noAnswer 1", "stopped 1 0"}
                                        << "ttyUSB0: the meter does not answer, still trying\n"
                                           "ttyUSB0: stopped, the meter never answered\n";
        QTest::newRow("link lost and back")
            << QStringList{"lost 0", "back 0", "broker 0 connected to the broker"}
            << "COM1: link lost\nCOM1: link back\nCOM1: connected to the broker\n";
        QTest::newRow("a failed meter is not stopped")
            << QStringList{"failed 0 COM1.csv: disk full", "broker 0 connected to the broker",
                           "stopped 0 3", "stopped 1 2"}
            << "COM1: failed: COM1.csv: disk full\n"
               "COM1: connected to the broker\n"
               "ttyUSB0: stopped, 2 readings written\n";
    }
    void recordStatusLines() {
        QFETCH(QStringList, steps);
        QFETCH(QString, lines);
        QString written;
        RecordStatus status(nullptr, {QStringLiteral("COM1"), QStringLiteral("ttyUSB0")}, false,
                            [&written](const QString& text) { written += text; });
        for (const QString& step : steps) {
            const QStringList words = step.split(QLatin1Char(' '));
            const int meter = words[1].toInt();
            const QString rest = words.mid(2).join(QLatin1Char(' '));
            if (words[0] == QLatin1String("started"))
                status.started(meter, rest);
            else if (words[0] == QLatin1String("noAnswer"))
                status.noAnswer(meter);
            else if (words[0] == QLatin1String("lost"))
                status.linkLost(meter);
            else if (words[0] == QLatin1String("back"))
                status.linkBack(meter);
            else if (words[0] == QLatin1String("row"))
                status.rowWritten(meter, rest.toLongLong(), QStringLiteral("45.6 %RH"));
            else if (words[0] == QLatin1String("failed"))
                status.failed(meter, rest);
            else if (words[0] == QLatin1String("stopped"))
                status.stopped(meter, rest.toLongLong());
            else if (words[0] == QLatin1String("broker"))
                status.brokerState(meter, rest);
        }
        QCOMPARE(written, lines);
    }

    // On a terminal every meter has a line, redrawn in place: back up to the first, each line
    // cleared and written again.
    void recordStatusRedrawsInPlace() {
        QStringList writes;
        RecordStatus status(nullptr, {QStringLiteral("COM1"), QStringLiteral("COM2")}, true,
                            [&writes](const QString& text) { writes << text; });
        status.started(0, QStringLiteral("a.csv"));
        status.rowWritten(0, 1, QStringLiteral("45.6 %RH"));
        QCOMPARE(writes, QStringList({"\r\x1b[KCOM1  --  0 written  started, recording to a.csv\n"
                                      "\r\x1b[KCOM2  --  0 written  opening\n",
                                      "\x1b[2A"
                                      "\r\x1b[KCOM1  45.6 %RH  1 written  started, recording to "
                                      "a.csv\n"
                                      "\r\x1b[KCOM2  --  0 written  opening\n"}));
    }
};

QTEST_GUILESS_MAIN(LoggerCliLogicTest)
#include "cli_formats_test.moc"
