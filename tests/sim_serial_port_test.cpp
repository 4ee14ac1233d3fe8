// The in-process serial port with the simulated meter behind it.
#include "FakeClock.h"
#include "SimSerialPort.h"

#include <QSignalSpy>
#include <QtTest>

class SimSerialPortTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnlyConfiguredPorts();
    void repliesAreWaitingAtOnce();
    void closedPortSendsNothing();
    void delayedReplyArrivesLater();
    void delayedReplyDoesNotOutliveTheOpening();
    void unplugAndReplug();
    void controlLinesReachThePort();
};

void SimSerialPortTest::opensOnlyConfiguredPorts() {
    FakeClock clock;
    SimSerialPort port(&clock);
    port.availablePorts = {2};
    QVERIFY(!port.open(1));
    QVERIFY(!port.isOpen());
    QVERIFY(!port.errorText().isEmpty());
    QVERIFY(port.open(2));
    QCOMPARE(port.portNumber(), 2);
}

void SimSerialPortTest::repliesAreWaitingAtOnce() {
    FakeClock clock;
    SimSerialPort port(&clock);
    QVERIFY(port.open(1));
    port.write(" ");
    QCOMPARE(port.bytesWaiting(), 8);
    port.write("Y");
    QCOMPARE(port.bytesWaiting(), 17);
    QCOMPARE(port.read(8).size(), 8);
    QCOMPARE(port.readAll().size(), 9);
    QCOMPARE(port.bytesWaiting(), 0);
    QCOMPARE(port.writes, (QList<QByteArray>{" ", "Y"}));
}

void SimSerialPortTest::closedPortSendsNothing() {
    FakeClock clock;
    SimSerialPort port(&clock);
    port.write("EEE");
    QCOMPARE(port.engine().memory().setCount(), 3);
    QVERIFY(port.writes.isEmpty());
}

void SimSerialPortTest::delayedReplyArrivesLater() {
    FakeClock clock;
    SimSerialPort port(&clock);
    QVERIFY(port.open(1));
    port.engine().control("delay 30");
    port.write(" ");
    QCOMPARE(port.bytesWaiting(), 0);
    QTRY_COMPARE(port.bytesWaiting(), 8);
}

void SimSerialPortTest::delayedReplyDoesNotOutliveTheOpening() {
    FakeClock clock;
    SimSerialPort port(&clock);
    QVERIFY(port.open(1));
    port.engine().control("delay 20");
    port.write(" ");
    port.close();
    QVERIFY(port.open(1));
    QTest::qWait(80);
    QCOMPARE(port.bytesWaiting(), 0);
}

void SimSerialPortTest::unplugAndReplug() {
    FakeClock clock;
    SimSerialPort port(&clock);
    QSignalSpy lost(&port, &SerialPort::deviceLost);
    QVERIFY(port.open(1));
    port.write(" ");
    port.unplug();
    QCOMPARE(lost.count(), 1);
    QVERIFY(!port.isOpen());
    QCOMPARE(port.bytesWaiting(), 0);
    QVERIFY(!port.open(1));
    port.write(" ");
    QCOMPARE(port.bytesWaiting(), 0);

    port.replug();
    QVERIFY(port.open(1));
    port.write(" ");
    QCOMPARE(port.bytesWaiting(), 8);
    // Unplugging a closed port has nobody to tell.
    port.close();
    port.unplug();
    QCOMPARE(lost.count(), 1);
}

void SimSerialPortTest::controlLinesReachThePort() {
    FakeClock clock;
    SimSerialPort port([&clock] { return clock.now(); });
    QSignalSpy lost(&port, &SerialPort::deviceLost);
    QVERIFY(port.open(1));
    QCOMPARE(port.engine().control("raw 41 42"), QStringLiteral("ok"));
    QCOMPARE(port.readAll(), QByteArray("AB"));

    port.engine().control("unplug");
    QCOMPARE(lost.count(), 1);
    QVERIFY(!port.plugged());
    port.engine().control("replug");
    QVERIFY(port.open(1));
}

QTEST_GUILESS_MAIN(SimSerialPortTest)
#include "sim_serial_port_test.moc"
