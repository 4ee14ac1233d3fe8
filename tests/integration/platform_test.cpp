#include "SimProcess.h"
#include "device/platform/QtSerialPort.h"
#include "device/platform/TermiosSerialPort.h"
#include "device/waits/QtWaiter.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/Twips.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::unique_ptr<SerialPort> makePort(bool termios) {
    if (termios)
        return std::make_unique<TermiosSerialPort>(nullptr);
    return std::make_unique<QtSerialPort>(nullptr);
}

bool inUse(const SerialPort& port) {
    if (const auto* termios = qobject_cast<const TermiosSerialPort*>(&port))
        return termios->inUseByAnother();
    return qobject_cast<const QtSerialPort*>(&port)->inUseByAnother();
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portNumbersMapToDevicesThatMustExist() {
        qunsetenv("METER_COM1");
        QCOMPARE(serialDeviceName(1), QStringLiteral("/dev/ttyS0"));
        qputenv("METER_COM4", "/nonexistent/meter");
        QCOMPARE(serialDeviceName(4), QStringLiteral("/nonexistent/meter"));
        QtSerialPort port(nullptr);
        QVERIFY(!port.open(4));
        QVERIFY(!port.isOpen());
        QVERIFY(!port.open(9));
        // A closed port reads nothing and takes writes without complaint.
        port.write(" ");
        QCOMPARE(port.bytesWaiting(), 0);
        QVERIFY(port.readAll().isEmpty());
        qunsetenv("METER_COM4");
    }

    // Never two programs polling one meter: a device another program holds is refused and said to
    // be in use, whether that program is this one (with either kind of port) or one that only
    // locks the open device.
    void aDeviceInUseIsRefused_data() {
        QTest::addColumn<bool>("firstTermios");
        QTest::addColumn<bool>("secondTermios");
        QTest::newRow("Qt, then Qt") << false << false;
        QTest::newRow("Qt, then terminal") << false << true;
        QTest::newRow("terminal, then Qt") << true << false;
        QTest::newRow("terminal, then terminal") << true << true;
    }
    void aDeviceInUseIsRefused() {
        QFETCH(bool, firstTermios);
        QFETCH(bool, secondTermios);
        SimProcess sim;
        QVERIFY(sim.start());
        const std::unique_ptr<SerialPort> first = makePort(firstTermios);
        const std::unique_ptr<SerialPort> second = makePort(secondTermios);
        QVERIFY(first->openDevice(sim.devicePath()));
        QVERIFY(!second->openDevice(sim.devicePath()));
        QVERIFY(inUse(*second));
        QCOMPARE(second->errorText(), QStringLiteral("in use by another program"));
        first->close();

        const int foreign = ::open(sim.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(foreign >= 0);
        QCOMPARE(::flock(foreign, LOCK_EX | LOCK_NB), 0);
        QVERIFY(!second->openDevice(sim.devicePath()));
        QVERIFY(inUse(*second));
        ::close(foreign);
        QVERIFY(second->openDevice(sim.devicePath()));
        QVERIFY(!inUse(*second));
    }

    // The logger's port reads only when asked: a reply waits whole in the system until then, and a
    // device that goes away closes the port, said once, whether a read or a write finds it gone,
    // until it is opened again.
    void theTerminalPortReadsWhenAskedAndSeesTheDeviceGo_data() {
        QTest::addColumn<bool>("byWriting");
        QTest::newRow("seen by a read") << false;
        QTest::newRow("seen by a write") << true;
    }
    void theTerminalPortReadsWhenAskedAndSeesTheDeviceGo() {
        QFETCH(bool, byWriting);
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("drift off"), QStringLiteral("rh 45.6")}));
        TermiosSerialPort port(nullptr);
        QSignalSpy lost(&port, &SerialPort::deviceLost);
        QVERIFY(port.openDevice(sim.devicePath()));
        port.write(" ");
        QVERIFY(QTest::qWaitFor([&] { return port.bytesWaiting() >= 8; }, 5000));
        QCOMPARE(port.bytesWaiting(), 8);
        const QByteArray frame = port.read(8);
        QCOMPARE(frame.size(), 8);
        QCOMPARE(frame.at(0), '\x02');
        QCOMPARE(port.bytesWaiting(), 0);

        sim.control(QStringLiteral("unplug"));
        QVERIFY(QTest::qWaitFor(
            [&] {
                if (byWriting)
                    port.write(" ");
                else
                    port.readAll();
                return !port.isOpen();
            },
            5000));
        QCOMPARE(lost.size(), 1);
        port.write(" ");
        QCOMPARE(port.bytesWaiting(), 0);
        QCOMPARE(lost.size(), 1);
        sim.control(QStringLiteral("replug"));
        QVERIFY(QTest::qWaitFor([&] { return port.reopen(); }, 5000));
        port.write(" ");
        QVERIFY(QTest::qWaitFor([&] { return port.bytesWaiting() == 8; }, 5000));
    }

    void fileFiltersTurnIntoQtFilters() {
        QCOMPARE(qtFileFilters(QStringLiteral("Data Files (*.dat)|*.dat;*.*|All type[*.*]|*.*|")),
                 QStringList({"Data Files (*.dat) (*.dat *)", "All type[*.*] (*)"}));
        QVERIFY(qtFileFilters(QString()).isEmpty());
    }

    void waitLetsEventsRunAndLastsItsTime() {
        QtWaiter waiter;
        bool timerRan = false;
        QTimer::singleShot(10, this, [&] { timerRan = true; });
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(waiter.WaitSeconds(0.1));
        QVERIFY(elapsed.elapsed() >= 95);
        QVERIFY(timerRan);
    }

    void stoppingEndsWaitsInProgressAndLater() {
        QtWaiter waiter;
        bool innerResult = true;
        // A nested wait, as a poll inside another command's wait would be.
        QTimer::singleShot(10, this, [&] {
            QTimer::singleShot(10, this, [&] { waiter.stopAll(); });
            innerResult = waiter.WaitSeconds(30);
        });
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(!waiter.WaitSeconds(30));
        QVERIFY(!innerResult);
        QVERIFY(elapsed.elapsed() < 5000);
        QVERIFY(!waiter.WaitSeconds(0.01));
    }

    void twipsScaleWithTheScreen() {
        QCOMPARE(Twips(96).toPixels(15), 1);
        QCOMPARE(Twips(144).toPixels(4560), 456);
        QCOMPARE(Twips(96).rect(120, 120, 4335, 6735), QRect(8, 8, 289, 449));
    }
};

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
