#include "logic/recording/DatedReadingFile.h"
#include "logic/recording/RecordedFileReader.h"
#include "logic/recording/RecordedLine.h"
#include "logic/recording/RecordedRange.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

ExportRow row(const char* humidity, const char* temperature, char unit, int offsetSeconds,
              TemperatureUnit written = TemperatureUnit::Meter, bool batteryLow = false) {
    ExportRow row;
    row.date = QDate(2026, 12, 7);
    row.time = QTime(18, 30, 5);
    row.utcOffsetSeconds = offsetSeconds;
    row.humidity = exportValue(humidity).value_or(ExportValue{});
    row.temperature = exportValue(temperature).value_or(ExportValue{});
    row.unit = unit;
    row.batteryLow = batteryLow;
    row.dewPointCelsius = exportDewPoint(row.humidity, row.temperature, unit);
    row.writtenUnit = written;
    return row;
}

enum class Form { Csv, CsvWithDewPoint, JsonLines };

QByteArray written(const ExportRow& row, Form form) {
    QByteArray line;
    if (form == Form::JsonLines)
        appendJsonLine(line, row);
    else
        appendCsvLine(line, row,
                      form == Form::Csv ? DewPointColumn::Without : DewPointColumn::With);
    return line;
}

std::optional<ExportRow> readBack(const QByteArray& line, Form form) {
    return form == Form::JsonLines ? parseJsonLine(line) : parseCsvLine(line);
}

QByteArray csvLine(qint64 second) {
    return QStringLiteral("%1,45.0,ok,21.5,C,ok,0,9.1\r\n")
        .arg(QDateTime::fromSecsSinceEpoch(second, QTimeZone(3600)).toString(Qt::ISODate))
        .toLatin1();
}

} // namespace

Q_DECLARE_METATYPE(Form)

