#include "link/FrameDecoder.h"
#include "link/LiveReading.h"
#include "recording/DataFileConverter.h"
#include "recording/DataFileRow.h"

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
                                                "\"ok\",\"battery_low\":false}\n");
        QTest::newRow("saved from the meter, overload, battery")
            << QByteArray("\"2\t03-08-31\t23:59:59\t05.6\t-OL\tF\tLOW\"")
            << QByteArray("2003-08-31T23:59:59+01:00,5.6,ok,,F,underload,1\r\n")
            << QByteArray("{\"time\":\"2003-08-31T23:59:59+01:00\","
                          "\"relative_humidity_percent\":5.6,\"humidity_status\":\"ok\","
                          "\"temperature\":null,\"temperature_unit\":\"F\",\"temperature_status\":"
                          "\"underload\",\"battery_low\":true}\n");
        QTest::newRow("no reading, a negative zero, saved without battery")
            << QByteArray("\"3\t01-01-2027\t00:00:00\t----\t-0.0\tC\t\"")
            << QByteArray("2027-01-01T00:00:00+01:00,,no_reading,0.0,C,ok,0\r\n")
            << QByteArray("{\"time\":\"2027-01-01T00:00:00+01:00\","
                          "\"relative_humidity_percent\":null,\"humidity_status\":\"no_reading\","
                          "\"temperature\":0.0,\"temperature_unit\":\"C\",\"temperature_status\":"
                          "\"ok\",\"battery_low\":false}\n");
        QTest::newRow("overload above, negative below")
            << QByteArray(" 1\t02-29-2024\t13:00:00\tOL\t-12.5\tC")
            << QByteArray("2024-02-29T13:00:00+01:00,,overload,-12.5,C,ok,0\r\n")
            << QByteArray("{\"time\":\"2024-02-29T13:00:00+01:00\","
                          "\"relative_humidity_percent\":null,\"humidity_status\":\"overload\","
                          "\"temperature\":-12.5,\"temperature_unit\":\"C\",\"temperature_status\":"
                          "\"ok\",\"battery_low\":false}\n");
    }
    void dataFileLinesInBothFormats() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, csv);
        QFETCH(QByteArray, json);
        const std::optional<DataFileRow> row = parseDataFileRow(line);
        QVERIFY(row);
        ZoneOffsets offsets(QTimeZone(3600));
        const ExportRow exported = exportRow(*row, offsets);
        QByteArray csvOut, jsonOut;
        appendCsvLine(csvOut, exported);
        appendJsonLine(jsonOut, exported);
        QCOMPARE(csvOut, csv);
        QCOMPARE(jsonOut, json);
    }

    // A decoded frame as the logger records it: the meter's texts, the PC's time and offset.
    void liveReading() {
        LiveReading reading;
        decodeLiveFrame(QByteArray("\x02\x12\x34\xa1\x23\x14\x56\x03", 8), reading);
        const QDateTime takenAt(QDate(2026, 12, 6), QTime(9, 45, 7), QTimeZone(-5 * 3600));
        QByteArray csv;
        appendCsvLine(csv, liveExportRow(takenAt, reading));
        QCOMPARE(csv, QByteArray("2026-12-06T09:45:07-05:00,45.6,ok,,C,underload,1\r\n"));
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

    // Across the spring clock change, in blocks of the file, with a damaged line between.
    void convertsAFileInItsZone() {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.dat"));
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(" 1\t03-29-2026\t01:59:59\t45.6\t23.1\tC\r\n"
                   " 2\t03-29-2026\t0?:00:00\t45.6\t23.1\tC\r\n\r\n"
                   " 3\t03-29-2026\t03:00:00\t45.7\t23.1\tC\r");
        file.close();
        QList<qint64> skipped;
        const ConversionResult result =
            convertDataFile(in, out, ExportFormat::Csv, QTimeZone("Europe/Berlin"),
                            [&](qint64 line) { skipped << line; });
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(skipped, QList<qint64>{2});
        QCOMPARE(result.rowsWritten, 2);
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
