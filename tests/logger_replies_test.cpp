#include "logger/RecordTime.h"
#include "logger/SetDirectory.h"
#include "logger/SetDownload.h"
#include "logger/StatusReply.h"

#include <QTest>

namespace {

// ID, 0, set count, bytes used, interval.
QByteArray statusBytes(int id, int sets, int used, int interval) {
    return QByteArray::fromHex(QStringLiteral("%1 0000 %2 %3 %4")
                                   .arg(id, 4, 16, QLatin1Char('0'))
                                   .arg(sets, 2, 16, QLatin1Char('0'))
                                   .arg(used, 4, 16, QLatin1Char('0'))
                                   .arg(interval, 4, 16, QLatin1Char('0'))
                                   .toLatin1());
}

// Header: 03-12-31 23:59:50, interval 20 s, three records announced; then the three records.
const QByteArray SetBytes =
    QByteArray::fromHex("031231235950 0014 0003 02354543 72051200 80990053");

} // namespace

// Decoding the datalogger's replies into what the windows show.
class LoggerRepliesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusTexts_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("texts"); // remaining, interval, ID, sets
        QTest::newRow("12800 bytes used")
            << statusBytes(7, 3, 12800, 60) << QStringList{"19.5 K", " 60  sec", "7", "3"};
        QTest::newRow("32256 bytes used") << statusBytes(65535, 1, 32256, 65535)
                                          << QStringList{".5 K", " 65535  sec", "65535", "1"};
        QTest::newRow("no sets") << statusBytes(0, 0, 12800, 0)
                                 << QStringList{"32 K", " 0  sec", "0", "0"};
    }
    void statusTexts() {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, texts);
        const std::optional<StatusReply> status = StatusReply::decode(reply);
        QVERIFY(status);
        QCOMPARE((QStringList{status->remainingText(), status->intervalText(), status->idCodeText(),
                              status->setCountText()}),
                 texts);
        QVERIFY(!StatusReply::decode(reply.left(8)));
        QVERIFY(!StatusReply::decode(reply + '\0'));
    }

    void clockTexts() {
        const std::optional<MeterStamp> clock =
            MeterStamp::fromBytes(QByteArray::fromHex("030502143015"));
        QVERIFY(clock);
        QCOMPARE(clock->clockText(), QStringLiteral("03-05-02-----14:30:15"));
        QCOMPARE(clock->setStartText(), QStringLiteral("03-05-02----14:30:15"));
        QVERIFY(!MeterStamp::fromBytes(QByteArray::fromHex("0305021430")));
    }

    void directoryReadsOnlyWhatArrived_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("entries");
        QTest::newRow("second entry short") << 20 << 1;
        QTest::newRow("three entries") << 31 << 3;
    }
    void directoryReadsOnlyWhatArrived() {
        QFETCH(int, length);
        QFETCH(int, entries);
        const SetDirectory directory(
            QByteArray::fromHex("03 031231235950 0014 0003 040228235959 0001 0102 "
                                "990101000000 003c ffff")
                .left(length));
        QCOMPARE(directory.entryCount(), entries);
        const QStringList starts{"03-12-31----23:59:50", "04-02-28----23:59:59",
                                 "99-01-01----00:00:00"};
        const QList<int> counts{3, 258, 65535};
        for (int set = 0; set <= 4; ++set) {
            const bool present = set >= 1 && set <= entries;
            QCOMPARE(directory.startText(set),
                     present ? std::optional(starts.at(set - 1)) : std::optional<QString>());
            QCOMPARE(directory.recordCount(set),
                     present ? std::optional(counts.at(set - 1)) : std::optional<int>());
        }
    }

    void progressTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("records 812")
            << SetDownload::progressText(10 + 4 * 812 + 3) << "812 RECORDS COMPLETED";
        QTest::newRow("short header") << SetDownload::progressText(7) << "0 RECORDS COMPLETED";
        QTest::newRow("one byte") << SetDownload::progressText(1) << "-2 RECORDS COMPLETED";
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
    }
    void downloadRows() {
        QFETCH(int, length);
        QFETCH(QStringList, rows);
        const SetDownload download(SetBytes.left(length));
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
};

QTEST_APPLESS_MAIN(LoggerRepliesTest)
#include "logger_replies_test.moc"