// The recording's own lines read back: what the writer wrote reads as the same reading, and what
// it did not write (a torn line, a damaged one, anything else) reads as none.
class RecordedLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<ExportRow>("row");
        QTest::addColumn<Form>("form");
        const struct {
            const char* name;
            ExportRow row;
        } rows[] = {
            {"plain", row("45.2", "21.5", 'C', 3600)},
            {"west of UTC, frost", row("50.0", "-5.3", 'C', -(3 * 3600 + 1800))},
            {"Fahrenheit", row("38.7", "70.3", 'F', 0)},
            {"written in Celsius", row("38.7", "70.3", 'F', 0, TemperatureUnit::Celsius)},
            {"written in Fahrenheit", row("60.0", "21.5", 'C', 7200, TemperatureUnit::Fahrenheit)},
            {"overload", row("OL", "21.5", 'C', 3600)},
            {"underload, battery low", row("45.0", "-OL", 'C', 3600, TemperatureUnit::Meter, true)},
            {"no reading", row("----", "----", 'C', 3600)},
        };
        for (const auto& [name, row] : rows) {
            QTest::addRow("%s, CSV", name) << row << Form::Csv;
            QTest::addRow("%s, CSV with dew point", name) << row << Form::CsvWithDewPoint;
            QTest::addRow("%s, JSON Lines", name) << row << Form::JsonLines;
        }
    }
    void roundTrip() {
        QFETCH(ExportRow, row);
        QFETCH(Form, form);
        const QByteArray line = written(row, form);
        const std::optional<ExportRow> read = readBack(line, form);
        QVERIFY2(read, line);
        QCOMPARE(written(*read, form), line);
        QCOMPARE(read->date, row.date);
        QCOMPARE(read->time, row.time);
        QCOMPARE(read->utcOffsetSeconds, row.utcOffsetSeconds);
        QCOMPARE(read->humidity.status, row.humidity.status);
        QCOMPARE(read->humidity.decimal, row.humidity.decimal);
        QCOMPARE(read->temperature.decimal, writtenTemperature(row).decimal);
        QCOMPARE(read->temperature.status, row.temperature.status);
        QCOMPARE(read->unit, writtenUnit(row));
        QCOMPARE(read->batteryLow, row.batteryLow);
        QCOMPARE(writtenDewPoint(*read).decimal, writtenDewPoint(row).decimal);
        QCOMPARE(
            takenAtMs(*read),
            QDateTime(row.date, row.time, QTimeZone(row.utcOffsetSeconds)).toMSecsSinceEpoch());
    }

    void damagedLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<Form>("form");
        const QByteArray csv = "2026-12-07T18:30:05+01:00,45.2,ok,21.5,C,ok,0,9.1\r\n";
        for (const qsizetype cut : {1, 2, 4, 20})
            QTest::addRow("CSV torn %lld from the end", qlonglong(cut))
                << csv.chopped(cut) << Form::Csv;
        QTest::newRow("the header")
            << QByteArray("time,relative_humidity_percent,humidity_status,temperature,"
                          "temperature_unit,temperature_status,battery_low,dew_point\r\n")
            << Form::Csv;
        QTest::newRow("garbage") << QByteArray("\x01\xff garbage,,,,,,\r\n") << Form::Csv;
        QTest::newRow("empty") << QByteArray("\r\n") << Form::Csv;
        QTest::newRow("no offset")
            << QByteArray("2026-12-07T18:30:05,45.2,ok,21.5,C,ok,0\r\n") << Form::Csv;
        QTest::newRow("an offset without its sign")
            << QByteArray("2026-12-07T18:30:05 01:00,45.2,ok,21.5,C,ok,0\r\n") << Form::Csv;
        QTest::newRow("no such day")
            << QByteArray("2026-02-30T18:30:05+01:00,45.2,ok,21.5,C,ok,0\r\n") << Form::Csv;
        QTest::newRow("a number where the status says overload")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,overload,21.5,C,ok,0\r\n") << Form::Csv;
        QTest::newRow("no number where the status says ok")
            << QByteArray("2026-12-07T18:30:05+01:00,,ok,21.5,C,ok,0\r\n") << Form::Csv;
        QTest::newRow("an unknown status")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,fine,21.5,C,ok,0\r\n") << Form::Csv;
        QTest::newRow("a unit of K")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,ok,21.5,K,ok,0\r\n") << Form::Csv;
        QTest::newRow("a battery of 2")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,ok,21.5,C,ok,2\r\n") << Form::Csv;
        QTest::newRow("a cell too many")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,ok,21.5,C,ok,0,9.1,1\r\n") << Form::Csv;
        QTest::newRow("a cell too few")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,ok,21.5,C,ok\r\n") << Form::Csv;
        QTest::newRow("a dew point that is no number")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,ok,21.5,C,ok,0,OL\r\n") << Form::Csv;
        QTest::newRow("two lines in one")
            << QByteArray("2026-12-07T18:30:05+01:00,45.2,ok,21.5,C,ok,0\n"
                          "2026-12-07T18:30:06+01:00,45.2,ok,21.5,C,ok,0\r\n")
            << Form::Csv;
        QByteArray json;
        appendJsonLine(json, row("45.2", "21.5", 'C', 3600));
        QTest::newRow("JSON torn") << json.chopped(1) << Form::JsonLines;
        QTest::newRow("JSON torn inside") << json.left(40) + '\n' << Form::JsonLines;
        QTest::newRow("JSON not an object") << QByteArray("[1,2]\n") << Form::JsonLines;
        QTest::newRow("JSON with a field more")
            << QByteArray(json).replace("{", "{\"x\":1,") << Form::JsonLines;
        QTest::newRow("JSON humidity as text")
            << QByteArray(json).replace(":45.2,", ":\"45.2\",") << Form::JsonLines;
        QTest::newRow("JSON battery as a number")
            << QByteArray(json).replace(":false", ":0") << Form::JsonLines;
    }
    void damagedLines() {
        QFETCH(QByteArray, line);
        QFETCH(Form, form);
        QVERIFY(!readBack(line, form));
    }

    // A file of a year at a reading a second is not read whole for its last day, nor for a
    // range in its middle; its torn last line is left out.
    void aBigFileIsReadFromNearItsStart() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("year.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        constexpr qint64 first = 1796637600;
        constexpr qint64 lines = 200000;
        QByteArray bytes = "time,relative_humidity_percent,humidity_status,temperature,"
                           "temperature_unit,temperature_status,battery_low,dew_point\r\n";
        for (qint64 second = first; second < first + lines; ++second)
            bytes += csvLine(second);
        bytes += csvLine(first + lines).left(30);
        QVERIFY(file.write(bytes) == bytes.size());
        file.close();

        const qint64 lineBytes = csvLine(first).size();
        constexpr qint64 Block = 4096;
        const struct {
            qint64 from;
            qsizetype wanted;
        } cases[] = {{first + lines - 3600, 3600}, {first + lines / 2, 100}, {first, 100}};
        for (const auto& [from, wanted] : cases) {
            RecordedFileReader reader(path, FileFormat::Csv, Block);
            QVERIFY(reader.open());
            reader.seek(from * 1000);
            QList<qint64> handed;
            qint64 early = 0;
            while (reader.readBlock([&](const RecordedReading& reading) {
                if (reading.takenAtMs < from * 1000) {
                    ++early;
                    return true;
                }
                handed.append(reading.takenAtMs / 1000);
                return handed.size() < wanted;
            }))
                ;
            QCOMPARE(handed.size(), wanted);
            QCOMPARE(handed.first(), from);
            QCOMPARE(handed.last(), from + wanted - 1);
            // The search stops within a block or two of the start, having read a few dozen.
            QVERIFY2(early <= 2 * Block / lineBytes, qPrintable(QString::number(early)));
            QVERIFY2(reader.bytesRead() < (wanted + early) * lineBytes + 64 * Block,
                     qPrintable(QString::number(reader.bytesRead())));
        }
    }

    // A range over midnight reads yesterday's file to its end and today's from its start; a day
    // without a file is passed over.
    void aRangeReadsAcrossTheDatedFiles() {
        QTemporaryDir dir;
        const QString pattern = dir.filePath(QStringLiteral("hall-{date}.csv"));
        const QDateTime midnight(QDate(2026, 12, 7), QTime(0, 0));
        QByteArray expected;
        for (const int day : {-2, -1, 0}) {
            const QDateTime noon = midnight.addDays(day).addSecs(12 * 3600);
            QByteArray lines;
            for (const int minutes : {-12 * 60, -60, -1, 0, 11 * 60 + 58, 11 * 60 + 59}) {
                ExportRow row;
                const QDateTime at = noon.addSecs(minutes * 60);
                row.date = at.date();
                row.time = at.time();
                row.utcOffsetSeconds = at.offsetFromUtc();
                row.humidity = exportValue("45.0").value_or(ExportValue{});
                appendCsvLine(lines, row);
                if (day != -2 && at < midnight.addSecs(12 * 3600))
                    appendCsvLine(expected, row);
            }
            if (day == -2)
                continue;
            QFile file(filePathAt(pattern, noon));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size());
        }
        QCOMPARE(recordingFilesBetween(pattern, midnight.addDays(-2).toMSecsSinceEpoch(),
                                       midnight.addDays(1).toMSecsSinceEpoch()),
                 (QStringList{dir.filePath(QStringLiteral("hall-2026-12-05.csv")),
                              dir.filePath(QStringLiteral("hall-2026-12-06.csv")),
                              dir.filePath(QStringLiteral("hall-2026-12-07.csv"))}));
        QCOMPARE(recordingFilesBetween(dir.filePath(QStringLiteral("hall-{month}.csv")),
                                       midnight.addDays(-2).toMSecsSinceEpoch(),
                                       midnight.addDays(1).toMSecsSinceEpoch()),
                 QStringList{dir.filePath(QStringLiteral("hall-2026-12.csv"))});
        RecordedRange range(pattern, FileFormat::Csv,
                            midnight.addDays(-2).addSecs(23 * 3600).toMSecsSinceEpoch(),
                            midnight.addSecs(12 * 3600).toMSecsSinceEpoch());
        QByteArray read;
        while (range.readBlock(
            [&read](const RecordedReading& reading) { appendCsvLine(read, reading.row); }))
            ;
        QCOMPARE(read, expected);
    }
};

QTEST_GUILESS_MAIN(RecordedLineTest)
#include "recorded_line_test.moc"
