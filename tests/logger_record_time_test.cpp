#include "logger/RecordTime.h"

#include <QTest>

// The record times the download rebuilds from a set's start and interval: the second record's.
class LoggerRecordTimeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

QTEST_APPLESS_MAIN(LoggerRecordTimeTest)
#include "logger_record_time_test.moc"
