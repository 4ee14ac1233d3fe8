#include "LiveApplication.h"
#include "SimProcess.h"
#include "device/link/MeterLink.h"
#include "logic/link/FrameDecoder.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The program against meter-sim on a pseudo-terminal, through the real serial port, waits and
// timers: what the simulator is told to measure is what the panel shows.
class EndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelShowsWhatTheMeterSends() {
        SimProcess sim;
        QVERIFY2(sim.start({"drift off", "rh 80", "temp 21.3"}), "meter-sim did not start");

        LiveApplication meter;
        PanelWindow* panel = meter.choosePort();
        QVERIFY(meter.dialogs.messages.isEmpty());
        const auto caption = [&meter](const char* name) { return meter.caption(name); };

        QTRY_COMPARE_WITH_TIMEOUT(caption("LBLVALrh"), QStringLiteral("80.0"), 5000);
        QCOMPARE(caption("LBLVALtemp"), QStringLiteral("21.3"));
        QCOMPARE(caption("LBLUNITbot"), QStringLiteral("C"));
        QCOMPARE(caption("lblcomm"), QStringLiteral("Com1"));

        sim.control(QStringLiteral("unit F"));
        sim.control(QStringLiteral("battery on"));
        QTRY_COMPARE_WITH_TIMEOUT(caption("LBLUNITbot"), QStringLiteral("F"), 5000);
        QCOMPARE(caption("LBLVALtemp"), QStringLiteral("70.3"));
        QTRY_VERIFY(!panel->findChild<QLabel*>(QStringLiteral("LBLBT"))->isHidden());

        // From here on the checks run from signals: while the meter is away the poll waits in
        // its own loop, and the test's waits run inside it.
        QStringList seenWhileAway;
        QObject::connect(&panel->link(), &MeterLink::noDeviceEntered, panel, [&] {
            seenWhileAway << caption("lblcomm") + QLatin1Char('|') + caption("LBLVALrh");
        });
        int returns = 0;
        QObject::connect(&panel->link(), &MeterLink::noDeviceLeft, panel, [&] { ++returns; });

        // The device disappears as a pulled-out USB adapter does, then comes back.
        sim.control(QStringLiteral("unplug"));
        QTimer::singleShot(2500, panel, [&] { sim.control(QStringLiteral("replug")); });
        QTRY_COMPARE_WITH_TIMEOUT(returns, 1, 10000);
        QCOMPARE(seenWhileAway, QStringList{QStringLiteral(" NO COM |----")});
        QCOMPARE(caption("lblcomm"), QStringLiteral("Com1"));
        QTRY_COMPARE_WITH_TIMEOUT(caption("LBLVALrh"), QStringLiteral("80.0"), 5000);

        // A meter that falls silent costs its fifty attempts, then the panel waits for it.
        sim.control(QStringLiteral("silent on"));
        QTimer::singleShot(2500, panel, [&] { sim.control(QStringLiteral("silent off")); });
        QTRY_COMPARE_WITH_TIMEOUT(returns, 2, 10000);
        QCOMPARE(seenWhileAway.size(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(caption("LBLVALrh"), QStringLiteral("80.0"), 5000);

        panel->close();
        QVERIFY(meter.waiter.stopping());
    }

    // A device opened by its path, as a logger without a screen opens a USB adapter, is opened
    // by that path again once it is back.
    void aDeviceOpenedByPathIsReopenedByPath() {
        SimProcess sim;
        QVERIFY2(sim.start(), "meter-sim did not start");
        qunsetenv("METER_COM1");
        QtSerialPort port(nullptr);
        QVERIFY(port.openDevice(sim.devicePath()));
        QCOMPARE(port.portNumber(), 0);
        QSignalSpy lost(&port, &SerialPort::deviceLost);
        sim.control(QStringLiteral("unplug"));
        QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 5000);
        sim.control(QStringLiteral("replug"));
        QVERIFY(QTest::qWaitFor([&] { return port.reopen(); }, 5000));
        port.write(QByteArrayLiteral(" "));
        QTRY_COMPARE_WITH_TIMEOUT(port.bytesWaiting(), FrameLength, 5000);
    }

    // Unpaced, a full memory's set still arrives whole (10 + 4 x 8189 bytes), though the
    // terminal takes only a few kilobytes at a time.
    void aFullMemoryDownloadArrivesWhole() {
        SimProcess sim;
        QVERIFY2(sim.start({"erase", "fill"}), "meter-sim did not start");
        QtSerialPort port(nullptr);
        QVERIFY(port.open(1));
        QByteArray reply;
        const auto ask = [&](const QByteArray& command, qsizetype bytes) {
            reply.clear();
            port.write(command);
            return QTest::qWaitFor([&] { return (reply += port.readAll()).size() >= bytes; });
        };
        // The control lines take another way in: the memory is full once the status says so.
        QVERIFY(QTest::qWaitFor(
            [&] { return ask("Y", 9) && quint8(reply[5]) * 256 + quint8(reply[6]) == 32766; }));
        ask(QByteArrayLiteral("K\x01\0\0\0\0\0"), 32766);
        QCOMPARE(reply.size(), 32766);
    }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
