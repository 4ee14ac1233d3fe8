// The in-process serial port with the simulated meter behind it.
#include "FakeClock.h"
#include "SimSerialPort.h"

#include <QSignalSpy>
#include <QtTest>

class SimSerialPortTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnlyConfiguredPorts() {
        FakeClock clock;
        SimSerialPort port(&clock);
        port.availablePorts = {2};
        QVERIFY(!port.open(1));
        QVERIFY(!port.errorText().isEmpty());
        // A closed port sends nothing on.
        port.write("EEE");
        QCOMPARE(port.engine().memory().setCount(), 3);
        QVERIFY(port.open(2));
        QCOMPARE(port.portNumber(), 2);
    }

    void delayedReplyArrivesLaterButNotAfterReopening() {
        FakeClock clock;
        SimSerialPort port(&clock);
        QVERIFY(port.open(1));
        port.engine().control("delay 30");
        port.write(" ");
        QCOMPARE(port.bytesWaiting(), 0);
        QTRY_COMPARE(port.bytesWaiting(), 8);
        port.readAll();
        port.write(" ");
        port.close();
        QVERIFY(port.open(1));
        QTest::qWait(100);
        QCOMPARE(port.bytesWaiting(), 0);
    }

    void unplugAndReplug() {
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
        port.replug();
        QVERIFY(port.open(1));
        port.write(" ");
        QCOMPARE(port.bytesWaiting(), 8);
        // Unplugging a closed port has nobody to tell.
        port.close();
        port.unplug();
        QCOMPARE(lost.count(), 1);
    }

    void controlLinesReachThePort() {
        FakeClock clock;
        SimSerialPort port([&clock] { return clock.now(); });
        QVERIFY(port.open(1));
        QCOMPARE(port.engine().control("raw 41 42"), QStringLiteral("ok"));
        QCOMPARE(port.readAll(), QByteArray("AB"));
        port.engine().control("unplug");
        QVERIFY(!port.isOpen() && !port.open(1));
    }
};

QTEST_GUILESS_MAIN(SimSerialPortTest)
#include "sim_serial_port_test.moc"
