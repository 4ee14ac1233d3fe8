#include "logic/link/FrameDecoder.h"
#include "logic/link/LiveReading.h"
#include "logic/recording/DataFileConverter.h"
#include "logic/recording/DataFileRow.h"

#include <QTemporaryDir>
#include <QTest>

class ExportFormatTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Both writers' lines, read in a zone one hour ahead of UTC, as CSV and as JSON.
    void dataFileLinesInBothFormats_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("recorder") << QByteArray(" 12\t12-06-2026\t09:45:07\t45.6\t23.1\tC")
                                  << QByteArray("2026-12-06T09:45:07+01:00,45.6,ok,23.1,C,ok,0\r\n")
                                  << QByteArray("{\"time\":\"2026-12-06T09:45:07+01:00\","
                                                "\"relative_humidity_percent\":45.6,"
                                                "\"humidity_status\":\"ok\",\"temperature\":23.1,"
                                                "\"temperature_unit\":\"C\",\"temperature_status\":"
                                                "\"ok\",\"battery_low\":false,"
                                                "\"dew_point\":10.7}\n");
        QTest::newRow("saved from the meter, overload, battery")
            << QByteArray("\"2\t03-08-31\t23:59:59\t05.6\t-OL\tF\tLOW\"")
            << QByteArray("2003-08-31T23:59:59+01:00,5.6,ok,,F,underload,1\r\n")
            << QByteArray("{\"time\":\"2003-08-31T23:59:59+01:00\","
                          "\"relative_humidity_percent\":5.6,\"humidity_status\":\"ok\","
                          "\"temperature\":null,\"temperature_unit\":\"F\",\"temperature_status\":"
                          "\"underload\",\"battery_low\":true,\"dew_point\":null}\n");
        QTest::newRow("no reading, a negative zero, saved without battery")
            << QByteArray("\"3\t01-01-2027\t00:00:00\t----\t-0.0\tC\t\"")
            << QByteArray("2027-01-01T00:00:00+01:00,,no_reading,0.0,C,ok,0\r\n")
            << QByteArray("{\"time\":\"2027-01-01T00:00:00+01:00\","
                          "\"relative_humidity_percent\":null,\"humidity_status\":\"no_reading\","
                          "\"temperature\":0.0,\"temperature_unit\":\"C\",\"temperature_status\":"
                          "\"ok\",\"battery_low\":false,\"dew_point\":null}\n");
        QTest::newRow("overload above, negative below")
            << QByteArray(" 1\t02-29-2024\t13:00:00\tOL\t-12.5\tC")
            << QByteArray("2024-02-29T13:00:00+01:00,,overload,-12.5,C,ok,0\r\n")
            << QByteArray("{\"time\":\"2024-02-29T13:00:00+01:00\","
                          "\"relative_humidity_percent\":null,\"humidity_status\":\"overload\","
                          "\"temperature\":-12.5,\"temperature_unit\":\"C\",\"temperature_status\":"
                          "\"ok\",\"battery_low\":false,\"dew_point\":null}\n");
    }
    void dataFileLinesInBothFormats() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, csv);
        QFETCH(QByteArray, json);
        const std::optional<DataFileRow> row = parseDataFileRow(line);
        QVERIFY(row);
        ZoneOffsets offsets(QTimeZone(3600));
        const std::optional<ExportRow> exported = exportRow(*row, offsets);
        QVERIFY(exported);
        QByteArray csvOut, jsonOut;
        appendCsvLine(csvOut, *exported);
        appendJsonLine(jsonOut, *exported);
        QCOMPARE(csvOut, csv);
        QCOMPARE(jsonOut, json);
    }

    // A decoded frame as the logger records it: the meter's texts, the PC's time and offset, and
    // always the tenths the meter resolves, so that every file's columns read as one type.
    void liveReading_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("tenths, underload, battery")
            << QByteArray("\x02\x12\x34\xa1\x23\x14\x56\x03", 8)
            << QByteArray("2026-12-06T09:45:07-05:00,45.6,ok,,C,underload,1\r\n")
            << QByteArray("{\"time\":\"2026-12-06T09:45:07-05:00\","
                          "\"relative_humidity_percent\":45.6,\"humidity_status\":\"ok\","
                          "\"temperature\":null,\"temperature_unit\":\"C\",\"temperature_status\":"
                          "\"underload\",\"battery_low\":true,\"dew_point\":null}\n");
        QTest::newRow("whole numbers")
            << QByteArray("\x02\x12\x34\x02\x00\x04\x50\x03", 8)
            << QByteArray("2026-12-06T09:45:07-05:00,45.0,ok,20.0,C,ok,0\r\n")
            << QByteArray("{\"time\":\"2026-12-06T09:45:07-05:00\","
                          "\"relative_humidity_percent\":45.0,\"humidity_status\":\"ok\","
                          "\"temperature\":20.0,\"temperature_unit\":\"C\",\"temperature_status\":"
                          "\"ok\",\"battery_low\":false,\"dew_point\":7.7}\n");
    }
    void liveReading() {
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, csv);
        QFETCH(QByteArray, json);
        LiveReading reading;
        decodeLiveFrame(frame, reading);
        const QDateTime takenAt(QDate(2026, 12, 6), QTime(9, 45, 7), QTimeZone(-5 * 3600));
        QByteArray csvOut, jsonOut;
        appendCsvLine(csvOut, liveExportRow(takenAt, reading));
        appendJsonLine(jsonOut, liveExportRow(takenAt, reading));
        QCOMPARE(csvOut, csv);
        QCOMPARE(jsonOut, json);
    }

    // The dew point ends a CSV line that asks for it and every JSON line, in the unit the row is
    // written in, to one decimal; none where either value has no number. A temperature written in
    // the other unit is converted to the tenth the meter shows.
    void dewPointAndUnit_data() {
        QTest::addColumn<QByteArray>("humidity");
        QTest::addColumn<QByteArray>("temperature");
        QTest::addColumn<char>("meterUnit");
        QTest::addColumn<TemperatureUnit>("written");
        QTest::addColumn<QByteArray>("csvEnd");
        QTest::addColumn<QByteArray>("jsonEnd");
        const auto row = [](const char* name, const char* rh, const char* t, char unit,
                            TemperatureUnit written, const char* csv, const char* json) {
            QTest::newRow(name) << QByteArray(rh) << QByteArray(t) << unit << written
                                << QByteArray(csv) << QByteArray(json);
        };
        row("°C as the meter shows it", "45.6", "23.1", 'C', TemperatureUnit::Meter,
            "45.6,ok,23.1,C,ok,0,10.7",
            "\"temperature\":23.1,\"temperature_unit\":\"C\","
            "\"temperature_status\":\"ok\",\"battery_low\":false,"
            "\"dew_point\":10.7}");
        row("°C meter written in °F", "45.6", "23.1", 'C', TemperatureUnit::Fahrenheit,
            "45.6,ok,73.6,F,ok,0,51.3",
            "\"temperature\":73.6,\"temperature_unit\":\"F\","
            "\"temperature_status\":\"ok\",\"battery_low\":false,"
            "\"dew_point\":51.3}");
        row("°F meter written in °C", "50.0", "77.0", 'F', TemperatureUnit::Celsius,
            "50.0,ok,25.0,C,ok,0,13.9",
            "\"temperature\":25.0,\"temperature_unit\":\"C\","
            "\"temperature_status\":\"ok\",\"battery_low\":false,"
            "\"dew_point\":13.9}");
        row("frost point", "50.0", "5.0", 'C', TemperatureUnit::Meter, "50.0,ok,5.0,C,ok,0,-4.6",
            "\"temperature\":5.0,\"temperature_unit\":\"C\",\"temperature_status\":\"ok\","
            "\"battery_low\":false,\"dew_point\":-4.6}");
        row("frost point of a °F meter", "40.0", "14.0", 'F', TemperatureUnit::Meter,
            "40.0,ok,14.0,F,ok,0,-5.9",
            "\"temperature\":14.0,\"temperature_unit\":\"F\","
            "\"temperature_status\":\"ok\",\"battery_low\":false,"
            "\"dew_point\":-5.9}");
        row("°C meter written in °F, no negative zero", "50.0", "-17.8", 'C',
            TemperatureUnit::Fahrenheit, "50.0,ok,0.0,F,ok,0,-14.3",
            "\"temperature\":0.0,\"temperature_unit\":\"F\",\"temperature_status\":\"ok\","
            "\"battery_low\":false,\"dew_point\":-14.3}");
        row("humidity overload", "OL", "21.3", 'C', TemperatureUnit::Meter,
            ",overload,21.3,C,ok,0,",
            "\"temperature\":21.3,\"temperature_unit\":\"C\","
            "\"temperature_status\":\"ok\",\"battery_low\":false,"
            "\"dew_point\":null}");
        // In °C the dew window reads an over-range temperature as 0 °C; the files do not.
        row("temperature overload", "45.6", "OL", 'C', TemperatureUnit::Meter,
            "45.6,ok,,C,overload,0,",
            "\"temperature\":null,\"temperature_unit\":\"C\","
            "\"temperature_status\":\"overload\","
            "\"battery_low\":false,\"dew_point\":null}");
        row("temperature underload written in °C", "45.6", "-OL", 'F', TemperatureUnit::Celsius,
            "45.6,ok,,C,underload,0,",
            "\"temperature\":null,\"temperature_unit\":\"C\","
            "\"temperature_status\":\"underload\","
            "\"battery_low\":false,\"dew_point\":null}");
    }
    void dewPointAndUnit() {
        QFETCH(QByteArray, humidity);
        QFETCH(QByteArray, temperature);
        QFETCH(char, meterUnit);
        QFETCH(TemperatureUnit, written);
        QFETCH(QByteArray, csvEnd);
        QFETCH(QByteArray, jsonEnd);
        LiveReading reading;
        reading.HumidityText = QString::fromLatin1(humidity);
        reading.TemperatureText = QString::fromLatin1(temperature);
        reading.TempUnit = QChar::fromLatin1(meterUnit);
        const QDateTime takenAt(QDate(2026, 12, 6), QTime(9, 45, 7), QTimeZone(3600));
        ExportRow row = liveExportRow(takenAt, reading);
        row.writtenUnit = written;
        QByteArray csv, json;
        appendCsvLine(csv, row, DewPointColumn::With);
        appendJsonLine(json, row);
        QCOMPARE(csv, "2026-12-06T09:45:07+01:00," + csvEnd + "\r\n");
        QCOMPARE(json.mid(json.indexOf("\"temperature\":")), jsonEnd + "\n");
    }

    void csvHeaderWithTheDewPoint() {
        QCOMPARE(csvHeader(DewPointColumn::With),
                 QByteArray("time,relative_humidity_percent,humidity_status,temperature,"
                            "temperature_unit,temperature_status,battery_low,dew_point\r\n"));
    }

    // Every tenth both ways, where no half ever falls; the meter's own limits of range.
    void temperatureUnits_data() {
        QTest::addColumn<QByteArray>("decimal");
        QTest::addColumn<char>("from");
        QTest::addColumn<QByteArray>("converted");
        QTest::newRow("70.3 °F") << QByteArray("70.3") << 'F' << QByteArray("21.3");
        QTest::newRow("-40.0 °F") << QByteArray("-40.0") << 'F' << QByteArray("-40.0");
        QTest::newRow("32.9 °F") << QByteArray("32.9") << 'F' << QByteArray("0.5");
        QTest::newRow("31.9 °F") << QByteArray("31.9") << 'F' << QByteArray("-0.1");
        QTest::newRow("-4.0 °F") << QByteArray("-4.0") << 'F' << QByteArray("-20.0");
        QTest::newRow("0.7 °C") << QByteArray("0.7") << 'C' << QByteArray("33.3");
        QTest::newRow("100.0 °C") << QByteArray("100.0") << 'C' << QByteArray("212.0");
    }
    void temperatureUnits() {
        QFETCH(QByteArray, decimal);
        QFETCH(char, from);
        QFETCH(QByteArray, converted);
        QCOMPARE(convertedTemperature(decimal, from, from == 'C' ? 'F' : 'C'), converted);
        QCOMPARE(convertedTemperature(decimal, from, from), decimal);
    }

    void temperatureUnitOption() {
        QCOMPARE(parseTemperatureUnit(QStringLiteral("meter")),
                 std::optional{TemperatureUnit::Meter});
        QCOMPARE(parseTemperatureUnit(QStringLiteral("C")),
                 std::optional{TemperatureUnit::Celsius});
        QCOMPARE(parseTemperatureUnit(QStringLiteral("f")),
                 std::optional{TemperatureUnit::Fahrenheit});
        QCOMPARE(parseTemperatureUnit(QStringLiteral("K")), std::nullopt);
        QCOMPARE(parseTemperatureUnit(QStringLiteral("Meter")), std::nullopt);
    }

    void linesThatAreNoReading_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("no such day") << QByteArray(" 1\t02-30-2026\t09:45:07\t45.6\t23.1\tC");
        QTest::newRow("no such hour") << QByteArray(" 1\t12-06-2026\t24:00:00\t45.6\t23.1\tC");
        QTest::newRow("hex digit") << QByteArray(" 1\t12-06-2026\t09:45:07\tA5.6\t23.1\tC");
        QTest::newRow("unit") << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tK");
        QTest::newRow("battery") << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\tlow");
        QTest::newRow("field short") << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1");
        QTest::newRow("field over") << QByteArray(" 1\t12-06-2026\t09:45:07\t45.6\t23.1\tC\t\t");
        QTest::newRow("unclosed quote") << QByteArray("\"1\t03-08-31\t23:59:59\t5.6\t1.0\tC\t");
        QTest::newRow("no number") << QByteArray("x\t12-06-2026\t09:45:07\t45.6\t23.1\tC");
        QTest::newRow("point only") << QByteArray(" 1\t12-06-2026\t09:45:07\t45.\t23.1\tC");
    }
    void linesThatAreNoReading() {
        QFETCH(QByteArray, line);
        QVERIFY(!parseDataFileRow(line));
    }

    // Local times in Berlin in a file's order, and the offset each gets: a time the clock skips
    // gets none; a repeated one is in its first pass until the file steps back an hour.
    void offsetsAcrossClockChanges_data() {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QStringList>("offsets");
        QTest::newRow("the clock goes back")
            << QStringList{"2026-10-25 01:59:59", "2026-10-25 02:00:00", "2026-10-25 02:59:59",
                           "2026-10-25 02:00:00", "2026-10-25 02:30:00", "2026-10-25 03:00:00"}
            << QStringList{"+02:00", "+02:00", "+02:00", "+01:00", "+01:00", "+01:00"};
        QTest::newRow("the repeated hour seen once")
            << QStringList{"2026-10-25 02:30:00", "2026-10-25 02:40:00", "2026-10-25 03:10:00"}
            << QStringList{"+02:00", "+02:00", "+01:00"};
        QTest::newRow("the clock goes forward")
            << QStringList{"2026-03-29 01:59:59", "2026-03-29 02:00:00", "2026-03-29 02:30:00",
                           "2026-03-29 03:00:00"}
            << QStringList{"+01:00", "skipped", "skipped", "+02:00"};
        QTest::newRow("the same hour on both sides of a change")
            << QStringList{"2026-03-28 12:00:00", "2026-03-29 12:00:00", "2026-10-24 12:00:00",
                           "2026-10-25 12:00:00"}
            << QStringList{"+01:00", "+02:00", "+02:00", "+01:00"};
    }
    void offsetsAcrossClockChanges() {
        QFETCH(QStringList, times);
        QFETCH(QStringList, offsets);
        ZoneOffsets zone(QTimeZone("Europe/Berlin"));
        QStringList got;
        for (const QString& time : times) {
            const QDateTime local =
                QDateTime::fromString(time, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            const std::optional<int> offset = zone.offsetAt(local.date(), local.time());
            got << (offset ? QString::asprintf("%+03d:%02d", *offset / 3600, *offset / 60 % 60)
                           : QStringLiteral("skipped"));
        }
        QCOMPARE(got, offsets);
    }

    // A meter's clock keeps no summer time: its record in the skipped hour is kept, read with the
    // offset before the change.
    void aMeterRecordInTheSkippedHour() {
        ZoneOffsets zone(QTimeZone("Europe/Berlin"), ZoneOffsets::SkippedTime::OffsetBefore);
        QCOMPARE(zone.offsetAt(QDate(2026, 3, 29), QTime(2, 30)), std::optional<int>(3600));
    }

    // In blocks of the file, with a damaged line and a time the clock skips left out.
    void convertsAFileInItsZone() {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.dat"));
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(" 1\t03-29-2026\t01:59:59\t45.6\t23.1\tC\r\n"
                   " 2\t03-29-2026\t0?:00:00\t45.6\t23.1\tC\r\n\r\n"
                   " 3\t03-29-2026\t02:30:00\t45.6\t23.1\tC\n"
                   " 4\t03-29-2026\t03:00:00\t45.7\t23.1\tC\r");
        file.close();
        QList<std::pair<qint64, SkippedLine>> skipped;
        const ConversionResult result =
            convertDataFile(in, out, FileFormat::Csv, QTimeZone("Europe/Berlin"),
                            [&](qint64 line, SkippedLine why) {
                                skipped.append({line, why});
                            });
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(skipped, (QList<std::pair<qint64, SkippedLine>>{
                              {2, SkippedLine::NotAReading}, {4, SkippedLine::NoSuchLocalTime}}));
        QCOMPARE(result.rowsWritten, 2);
        QCOMPARE(result.linesSkipped, 2);
        QFile converted(out);
        QVERIFY(converted.open(QIODevice::ReadOnly));
        QCOMPARE(converted.readAll(),
                 QByteArray("time,relative_humidity_percent,humidity_status,temperature,"
                            "temperature_unit,temperature_status,battery_low\r\n"
                            "2026-03-29T01:59:59+01:00,45.6,ok,23.1,C,ok,0\r\n"
                            "2026-03-29T03:00:00+02:00,45.7,ok,23.1,C,ok,0\r\n"));
    }
};

QTEST_GUILESS_MAIN(ExportFormatTest)
#include "export_format_test.moc"
