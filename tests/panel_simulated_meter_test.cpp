#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "SimSerialPort.h"
#include "link/MeterLink.h"
#include "panel/PanelWindow.h"
#include "state/SharedState.h"

#include <QLabel>
#include <QTest>

// The panel against the simulated meter's engine in-process, behind the serial seam: what the
// meter is told to measure is what the panel shows, through the real poll and decoders.
class PanelSimulatedMeterTest : public QObject {
    Q_OBJECT

    struct Rig {
        SharedState state;
        FakeClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 41, 0))};
        SimSerialPort serial{&clock};
        FakeDialogs dialogs;
        FakePrinter printer;
        FakeWaiter waiter{&clock};
        Platform platform{serial, dialogs, printer, clock, waiter};
        PanelWindow panel{state, platform};

        Rig() {
            state.ComPortNumber = 1;
            serial.open(1);
            meter(QStringLiteral("drift off"));
        }
        void meter(const QString& line) {
            QCOMPARE(serial.engine().control(line), QStringLiteral("ok"));
        }
        QString caption(const char* name) const {
            return panel.label(QString::fromLatin1(name))->text();
        }
    };

private Q_SLOTS:
    void readingsReachThePanel_data() {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::newRow("plain") << QStringList{"rh 42.5", "temp 21.3"} << "42.5"
                               << "21.3"
                               << "C";
        QTest::newRow("whole values") << QStringList{"rh 60", "temp 20"} << "60.0"
                                      << "20.0"
                                      << "C";
        QTest::newRow("below ten") << QStringList{"rh 5.3", "temp 0.5"} << "5.3"
                                   << "0.5"
                                   << "C";
        QTest::newRow("frost") << QStringList{"rh 80", "temp -5.3"} << "80.0"
                               << "-5.3"
                               << "C";
        QTest::newRow("fahrenheit") << QStringList{"rh 50", "temp 25", "unit F"} << "50.0"
                                    << "77.0"
                                    << "F";
        QTest::newRow("hundreds") << QStringList{"rh 10", "temp 105.3"} << "10.0"
                                  << "105.3"
                                  << "C";
        QTest::newRow("overload") << QStringList{"rh 10", "overload on"} << "10.0"
                                  << "OL"
                                  << "C";
    }
    void readingsReachThePanel() {
        QFETCH(QStringList, controls);
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        Rig rig;
        for (const QString& line : controls)
            rig.meter(line);
        rig.panel.link().Timer1_Timer();
        QCOMPARE(rig.caption("LBLVALrh"), humidity);
        QCOMPARE(rig.caption("LBLVALtemp"), temperature);
        QCOMPARE(rig.caption("LBLUNITbot"), unit);
        QCOMPARE(rig.caption("LBLVALtime"), QStringLiteral("09:41"));
    }

    void garbledRepliesCostAttemptsOnly() {
        Rig rig;
        rig.meter(QStringLiteral("rh 33.3"));
        rig.meter(QStringLiteral("extra 3")); // the next reply comes with 3 bytes too many
        rig.panel.link().Timer1_Timer();
        QCOMPARE(rig.serial.writes.count(QByteArray(" ")), 2);
        QCOMPARE(rig.caption("LBLVALrh"), QStringLiteral("33.3"));
        rig.meter(QStringLiteral("drop 2")); // and the one after lacks two
        rig.panel.link().Timer1_Timer();
        QCOMPARE(rig.serial.writes.count(QByteArray(" ")), 4);
    }

    void aMeterFallingSilentIsWaitedFor() {
        Rig rig;
        rig.meter(QStringLiteral("silent on"));
        QString shownWhileSilent;
        int rounds = 0;
        rig.waiter.onWait = [&](double seconds) {
            if (seconds == 0.1 && ++rounds == 3) {
                shownWhileSilent = rig.caption("lblcomm");
                rig.meter(QStringLiteral("silent off"));
            }
        };
        rig.panel.link().Timer1_Timer();
        QCOMPARE(shownWhileSilent, QStringLiteral(" NO COM "));
        QVERIFY(!rig.panel.link().inNoDeviceState());
        rig.waiter.onWait = nullptr;
        rig.panel.link().Timer1_Timer();
        QCOMPARE(rig.caption("LBLVALrh").isEmpty(), false);
        QVERIFY(rig.caption("LBLVALrh") != QStringLiteral("----"));
    }
};

QTEST_MAIN(PanelSimulatedMeterTest)
#include "panel_simulated_meter_test.moc"
