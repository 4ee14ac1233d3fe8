#include "logger/LoggerBytes.h"
#include "logger/LoggerCommandBuffer.h"
#include "logger/PanelCommandBuffer.h"
#include "logger/RecordTime.h"
#include "logger/SetDownload.h"
#include "logger/StatusReply.h"

#include <QDateTime>
#include <QTest>

// The datalogger's frames both ways: the parameter frames, byte by byte; the BCD the replies are
// written in, the texts they are shown in, and the record times the download rebuilds from a
// set's start and interval. Where each field sits in a reply the LOGGER window test pins through
// the simulated meter; which parts of a reply cut short are read, and that nothing past the bytes
// received is, the fuzz targets check.
class LoggerFramesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Halves round to even.
    void parameterFrames() {
        LoggerCommandBuffer buffer;
        QCOMPARE(buffer.interval(2.5), QByteArray::fromHex("57000200000000"));
        QCOMPARE(buffer.idCode(65535), QByteArray::fromHex("58ffff00000000"));
        QCOMPARE(buffer.idCode(3.5), QByteArray::fromHex("58000400000000"));
    }

    void parameterRange() {
        for (double valid : {0.0, 65535.0})
            QVERIFY(LoggerCommandBuffer::isValidParameter(valid));
        for (double invalid : {65535.4, -0.4, qInf(), qQNaN()})
            QVERIFY2(!LoggerCommandBuffer::isValidParameter(invalid),
                     qPrintable(QString::number(invalid)));
    }

    // The year's two digits roll over with the century.
    void clockFrame() {
        QCOMPARE(PanelCommandBuffer().setClock(QDateTime(QDate(2100, 1, 1), QTime(0, 0, 0))),
                 QByteArray::fromHex("4400010100000000"));
    }

    void bcdNumbers() {
        const QList<std::pair<int, int>> bytesAndNumbers{
            {0x59, 59}, {0x1A, 1}, {0xA5, 0}}; // a bad low nibble ends it, a bad high one is 0
        for (const auto& [byte, number] : bytesAndNumbers)
            QCOMPARE(bcdNumber(static_cast<quint8>(byte)), number);
    }

    // The second record's time: the seconds carry up to the month and year.
    void nextRecord_data() {
        QTest::addColumn<MeterStamp>("start");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, MeterStamp start, int interval,
                            const char* expected) {
            QTest::newRow(name) << start << interval << QString::fromLatin1(expected);
        };
        row("99 to 00", {99, 12, 31, 23, 59, 59}, 1, "00-01-01 00:00:00");
        row("year 00 is a leap year", {0, 2, 28, 23, 0, 0}, 3600, "00-02-29 00:00:00");
        row("long interval carries hours", {3, 5, 2, 22, 0, 0}, 65535, "03-05-03 16:12:15");
        // Every month's last second, the leap February's too.
        row("January", {3, 1, 31, 23, 59, 59}, 1, "03-02-01 00:00:00");
        row("February", {3, 2, 28, 23, 59, 59}, 1, "03-03-01 00:00:00");
        row("leap February", {4, 2, 28, 23, 59, 59}, 1, "04-02-29 00:00:00");
        row("leap February's end", {4, 2, 29, 23, 59, 59}, 1, "04-03-01 00:00:00");
        row("March", {3, 3, 31, 23, 59, 59}, 1, "03-04-01 00:00:00");
        row("April", {3, 4, 30, 23, 59, 59}, 1, "03-05-01 00:00:00");
        row("May", {3, 5, 31, 23, 59, 59}, 1, "03-06-01 00:00:00");
        row("June", {3, 6, 30, 23, 59, 59}, 1, "03-07-01 00:00:00");
        row("July", {3, 7, 31, 23, 59, 59}, 1, "03-08-01 00:00:00");
        row("August", {3, 8, 31, 23, 59, 59}, 1, "03-09-01 00:00:00");
        row("September", {3, 9, 30, 23, 59, 59}, 1, "03-10-01 00:00:00");
        row("October", {3, 10, 31, 23, 59, 59}, 1, "03-11-01 00:00:00");
        row("November", {3, 11, 30, 23, 59, 59}, 1, "03-12-01 00:00:00");
        row("December", {3, 12, 31, 23, 59, 59}, 1, "04-01-01 00:00:00");
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

QTEST_APPLESS_MAIN(LoggerFramesTest)
#include "logger_frames_test.moc"
