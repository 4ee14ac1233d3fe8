#include "logic/datalogger/DownloadCheck.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggerBytes.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "logic/datalogger/PanelCommandBuffer.h"
#include "logic/datalogger/RecordTime.h"
#include "logic/datalogger/StatusReply.h"

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
        const LoggedSetData download(
            QByteArray::fromHex("031231235950 0014 0003 02354543 72051200 80990053"));
        RecordTime time(download.header()->start, download.header()->intervalSeconds);
        QStringList rows;
        for (int record = 1; record <= download.recordsArrived(); ++record, time.next())
            rows << download.rowText(record, time).value_or(QString());
        QCOMPARE(rows, (QStringList{"03-12-31\t23:59:50\t54.3\t23.5\tC\t",
                                    "04-01-01\t00:00:10\t20.0\t-120.5\tF\tLOW",
                                    "04-01-01\t00:00:30\t5.3\tOL\tC\t"}));
    }

    // What of a download is listed, and what the user is told. Header: 03-12-31 23:59:50,
    // interval 20 s; records "02354543", "72051200" and "80990053" (overloaded).
    void downloadCheck_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("setRecords");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* name, const char* hex, int setRecords,
                            const QString& message, const QString& caption) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << setRecords << message << caption;
        };
        const auto damaged = [](int listed, int of) {
            return QStringLiteral("THE SET ARRIVED DAMAGED!\n\r %1  OF  %2  RECORDS LISTED")
                .arg(listed)
                .arg(of);
        };
        row("whole set", "031231235950 0014 0003 02354543 72051200 80990053", 3, QString(),
            QStringLiteral(" 3  RECORDS IN NO.  1  SET"));
        row("cut short on a record", "031231235950 0014 0003 02354543", 3,
            QStringLiteral(" 2  RECORDS DID NOT ARRIVE!"),
            QStringLiteral(" 1  OF  3  RECORDS IN NO.  1  SET"));
        row("nothing", "", 3, QStringLiteral(" 3  RECORDS DID NOT ARRIVE!"),
            QStringLiteral(" 0  OF  3  RECORDS IN NO.  1  SET"));
        // Three stray bytes after the first record: the second is out of step.
        row("bytes added", "031231235950 0014 0003 02354543 1a2b3c 72051200 80990053", 3,
            damaged(1, 3), QStringLiteral(" 1  RECORDS IN NO.  1  SET, DAMAGED"));
        // A byte lost that leaves every digit BCD: only the total shows it.
        row("byte lost", "031231235950 0014 0003 02354543 051200 80990053", 3, damaged(2, 3),
            QStringLiteral(" 2  RECORDS IN NO.  1  SET, DAMAGED"));
        row("more records than the set", "031231235950 0014 0003 02354543 72051200 80990053", 2,
            damaged(2, 2), QStringLiteral(" 2  RECORDS IN NO.  1  SET, DAMAGED"));
        row("header cut short", "031231235950 00", 3, damaged(0, 3),
            QStringLiteral(" 0  RECORDS IN NO.  1  SET, DAMAGED"));
        // Any digit of a record that is not BCD puts it out of step.
        const QString secondCaption = QStringLiteral(" 1  RECORDS IN NO.  1  SET, DAMAGED");
        for (const auto& [name, second] :
             {std::pair{"temperature tens", "0a354543"}, std::pair{"temperature units", "02a54543"},
              std::pair{"temperature tenths", "023a4543"}, std::pair{"humidity tens", "02354a43"},
              std::pair{"humidity units", "023545a3"}, std::pair{"humidity tenths", "0235454a"}})
            row(name, (QByteArray("031231235950 0014 0003 02354543 ") + second).constData(), 2,
                damaged(1, 2), secondCaption);
        row("overloaded temperature holds anything", "031231235950 0014 0003 8aff0543", 1,
            QString(), QStringLiteral(" 1  RECORDS IN NO.  1  SET"));
        // A header whose start is not the meter's clock puts every record out of step.
        const QString noneCaption = QStringLiteral(" 0  RECORDS IN NO.  1  SET, DAMAGED");
        for (const auto& [name, start] :
             {std::pair{"start not BCD", "03123123595a"}, std::pair{"year not BCD", "a31231235950"},
              std::pair{"month 13", "031331235950"}, std::pair{"month 0", "030031235950"},
              std::pair{"day 32", "031232235950"}, std::pair{"day 0", "031200235950"},
              std::pair{"hour 24", "031231245950"}, std::pair{"minute 60", "031231236050"},
              std::pair{"second 60", "031231235960"}})
            row(name, (QByteArray(start) + "0014 0003 02354543").constData(), 1, damaged(0, 1),
                noneCaption);
    }
    void downloadCheck() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, setRecords);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        const DownloadCheck check = DownloadCheck::of(LoggedSetData(bytes), setRecords);
        QCOMPARE(check.message(), message);
        QCOMPARE(check.recordListCaption(1), caption);
    }
};

QTEST_APPLESS_MAIN(LoggerFramesTest)
#include "datalogger_frames_test.moc"
