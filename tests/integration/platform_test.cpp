#include "SimProcess.h"
#include "device/platform/QtSerialPort.h"
#include "device/waits/QtWaiter.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/Twips.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    // be in use, whether that program is this one or one that only locks the open device.
    void aDeviceInUseIsRefused() {
        SimProcess sim;
        QVERIFY(sim.start());
        QtSerialPort first(nullptr);
        QtSerialPort second(nullptr);
        QVERIFY(first.openDevice(sim.devicePath()));
        QVERIFY(!second.openDevice(sim.devicePath()));
        QVERIFY(second.inUseByAnother());
        QCOMPARE(second.errorText(), QStringLiteral("in use by another program"));
        first.close();

        const int foreign = ::open(sim.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(foreign >= 0);
        QCOMPARE(::flock(foreign, LOCK_EX | LOCK_NB), 0);
        QVERIFY(!second.openDevice(sim.devicePath()));
        QVERIFY(second.inUseByAnother());
        ::close(foreign);
        QVERIFY(second.openDevice(sim.devicePath()));
        QVERIFY(!second.inUseByAnother());
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
