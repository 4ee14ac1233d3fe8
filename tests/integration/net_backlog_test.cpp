#include "LoopbackBroker.h"
#include "TestFiles.h"
#include "logic/recording/ExportRow.h"
#include "net/mqtt/BacklogFile.h"
#include "net/mqtt/MeterPublisher.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// A state payload as the logger writes it, told apart by its second.
QByteArray reading(int second) {
    return QStringLiteral("{\"time\":\"2026-12-06T09:45:%1+01:00\",\"relative_humidity_percent\":"
                          "45.6,\"humidity_status\":\"ok\",\"temperature\":null,"
                          "\"temperature_unit\":\"C\",\"temperature_status\":\"overload\","
                          "\"battery_low\":false,\"dew_point\":null}")
        .arg(second, 2, 10, QLatin1Char('0'))
        .toUtf8();
}

// The reading above, as the meter's session hands it over.
ExportRow row(int second) {
    return ExportRow{QDate(2026, 12, 6),
                     QTime(9, 45, second),
                     3600,
                     {ExportValue::Status::Ok, "45.6"},
                     {ExportValue::Status::Overload, {}},
                     'C',
                     false,
                     std::nullopt,
                     TemperatureUnit::Meter};
}

// No file of this process may grow past `bytes` (0: as before).
void limitFileSize(rlim_t bytes) {
    static const rlimit before = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        return limit;
    }();
    rlimit limit = before;
    if (bytes > 0)
        limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

QByteArray header(qint64 taken) {
    return "taken " + QByteArray::number(taken).rightJustified(19, '0') + '\n';
}

// "dropped N, unreadable N, pending: payloads" of what open() found.
QString summary(const std::variant<BacklogFile::Loaded, BacklogFile::Unusable>& opened) {
    if (const auto* unusable = std::get_if<BacklogFile::Unusable>(&opened))
        return QStringLiteral("unusable: ") + unusable->reason;
    const BacklogFile::Loaded& loaded = std::get<BacklogFile::Loaded>(opened);
    QStringList pending;
    for (const BacklogFile::Pending& each : loaded.pending)
        pending << QString::fromUtf8(each.payload);
    return QStringLiteral("dropped %1, unreadable %2, pending: %3")
        .arg(loaded.dropped)
        .arg(loaded.unreadable)
        .arg(pending.join(u' '));
}

QString pendingText(std::initializer_list<int> seconds) {
    QStringList payloads;
    for (const int second : seconds)
        payloads << QString::fromUtf8(reading(second));
    return payloads.join(u' ');
}

