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
        void poll() { panel.link().Timer1_Timer(); }
    };

private Q_SLOTS:
    void readingsReachThePanel_data() {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::newRow("frost") << QStringList{"rh 80", "temp -5.3"} << "80.0"
                               << "-5.3"
                               << "C";
        QTest::newRow("fahrenheit") << QStringList{"rh 50", "temp 25", "unit F"} << "50.0"
                                    << "77.0"
                                    << "F";
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
        rig.poll();
        QCOMPARE(rig.panel.humidityCaption(), humidity);
        QCOMPARE(rig.panel.temperatureCaption(), temperature);
        QCOMPARE(rig.panel.unitCaption(), unit);
        QCOMPARE(rig.panel.findChild<QLabel*>(QStringLiteral("LBLVALtime"))->text(),
                 QStringLiteral("09:41"));
    }

    void garbledRepliesCostAttemptsOnly() {
        Rig rig;
        rig.meter(QStringLiteral("rh 33.3"));
        rig.meter(QStringLiteral("extra 3")); // the next reply comes with 3 bytes too many
        rig.poll();
        QCOMPARE(rig.serial.writes.count(QByteArray(" ")), 2);
        QCOMPARE(rig.panel.humidityCaption(), QStringLiteral("33.3"));
        rig.meter(QStringLiteral("drop 2")); // and the one after lacks two
        rig.poll();
        QCOMPARE(rig.serial.writes.count(QByteArray(" ")), 4);
    }
};

QTEST_MAIN(PanelSimulatedMeterTest)
#include "panel_simulated_meter_test.moc"
