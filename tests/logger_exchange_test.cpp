#include "FakeClock.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "SimSerialPort.h"
#include "link/LiveReading.h"
#include "link/MeterLink.h"
#include "logger/LoggerCommandBuffer.h"
#include "logger/LoggerCommands.h"
#include "logger/LoggerExchange.h"
#include "logger/PollPause.h"
#include "logger/SetDirectory.h"
#include "logger/SetDownload.h"
#include "logger/StatusReply.h"

#include <QTest>
#include <QTimer>
#include <numeric>

namespace {

double waited(const FakeWaiter& waiter) {
    return std::accumulate(waiter.waits.begin(), waiter.waits.end(), 0.0);
}

// The datalogger exchanges against the simulated meter's engine, in process. The engine starts
// with three sets of 12, 1 and 30 records.
struct SimRig {
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(14, 30, 15))};
    SimSerialPort serial{&clock};
    FakeWaiter waiter{&clock};
    LoggerExchange exchange{serial, waiter, clock};

    SimRig() { serial.open(1); }
    void meter(const QString& line) {
        QCOMPARE(serial.engine().control(line), QStringLiteral("ok"));
    }
};

// A meter the test scripts byte by byte.
struct ScriptRig {
    FakeClock clock{QDateTime(QDate(2003, 12, 31), QTime(23, 59, 59))};
    ScriptedSerialPort serial;
    FakeWaiter waiter{&clock};
    LoggerExchange exchange{serial, waiter, clock};

    ScriptRig() { serial.open(1); }
};

const QByteArray Y = LoggerCommand::bytes(LoggerCommand::Status);

} // namespace

class LoggerExchangeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusFromTheMeter_data() {
        QTest::addColumn<bool>("erased");
        QTest::addColumn<int>("sets");
        QTest::addColumn<int>("used");
        QTest::newRow("0 sets") << true << 0 << 0;
        QTest::newRow("3 sets") << false << 3 << 3 * 10 + (12 + 1 + 30) * 4;
    }
    void statusFromTheMeter() {
        QFETCH(bool, erased);
        QFETCH(int, sets);
        QFETCH(int, used);
        SimRig rig;
        if (erased)
            rig.meter(QStringLiteral("erase"));
        const ExchangeResult result = rig.exchange.requestStatus();
        QVERIFY(result.done());
        const std::optional<StatusReply> status = StatusReply::decode(result.reply);
        QVERIFY(status);
        QCOMPARE(status->setCount, sets);
        QCOMPARE(status->usedBytes, used);
        QCOMPARE(status->idCode, 1234);
        QCOMPARE(rig.serial.writes, QList<QByteArray>{Y});

        const ExchangeResult directory = rig.exchange.requestDirectory(status->setCount);
        QVERIFY(directory.done());
        QCOMPARE(SetDirectory(directory.reply).entryCount(), sets);
    }

    void statusIsAskedAgainAfterALongReply() {
        SimRig rig;
        rig.meter(QStringLiteral("extra 1"));
        const ExchangeResult result = rig.exchange.requestStatus();
        QVERIFY(result.done());
        QCOMPARE(result.reply.size(), StatusReply::Length);
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{Y, Y}));
    }

    void statusGivesUpOnAGarbledMeter() {
        ScriptRig rig;
        rig.serial.responder = [](const QByteArray&) { return QByteArray(10, '\x11'); };
        const ExchangeResult result = rig.exchange.requestStatus();
        QCOMPARE(result.outcome, ExchangeOutcome::TimedOut);
        QCOMPARE(rig.serial.writes.size(), LoggerExchange::MaxStatusRequests);
    }

    void silentMeterTimesOut_data() {
        QTest::addColumn<char>("command");
        QTest::newRow("status") << LoggerCommand::Status;
        QTest::newRow("clock") << LoggerCommand::Clock;
        QTest::newRow("directory") << LoggerCommand::Directory;
    }
    void silentMeterTimesOut() {
        QFETCH(char, command);
        SimRig rig;
        rig.meter(QStringLiteral("silent on"));
        // A few bytes, then nothing: the time-out counts from the last byte.
        rig.serial.engine().control(QStringLiteral("raw 01 02"));
        const ExchangeResult result =
            command == LoggerCommand::Status  ? rig.exchange.requestStatus()
            : command == LoggerCommand::Clock ? rig.exchange.requestClock()
                                              : rig.exchange.requestDirectory(3);
        QCOMPARE(result.outcome, ExchangeOutcome::TimedOut);
        QVERIFY(waited(rig.waiter) > LoggerExchange::ReplyTimeoutSeconds - 0.005);
        QVERIFY(waited(rig.waiter) < LoggerExchange::ReplyTimeoutSeconds + 0.1);
        QVERIFY(rig.waiter.waits.size() > 100);
    }

    void closedPortTimesOutAtOnce() {
        SimRig rig;
        rig.serial.unplug();
        QCOMPARE(rig.exchange.requestClock().outcome, ExchangeOutcome::TimedOut);
        QCOMPARE(rig.exchange.requestDirectory(1).outcome, ExchangeOutcome::TimedOut);
        QVERIFY(rig.waiter.waits.isEmpty());
    }

    void endingProgramCancelsTheWait_data() {
        QTest::addColumn<char>("command");
        QTest::newRow("status") << LoggerCommand::Status;
        QTest::newRow("clock") << LoggerCommand::Clock;
        QTest::newRow("directory") << LoggerCommand::Directory;
        QTest::newRow("download") << LoggerCommand::Download;
    }
    void endingProgramCancelsTheWait() {
        QFETCH(char, command);
        SimRig rig;
        rig.meter(QStringLiteral("silent on"));
        rig.waiter.onWait = [&rig](double) {
            if (rig.waiter.waits.size() == 5)
                rig.waiter.stopAll();
        };
        LoggerCommandBuffer buffer;
        const ExchangeResult result =
            command == LoggerCommand::Status     ? rig.exchange.requestStatus()
            : command == LoggerCommand::Clock    ? rig.exchange.requestClock()
            : command == LoggerCommand::Download ? rig.exchange.download(buffer.download(1))
                                                 : rig.exchange.requestDirectory(3);
        QCOMPARE(result.outcome, ExchangeOutcome::Cancelled);
        QCOMPARE(rig.waiter.waits.size(), 5);
    }

    void surplusByteAfterTheClockIsDropped() {
        SimRig rig;
        rig.meter(QStringLiteral("extra 1"));
        const ExchangeResult result = rig.exchange.requestClock();
        QVERIFY(result.done());
        QCOMPARE(MeterStamp::fromBytes(result.reply)->clockText(),
                 QStringLiteral("03-05-02-----14:30:15"));
        QCOMPARE(result.reply.size(), MeterStamp::Length);
        QCOMPARE(rig.serial.bytesWaiting(), 0);
    }

    void surplusByteAfterTheDirectoryIsDropped() {
        SimRig rig;
        rig.meter(QStringLiteral("extra 1"));
        QStringList progress;
        const ExchangeResult result = rig.exchange.requestDirectory(
            3, [&progress](const QString& text) { progress << text; });
        QVERIFY(result.done());
        QCOMPARE(result.reply.size(), SetDirectory::expectedLength(3));
        QCOMPARE(*SetDirectory(result.reply).recordCount(3), 30);
        QCOMPARE(progress, QStringList{" 3 SETS COMPLETED"});
    }

    void directoryArrivingInPieces() {
        ScriptRig rig;
        const QByteArray reply = QByteArray::fromHex("02"
                                                     "031231235950"
                                                     "0014"
                                                     "0003"
                                                     "040228235959"
                                                     "0001"
                                                     "0102");
        rig.serial.responder = [&reply](const QByteArray&) { return reply.left(8); };
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 10)
                rig.serial.feed(reply.mid(8, 10));
            if (rig.waiter.waits.size() == 250)
                rig.serial.feed(reply.mid(18));
        };
        QStringList progress;
        const ExchangeResult result = rig.exchange.requestDirectory(
            2, [&progress](const QString& text) { progress << text; });
        QVERIFY(result.done());
        QCOMPARE(result.reply, reply);
        QCOMPARE(progress,
                 (QStringList{" 0 SETS COMPLETED", " 1 SETS COMPLETED", " 2 SETS COMPLETED"}));
    }

    void downloadOfASet() {
        SimRig rig;
        LoggerCommandBuffer buffer;
        buffer.interval(2);
        QStringList progress;
        const ExchangeResult result = rig.exchange.download(
            buffer.download(1), [&progress](const QString& text) { progress << text; });
        QVERIFY(result.done());
        QCOMPARE(rig.serial.writes, QList<QByteArray>{QByteArray::fromHex("4b010200000000")});
        const SetDownload download(result.reply);
        QCOMPARE(download.recordsArrived(), 12);
        QCOMPARE(download.header()->start.setStartText(), QStringLiteral("24-01-31----23:58:30"));
        QCOMPARE(download.header()->intervalSeconds, 30);
        QCOMPARE(progress, QStringList{"12 RECORDS COMPLETED"});
        QCOMPARE(rig.waiter.waits.first(), LoggerExchange::DownloadChunkPauseSeconds);
        QCOMPARE(waited(rig.waiter), LoggerExchange::DownloadChunkPauseSeconds +
                                         LoggerExchange::DownloadSilenceSeconds);
    }

    void downloadOfAMissingSetEndsInSilence() {
        SimRig rig;
        LoggerCommandBuffer buffer;
        const ExchangeResult result = rig.exchange.download(buffer.download(9));
        QVERIFY(result.done());
        QVERIFY(result.reply.isEmpty());
        QCOMPARE(waited(rig.waiter), LoggerExchange::DownloadSilenceSeconds);
    }

    // The meter stops after two and a half records; the clock's time of day jumps meanwhile.
    void downloadCutShort() {
        ScriptRig rig;
        const QByteArray bytes = QByteArray::fromHex("031231235950"
                                                     "0014"
                                                     "0005"
                                                     "02354543"
                                                     "72051200"
                                                     "80990053");
        rig.serial.responder = [&bytes](const QByteArray&) { return bytes.left(18); };
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 3)
                rig.clock.set(QDateTime(QDate(2003, 12, 31), QTime(0, 0, 1)));
            if (rig.waiter.waits.size() == 150)
                rig.serial.feed(bytes.mid(18, 6));
        };
        QStringList progress;
        const ExchangeResult result =
            rig.exchange.download(LoggerCommandBuffer().download(1),
                                  [&progress](const QString& text) { progress << text; });
        QVERIFY(result.done());
        QCOMPARE(result.reply, bytes.left(24));
        QCOMPARE(SetDownload(result.reply).recordsArrived(), 3);
        QCOMPARE(progress, (QStringList{"2 RECORDS COMPLETED", "3 RECORDS COMPLETED"}));
        QVERIFY(waited(rig.waiter) < 1.5 + 2 * LoggerExchange::DownloadChunkPauseSeconds +
                                         LoggerExchange::DownloadSilenceSeconds + 0.01);
    }

    void settingsReachTheMeter() {
        SimRig rig;
        LoggerCommandBuffer buffer;
        rig.exchange.send(buffer.idCode(4321));
        rig.exchange.send(buffer.interval(60));
        QCOMPARE(rig.serial.engine().idCode(), 4321);
        QCOMPARE(rig.serial.engine().loggerInterval(), 60);
        QCOMPARE(rig.exchange.erase(), ExchangeOutcome::Done);
        QCOMPARE(rig.serial.writes.last(), QByteArrayLiteral("EEE"));
        QCOMPARE(rig.waiter.waits, QList<double>{LoggerExchange::ErasePauseSeconds});
        QCOMPARE(rig.serial.engine().memory().setCount(), 0);
    }

    void pollPausesForTheExchange() {
        ScriptedSerialPort serial;
        FakeWaiter waiter;
        LiveReading reading;
        QTimer poll;
        auto* link = new MeterLink(nullptr, serial, waiter, reading, &poll);
        poll.start(1000);
        {
            const PollPause pause(*link);
            QVERIFY(!poll.isActive());
        }
        QVERIFY(poll.isActive());
        {
            const PollPause outer(*link);
            {
                // ERASE or a panel key while a datalogger exchange waits.
                const PollPause inner(*link);
            }
            QVERIFY(!poll.isActive());
        }
        QVERIFY(poll.isActive());
        {
            const PollPause pause(*link);
            delete link;
        }
        QVERIFY(!poll.isActive());
    }
};

QTEST_GUILESS_MAIN(LoggerExchangeTest)
#include "logger_exchange_test.moc"
