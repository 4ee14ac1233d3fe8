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
// meter is told to measure is what the panel shows, through the real poll and decoders. (The
// end-to-end run shows Fahrenheit; the link's retries are checked against a scripted meter.)
class PanelSimulatedMeterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingsReachThePanel_data() {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::newRow("frost") << QStringList{"rh 80", "temp -5.3"} << "80.0"
                               << "-5.3";
        QTest::newRow("overload") << QStringList{"rh 10", "overload on"} << "10.0"
                                  << "OL";
    }
    void readingsReachThePanel() {
        QFETCH(QStringList, controls);
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        SharedState state;
        FakeClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 41, 0))};
        SimSerialPort serial{&clock};
        FakeDialogs dialogs;
        FakePrinter printer;
        FakeWaiter waiter{&clock};
        PanelWindow panel{state, {serial, dialogs, printer, clock, waiter}};
        state.ComPortNumber = 1;
        serial.open(1);
        for (const QString& line : QStringList{"drift off"} + controls)
            QCOMPARE(serial.engine().control(line), QStringLiteral("ok"));
        panel.link().Timer1_Timer();
        QCOMPARE(panel.humidityCaption(), humidity);
        QCOMPARE(panel.temperatureCaption(), temperature);
        QCOMPARE(panel.unitCaption(), QStringLiteral("C"));
        QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("LBLVALtime"))->text(),
                 QStringLiteral("09:41"));
    }
};

QTEST_MAIN(PanelSimulatedMeterTest)
#include "panel_simulated_meter_test.moc"