qint64 peakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// The file that keeps a meter's readings for the broker across restarts: only readings this
// program wrote ever come back out of it, however it was left.
class NetBacklogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void whatALeftFileGivesBack_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("outcome");
        const QByteArray one = reading(1) + '\n';
        const QByteArray two = reading(2) + '\n';
        QTest::newRow("readings") << header(26) + one + two << 10
                                  << "dropped 0, unreadable 0, pending: " + pendingText({1, 2});
        QTest::newRow("taken up to the second")
            << header(26 + one.size()) + one + two << 10
            << "dropped 0, unreadable 0, pending: " + pendingText({2});
        QTest::newRow("junk between readings")
            << header(26) + one + "hello world\n\x01\xfe\x80\x7f\n{\"time\":1}\n" +
                   reading(3).replace("\"ok\"", "\"fine\"") + '\n' + two
            << 10 << "dropped 0, unreadable 4, pending: " + pendingText({1, 2});
        QTest::newRow("zeros before a reading")
            << header(26) + one + QByteArray(4096, '\0') + two << 10
            << "dropped 0, unreadable 1, pending: " + pendingText({1, 2});
        QTest::newRow("a header pointing mid-line")
            << header(26 + 40) + one + two << 10
            << "dropped 0, unreadable 1, pending: " + pendingText({2});
        QTest::newRow("an oversized line")
            << header(26) + one + QByteArray(300000, 'x') + '\n' + two << 10
            << "dropped 0, unreadable 1, pending: " + pendingText({1, 2});
        QTest::newRow("more than the limit")
            << header(26) + one + two + reading(3) + '\n' + reading(4) + '\n' + reading(5) + '\n'
            << 3 << "dropped 2, unreadable 0, pending: " + pendingText({3, 4, 5});
        QTest::newRow("a torn last line")
            << header(26) + one + two.left(50) << 10
            << "dropped 0, unreadable 0, pending: " + pendingText({1});
    }
    void whatALeftFileGivesBack() {
        QFETCH(QByteArray, body);
        QFETCH(int, limit);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        QVERIFY(writeFile(path, body));
        BacklogFile file;
        QCOMPARE(summary(file.open(path, limit)), outcome);
    }

    // Nothing pending, the file starts over: a header and nothing else.
    void aFileWithNothingPendingStartsOver() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        QVERIFY(writeFile(path, header(26) + "junk\n" + QByteArray(100, '\0')));
        BacklogFile file;
        QCOMPARE(summary(file.open(path, 10)),
                 QStringLiteral("dropped 0, unreadable 2, pending: "));
        QCOMPARE(readFile(path), header(26));
    }

    // A file far larger than what is kept is read in pieces.
    void aLargeFileIsReadInPieces() {
#if defined(__SANITIZE_ADDRESS__)
        // AddressSanitizer keeps freed pieces in quarantine, so the peak tells nothing here.
        QSKIP("memory is measured in the build without sanitizers");
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        {
            QFile large(path);
            QVERIFY(large.open(QIODevice::WriteOnly));
            large.write(header(26));
            const QByteArray block(1 << 20, 'x');
            for (int megabyte = 0; megabyte < 96; ++megabyte)
                QVERIFY(large.write(block) == block.size());
            large.write('\n' + reading(1) + '\n');
        }
        const qint64 before = peakResidentKiB();
        BacklogFile file;
        QCOMPARE(summary(file.open(path, 10)),
                 "dropped 0, unreadable 1, pending: " + pendingText({1}));
        QVERIFY2(peakResidentKiB() - before < 32 * 1024,
                 qPrintable(QStringLiteral("%1 KiB more").arg(peakResidentKiB() - before)));
    }

    // Once the broker has everything the file is emptied, every time, even when the next reading
    // ends where the last one did.
    void everythingTakenEmptiesTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        {
            BacklogFile file;
            QVERIFY(std::holds_alternative<BacklogFile::Loaded>(file.open(path, 10)));
            for (const int second : {1, 2}) {
                const std::optional<qint64> end = file.append(reading(second));
                QCOMPARE(end, qint64(26 + reading(second).size() + 1));
                QVERIFY(file.markTaken(*end));
                QCOMPARE(readFile(path), header(26));
            }
            const std::optional<qint64> taken = file.append(reading(3));
            QVERIFY(taken && file.append(reading(4)));
            QVERIFY(file.markTaken(*taken));
        }
        BacklogFile again;
        const auto opened = again.open(path, 10);
        QCOMPARE(summary(opened), "dropped 0, unreadable 0, pending: " + pendingText({4}));
        QVERIFY(again.markTaken(std::get<BacklogFile::Loaded>(opened).pending.back().end));
        QCOMPARE(readFile(path), header(26));
    }

    // One logger at a time has a meter's file; the next may have it once the first is gone.
    void aSecondOpenIsRefusedWhileTheFirstHasIt() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        {
            BacklogFile first;
            QVERIFY(std::holds_alternative<BacklogFile::Loaded>(first.open(path, 10)));
            BacklogFile second;
            const auto refused = second.open(path, 10);
            QVERIFY(std::holds_alternative<BacklogFile::Unusable>(refused) &&
                    std::get<BacklogFile::Unusable>(refused).heldByAnother);
        }
        BacklogFile third;
        QVERIFY(std::holds_alternative<BacklogFile::Loaded>(third.open(path, 10)));
    }

    // A write the disk refuses says why, leaves no part of its line, and no later reading is
    // written past the gap until the file is taken up again.
    void aFailedWriteSaysWhyAndLeavesNoPartOfItsLine() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        {
            BacklogFile file;
            QVERIFY(std::holds_alternative<BacklogFile::Loaded>(file.open(path, 10)));
            const std::optional<qint64> end = file.append(reading(1));
            QVERIFY(end);
            limitFileSize(static_cast<rlim_t>(*end + 50));
            const std::optional<qint64> refused = file.append(reading(2));
            limitFileSize(0);
            QCOMPARE(refused, std::nullopt);
            QCOMPARE(file.failure(), QStringLiteral("File too large"));
            QCOMPARE(QFileInfo(path).size(), *end);
            QCOMPARE(file.append(reading(3)), std::nullopt);
            file.resume();
            QVERIFY(file.append(reading(4)));
        }
        BacklogFile again;
        QCOMPARE(summary(again.open(path, 10)),
                 "dropped 0, unreadable 0, pending: " + pendingText({1, 4}));
    }

    // With the meters stopped, what the file could not take during the run goes there for the
    // next one; what it still cannot take is said, with the count.
    void aStopKeepsWhatTheFileMissed_data() {
        QTest::addColumn<bool>("stillFull");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("givenUp");
        QTest::newRow("room again")
            << false << "dropped 0, unreadable 0, pending: " + pendingText({1, 2, 3}) << "";
        QTest::newRow("still full")
            << true << "dropped 0, unreadable 0, pending: " + pendingText({1})
            << "2 File too large";
    }
    void aStopKeepsWhatTheFileMissed() {
        QFETCH(bool, stillFull);
        QFETCH(QString, outcome);
        QFETCH(QString, givenUp);
        QTemporaryDir dir;
        PublishSettings settings;
        settings.connection.broker.host = QStringLiteral("127.0.0.1");
        settings.connection.broker.port = freeLoopbackPort();
        settings.backlogFile = dir.filePath(QStringLiteral("hall.mqtt-backlog"));
        {
            QObject parent;
            auto* publisher = new MeterPublisher(&parent, settings, QStringLiteral("hall"));
            QString said;
            connect(publisher, &MeterPublisher::readingsGivenUp, &parent,
                    [&said](qsizetype readings, const QString& reason) {
                        said = QStringLiteral("%1 %2").arg(readings).arg(reason);
                    });
            QSignalSpy finished(publisher, &MeterPublisher::finished);
            QVERIFY(publisher->start());
            const std::shared_ptr<BacklogFile> file = publisher->backlogFile();
            QVERIFY(file);
            for (const int second : {1, 2, 3}) {
                if (second == 2)
                    limitFileSize(static_cast<rlim_t>(QFileInfo(settings.backlogFile).size() + 50));
                publisher->publishReading(row(second), file->append(reading(second)).value_or(-1));
            }
            if (!stillFull)
                limitFileSize(0);
            publisher->finish();
            QTRY_COMPARE(finished.count(), 1);
            limitFileSize(0);
            QCOMPARE(said, givenUp);
        }
        BacklogFile again;
        QCOMPARE(summary(again.open(settings.backlogFile, 10)), outcome);
    }
};

QTEST_GUILESS_MAIN(NetBacklogTest)
#include "net_backlog_test.moc"
