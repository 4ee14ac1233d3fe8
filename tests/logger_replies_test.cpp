#include "logger/RecordTime.h"
#include "logger/SetDownload.h"
#include "logger/StatusReply.h"

#include <QTest>

// The texts the datalogger's replies are shown in, and the record times the download rebuilds
// from a set's start and interval. Where each field sits in a reply the LOGGER
// window test pins through the simulated meter; which parts of a reply cut short are read, and
// that nothing past the bytes received is, the fuzz targets check.
class LoggerRepliesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The second record's time.
    void nextRecord_data() {
        QTest::addColumn<MeterStamp>("start");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, MeterStamp start, int interval,
                            const char* expected) {
            QTest::newRow(name) << start << interval << QString::fromLatin1(expected);
        };
        row("99 to 00", {99, 12, 31, 23, 59, 59}, 1, "00-01-01 00:00:00");
        row("leap year", {4, 2, 28, 23, 59, 59}, 1, "04-02-29 00:00:00");
        row("common year", {3, 2, 28, 23, 59, 59}, 1, "03-03-01 00:00:00");
        row("year 00 is a leap year", {0, 2, 28, 23, 0, 0}, 3600, "00-02-29 00:00:00");
        row("30-day month", {3, 4, 30, 23, 59, 0}, 60, "03-05-01 00:00:00");
        row("long interval carries hours", {3, 5, 2, 22, 0, 0}, 65535, "03-05-03 16:12:15");
    }
    void nextRecord() {
        QFETCH(MeterStamp, start);
        QFETCH(int, interval);
        QFETCH(QString, expected);
        RecordTime stamp(start, interval);
        stamp.next();
        QCOMPARE(stamp.dateText() + QLatin1Char(' ') + stamp.timeText(), expected);
    }

    void statusTexts() {
        // ID, 0, set count, bytes used, interval.
        const std::optional<StatusReply> status =
            StatusReply::decode(QByteArray::fromHex("ffff 0000 01 7e00 ffff"));
        QVERIFY(status);
        QCOMPARE((QStringList{status->remainingText(), status->intervalText(), status->idCodeText(),
                              status->setCountText()}),
                 (QStringList{".5 K", " 65535  sec", "65535", "1"}));
    }

    // Header: 03-12-31 23:59:50, interval 20 s; then three records.
    void downloadRows() {
        const SetDownload download(
            QByteArray::fromHex("031231235950 0014 0003 02354543 72051200 80990053"));
        RecordTime time(download.header()->start, download.header()->intervalSeconds);
        QStringList rows;
        for (int record = 1; record <= download.recordsArrived(); ++record, time.next())
            rows << download.rowText(record, time).value_or(QString());
        QCOMPARE(rows, (QStringList{"03-12-31\t23:59:50\t54.3\t23.5\tC\t",
                                    "04-01-01\t00:00:10\t20.0\t-120.5\tF\tLOW",
                                    "04-01-01\t00:00:30\t5.3\tOL\tC\t"}));
    }
};

QTEST_APPLESS_MAIN(LoggerRepliesTest)
#include "logger_replies_test.moc"
