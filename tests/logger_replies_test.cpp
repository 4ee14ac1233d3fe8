#include "link/LiveReading.h"
#include "logger/RecordTime.h"
#include "logger/SetDirectory.h"
#include "logger/SetDownload.h"
#include "logger/StatusReply.h"

#include <QTest>

namespace {

QByteArray statusBytes(int id, int sets, int used, int interval) {
    QByteArray bytes;
    for (int word : {id, 0})
        bytes.append(char(word >> 8)).append(char(word & 0xFF));
    bytes.append(char(sets));
    for (int word : {used, interval})
        bytes.append(char(word >> 8)).append(char(word & 0xFF));
    return bytes;
}

// Header: 03-12-31 23:59:50, interval 20 s, three records announced.
const QByteArray HeaderBytes = QByteArray::fromHex("031231235950"
                                                   "0014"
                                                   "0003");

} // namespace

// Decoding the datalogger's replies into what the windows show.
class LoggerRepliesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusTexts_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("sets");
        QTest::newRow("empty memory") << statusBytes(1234, 0, 0, 2) << "32 K"
                                      << " 2  sec"
                                      << "1234"
                                      << "0";
        QTest::newRow("12800 bytes used") << statusBytes(7, 3, 12800, 60) << "19.5 K"
                                          << " 60  sec"
                                          << "7"
                                          << "3";
        QTest::newRow("32256 bytes used") << statusBytes(65535, 1, 32256, 65535) << ".5 K"
                                          << " 65535  sec"
                                          << "65535"
                                          << "1";
        QTest::newRow("no sets whatever the count says") << statusBytes(0, 0, 12800, 0) << "32 K"
                                                         << " 0  sec"
                                                         << "0"
                                                         << "0";
    }
    void statusTexts() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, remaining);
        QFETCH(QString, interval);
        QFETCH(QString, id);
        QFETCH(QString, sets);
        const std::optional<StatusReply> status = StatusReply::decode(reply);
        QVERIFY(status);
        QCOMPARE(status->remainingText(), remaining);
        QCOMPARE(status->intervalText(), interval);
        QCOMPARE(status->idCodeText(), id);
        QCOMPARE(status->setCountText(), sets);
    }

    void statusNeedsNineBytes() {
        const QByteArray reply = statusBytes(1, 1, 1, 1);
        QVERIFY(!StatusReply::decode(reply.left(8)));
        QVERIFY(!StatusReply::decode(reply + '\0'));
    }

    void clockTexts() {
        const std::optional<MeterStamp> clock =
            MeterStamp::fromBytes(QByteArray::fromHex("030502143015"));
        QVERIFY(clock);
        QCOMPARE(clock->clockText(), QStringLiteral("03-05-02-----14:30:15"));
        QCOMPARE(clock->setStartText(), QStringLiteral("03-05-02----14:30:15"));
        QCOMPARE(MeterStamp::fromBytes(QByteArray(6, '\0'))->setStartText(),
                 QStringLiteral("00-00-00----00:00:00"));
        QVERIFY(!MeterStamp::fromBytes(QByteArray::fromHex("0305021430")));
    }

    void directoryReadsOnlyWhatArrived_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("entries");
        QTest::newRow("nothing") << 0 << 0;
        QTest::newRow("empty memory") << 1 << 0;
        QTest::newRow("first entry short") << 10 << 0;
        QTest::newRow("one entry") << 11 << 1;
        QTest::newRow("second entry short") << 20 << 1;
        QTest::newRow("three entries") << 31 << 3;
    }
    void directoryReadsOnlyWhatArrived() {
        QFETCH(int, length);
        QFETCH(int, entries);
        const QByteArray full = QByteArray::fromHex("03"
                                                    "031231235950"
                                                    "0014"
                                                    "0003"
                                                    "040228235959"
                                                    "0001"
                                                    "0102"
                                                    "990101000000"
                                                    "003c"
                                                    "ffff");
        const SetDirectory directory(full.left(length));
        QCOMPARE(directory.entryCount(), entries);
        const QStringList starts{"03-12-31----23:59:50", "04-02-28----23:59:59",
                                 "99-01-01----00:00:00"};
        const QList<int> counts{3, 258, 65535};
        for (int set = 0; set <= 4; ++set) {
            const bool present = set >= 1 && set <= entries;
            QCOMPARE(directory.startText(set).has_value(), present);
            QCOMPARE(directory.recordCount(set).has_value(), present);
            if (present) {
                QCOMPARE(*directory.startText(set), starts.at(set - 1));
                QCOMPARE(*directory.recordCount(set), counts.at(set - 1));
            }
        }
    }

    void progressTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("directory 0") << SetDirectory::progressText(1) << " 0 SETS COMPLETED";
        QTest::newRow("directory 2") << SetDirectory::progressText(29) << " 2 SETS COMPLETED";
        QTest::newRow("directory 3") << SetDirectory::progressText(31) << " 3 SETS COMPLETED";
        QTest::newRow("records 812")
            << SetDownload::progressText(10 + 4 * 812 + 3) << "812 RECORDS COMPLETED";
        QTest::newRow("header only") << SetDownload::progressText(10) << "0 RECORDS COMPLETED";
        QTest::newRow("short header") << SetDownload::progressText(7) << "0 RECORDS COMPLETED";
        QTest::newRow("one byte") << SetDownload::progressText(1) << "-2 RECORDS COMPLETED";
        QTest::newRow("caption") << SetDownload::recordListCaption(3, 1)
                                 << " 3  RECORDS IN NO.  1  SET";
    }
    void progressTexts() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    void downloadRows_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QStringList>("rows");
        const QStringList all{"03-12-31\t23:59:50\t54.3\t23.5\tC\t",
                              "04-01-01\t00:00:10\t20.0\t-120.5\tF\tLOW",
                              "04-01-01\t00:00:30\t5.3\tOL\tC\t"};
        QTest::newRow("whole set") << 22 << all;
        QTest::newRow("cut in the third record") << 21 << all.mid(0, 2);
        QTest::newRow("header only") << 10 << QStringList();
        QTest::newRow("header short") << 9 << QStringList();
    }
    void downloadRows() {
        QFETCH(int, length);
        QFETCH(QStringList, rows);
        const SetDownload download((HeaderBytes + QByteArray::fromHex("02354543"
                                                                      "72051200"
                                                                      "80990053"))
                                       .left(length));
        QCOMPARE(download.recordsArrived(), int(rows.size()));
        QCOMPARE(download.header().has_value(), length >= SetDownload::HeaderLength);
        if (!download.header())
            return;
        QCOMPARE(download.header()->intervalSeconds, 20);
        RecordTime time(download.header()->start, download.header()->intervalSeconds);
        for (int r = 1; r <= 3; ++r, time.next())
            QCOMPARE(download.rowText(r, time),
                     r <= rows.size() ? std::optional<QString>(rows.at(r - 1)) : std::nullopt);
        QVERIFY(!download.rowText(0, time));
    }

    void decodedRecordLeavesTheReading() {
        const SetDownload download(HeaderBytes + QByteArray::fromHex("02354543"));
        LiveReading reading;
        reading.HumidityText = QStringLiteral("untouched");
        QVERIFY(!download.decodeRecord(2, reading));
        QCOMPARE(reading.HumidityText, QStringLiteral("untouched"));
        QVERIFY(download.decodeRecord(1, reading));
        QCOMPARE(reading.HumidityText, QStringLiteral("54.3"));
        QCOMPARE(reading.TemperatureText, QStringLiteral("23.5"));
        QCOMPARE(reading.BatteryLow, 0);
    }
};

QTEST_APPLESS_MAIN(LoggerRepliesTest)
#include "logger_replies_test.moc"
