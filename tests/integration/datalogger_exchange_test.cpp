#include "FakeClock.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "device/datalogger/Datalogger.h"
#include "device/datalogger/LoggerExchange.h"
#include "device/datalogger/WholeSetDownload.h"
#include "device/link/MeterLink.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "logic/datalogger/LoggerCommands.h"
#include "logic/link/LiveReading.h"

#include <QTest>
#include <numeric>

namespace {

double waited(const FakeWaiter& waiter) {
    return std::accumulate(waiter.waits.begin(), waiter.waits.end(), 0.0);
}

// A meter the test scripts byte by byte.
struct ScriptRig {
    FakeClock clock{QDateTime(QDate(2003, 12, 31), QTime(23, 59, 59))};
    ScriptedSerialPort serial;
    FakeWaiter waiter{&clock};
    LoggerExchange exchange{serial, waiter, clock};
    QStringList progress;
    LoggerExchange::Progress report = [this](const QString& text) { progress << text; };

    ScriptRig() { serial.open(1); }
    ExchangeResult request(char command) {
        if (command == LoggerCommand::Status)
            return exchange.requestStatus();
        if (command == LoggerCommand::Clock)
            return exchange.requestClock();
        return exchange.requestDirectory(3);
    }
};

// A meter that sends the copies of a set the test lists, one for each "K", over a session as
// meter-logger opens it.
struct CopiesRig {
    FakeClock clock;
    ScriptedSerialPort serial;
    FakeWaiter waiter{&clock};
    LiveReading reading;
    QObject owner;
    MeterLink link{&owner, serial, waiter, reading};
    Datalogger session{link, serial, waiter, clock};

    explicit CopiesRig(const QList<QByteArray>& copies) {
        serial.open(1);
        serial.responder = [this, copies](const QByteArray&) {
            return copies.value(serial.writes.size() - 1);
        };
    }
};

// Set 1 of two records: start, interval, record count, then the records.
const QByteArray wholeSet = QByteArray::fromHex("031231235950 0014 0002 02354543 02364544");
// The same length with record 2's humidity changed: in step, its digits BCD.
const QByteArray alteredSet = QByteArray::fromHex("031231235950 0014 0002 02354543 02364744");
const QByteArray byteLost = wholeSet.left(13) + wholeSet.mid(14);
const QByteArray cutShort = wholeSet.left(14);

} // namespace

class LoggerExchangeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A surplus byte after a reply: the status is asked again, the others' is dropped.
    void surplusByte_data() {
        QTest::addColumn<char>("command");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("writes");
        QTest::newRow("status") << LoggerCommand::Status << 9 << 2;
        QTest::newRow("clock") << LoggerCommand::Clock << 6 << 1;
        // A leading byte, then 10 a set.
        QTest::newRow("directory") << LoggerCommand::Directory << 31 << 1;
    }
    void surplusByte() {
        QFETCH(char, command);
        QFETCH(int, length);
        QFETCH(int, writes);
        ScriptRig rig;
        int surplus = 1;
        rig.serial.responder = [&](const QByteArray&) {
            return QByteArray(length + std::exchange(surplus, 0), '\x01');
        };
        const ExchangeResult result = rig.request(command);
        QVERIFY(result.done());
        QCOMPARE(result.reply.size(), length);
        QCOMPARE(rig.serial.writes.size(), writes);
        QCOMPARE(rig.serial.bytesWaiting(), 0);
    }

    void statusGivesUpOnAGarbledMeter() {
        ScriptRig rig;
        rig.serial.responder = [](const QByteArray&) { return QByteArray(10, '\x11'); };
        QCOMPARE(rig.exchange.requestStatus().outcome, ExchangeOutcome::TimedOut);
        QCOMPARE(rig.serial.writes.size(), 10);
    }

    void silentMeterTimesOut_data() {
        QTest::addColumn<char>("command");
        QTest::newRow("status") << LoggerCommand::Status;
        QTest::newRow("directory") << LoggerCommand::Directory;
    }
    void silentMeterTimesOut() {
        QFETCH(char, command);
        ScriptRig rig;
        // A few bytes, then nothing: the time-out, 3 s, counts from the last byte.
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 50)
                rig.serial.feed("\x01\x02");
        };
        QCOMPARE(rig.request(command).outcome, ExchangeOutcome::TimedOut);
        QVERIFY(qAbs(waited(rig.waiter) - 3.5) < 0.055);
        QVERIFY(rig.waiter.waits.size() > 100);
    }

    // The meter's memory erased since its status was read: the leading byte, then quiet.
    void directoryOfNoSets() {
        ScriptRig rig;
        rig.serial.responder = [](const QByteArray&) { return QByteArray(1, '\0'); };
        const ExchangeResult result = rig.exchange.requestDirectory(3);
        QVERIFY(result.done());
        QCOMPARE(result.reply, QByteArray(1, '\0'));
    }

    void closedPortTimesOutAtOnce() {
        ScriptRig rig;
        rig.serial.unplug();
        QCOMPARE(rig.request(LoggerCommand::Clock).outcome, ExchangeOutcome::TimedOut);
        QCOMPARE(rig.request(LoggerCommand::Directory).outcome, ExchangeOutcome::TimedOut);
        QVERIFY(rig.waiter.waits.isEmpty());
    }

    void directoryArrivingInPieces() {
        ScriptRig rig;
        // Two entries: start, interval, records.
        const QByteArray reply =
            QByteArray::fromHex("02 031231235950 0014 0003 040228235959 0001 0102");
        // Pieces that end on 8, 10 and 20 bytes: the count is of tens of bytes collected.
        rig.serial.responder = [&reply](const QByteArray&) { return reply.left(8); };
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 10)
                rig.serial.feed(reply.mid(8, 2));
            if (rig.waiter.waits.size() == 20)
                rig.serial.feed(reply.mid(10, 10));
            if (rig.waiter.waits.size() == 250)
                rig.serial.feed(reply.mid(20));
        };
        const ExchangeResult result = rig.exchange.requestDirectory(2, rig.report);
        QVERIFY(result.done());
        QCOMPARE(result.reply, reply);
        QCOMPARE(rig.progress, (QStringList{" 0 SETS COMPLETED", " 1 SETS COMPLETED",
                                            " 2 SETS COMPLETED", " 2 SETS COMPLETED"}));
    }

    // The meter stops after two and a half records; the clock's time of day jumps meanwhile.
    void downloadCutShort() {
        ScriptRig rig;
        // Header (start, interval, records), then three records.
        const QByteArray bytes =
            QByteArray::fromHex("031231235950 0014 0005 02354543 72051200 80990053");
        rig.serial.responder = [&bytes](const QByteArray&) { return bytes.left(18); };
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 3)
                rig.clock.set(QDateTime(QDate(2003, 12, 31), QTime(0, 0, 1)));
            if (rig.waiter.waits.size() == 150)
                rig.serial.feed(bytes.mid(18, 6));
        };
        const ExchangeResult result =
            rig.exchange.download(LoggerCommandBuffer().download(1), rig.report);
        QVERIFY(result.done());
        QCOMPARE(result.reply, bytes.left(24));
        QCOMPARE(rig.progress, (QStringList{"2 RECORDS COMPLETED", "3 RECORDS COMPLETED"}));
        // Two chunks, each with its pause of 0.02 s, and the line's 2 s of silence.
        QVERIFY(waited(rig.waiter) < 1.5 + 2 * 0.02 + 2 + 0.01);
    }

    void setAskedForUntilWhole_data() {
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::addColumn<int>("retries");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<WholeSetDownload::Outcome>("outcome");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<int>("listed");
        // A whole copy ends the moment its last byte is in; any other waits for the silence.
        QTest::addColumn<double>("seconds");
        using Outcome = WholeSetDownload::Outcome;
        QTest::newRow("whole") << QList{wholeSet} << 2 << false << Outcome::Whole << 1 << wholeSet
                               << 2 << 0.02;
        QTest::newRow("byte lost, then whole") << QList{byteLost, wholeSet} << 2 << false
                                               << Outcome::Whole << 2 << wholeSet << 2 << 2.04;
        QTest::newRow("byte added, then whole") << QList{wholeSet + '\xFF', wholeSet} << 2 << false
                                                << Outcome::Whole << 2 << wholeSet << 2 << 0.04;
        QTest::newRow("every copy damaged")
            << QList{byteLost, byteLost, byteLost, wholeSet} << 2 << false << Outcome::Damaged << 3
            << QByteArray() << 0 << 6.06;
        QTest::newRow("no retries") << QList{byteLost, wholeSet} << 0 << false << Outcome::Damaged
                                    << 1 << QByteArray() << 0 << 2.02;
        QTest::newRow("cut short, then damaged")
            << QList{cutShort, byteLost, byteLost} << 2 << false << Outcome::Short << 3 << cutShort
            << 1 << 6.06;
        QTest::newRow("verified") << QList{wholeSet, wholeSet} << 0 << true << Outcome::Whole << 2
                                  << wholeSet << 2 << 0.04;
        QTest::newRow("verified by the third copy")
            << QList{wholeSet, alteredSet, alteredSet} << 1 << true << Outcome::Whole << 3
            << alteredSet << 2 << 0.06;
        QTest::newRow("no two copies agree")
            << QList{wholeSet, alteredSet, wholeSet} << 0 << true << Outcome::Unconfirmed << 2
            << QByteArray() << 0 << 0.04;
        QTest::newRow("verified copies cut short are not kept")
            << QList{cutShort, cutShort} << 0 << true << Outcome::Short << 2 << QByteArray() << 0
            << 4.04;
    }
    void setAskedForUntilWhole() {
        QFETCH(QList<QByteArray>, sent);
        QFETCH(int, retries);
        QFETCH(bool, verify);
        QFETCH(WholeSetDownload::Outcome, outcome);
        QFETCH(int, copies);
        QFETCH(QByteArray, kept);
        QFETCH(int, listed);
        QFETCH(double, seconds);
        CopiesRig rig(sent);
        const WholeSetDownload result = WholeSetDownload::fetch(
            rig.session, LoggerCommandBuffer().download(1), 2, {retries, verify});
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.copies, copies);
        QCOMPARE(rig.serial.writes.size(), copies);
        QCOMPARE(result.data.bytes(), kept);
        QCOMPARE(result.listed, listed);
        QVERIFY2(qAbs(waited(rig.waiter) - seconds) < 0.005,
                 qPrintable(QString::number(waited(rig.waiter))));
    }
};

QTEST_GUILESS_MAIN(LoggerExchangeTest)
#include "datalogger_exchange_test.moc"
