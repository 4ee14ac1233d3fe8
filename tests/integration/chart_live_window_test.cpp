#include "ChartRig.h"
#include "logic/charts/ChartScale.h"
#include "ui/lists/PrintListReport.h"

#include <QAction>
#include <QTest>
#include <QTimer>

class ChartLiveWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The trace lands where the scale puts the reading, on the window as rendered; a change of
    // unit closes the temperature chart alone, and it waits for a first point again.
    void temperatureChart() {
        ChartRig rig;
        rig.temperature = QStringLiteral("-150");
        ChartWindow* humidity = rig.charts.openLiveChart(ChartKind::Humidity);
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Temperature);
        for (int tick = 0; tick < 40; ++tick)
            chart->Timer1_Timer();
        const double x = pointX(20.5, 300);
        QVERIFY(traceOnlyAt(*chart, x, 7100));
        // Covered and uncovered: painted again from what it keeps.
        chart->repaint();
        QVERIFY(traceOnlyAt(*chart, x, 7100));
        chart->findChild<QAction*>(QStringLiteral("MNUPRINT"))->trigger();
        QCOMPARE(rig.printer.images, QList<QImage>{chart->chartImage()});
        // A new size starts a clean chart, as the live charts always did.
        chart->resize(chart->width() + 20, chart->height());
        QVERIFY(!traceOnlyAt(*chart, x, 7100));

        QCOMPARE(rig.state.charts[ChartKind::Temperature].progress.Started, 1);
        QTimer* timer = chart->findChild<QTimer*>(QStringLiteral("Timer1"));
        rig.charts.closeTemperatureChart();
        QVERIFY(!timer->isActive());
        QCOMPARE(rig.state.charts[ChartKind::Temperature].progress.Started, 0);
        QVERIFY(rig.charts.liveChart(ChartKind::Temperature) == nullptr);
        QCOMPARE(rig.charts.liveChart(ChartKind::Humidity), humidity);
    }

    // The charts share the printer with the lists: while a list report prints, every chart's
    // PRINT is greyed and a PRINT that comes anyway adds nothing to the report's document; once
    // the report is done, the charts print again.
    void chartsWaitForAListReport() {
        ChartRig rig;
        rig.addRecord(QStringLiteral("45.6"), QStringLiteral("23.1"));
        rig.addRecord(QStringLiteral("46.0"), QStringLiteral("23.4"));
        ChartWindow* live = rig.charts.openLiveChart(ChartKind::Humidity);
        ChartWindow* recorded = rig.openRecordedChart(ChartKind::Temperature);
        const auto offered = [](const ChartWindow* chart) {
            return chart->findChild<QAction*>(chart->layout().printMenuName)->isEnabled();
        };
        QList<bool> offeredDuringReport;
        rig.waiter.onWait = [&](double) {
            offeredDuringReport << offered(live) << offered(recorded);
            live->PRINT_Click();
        };
        PrintListReport(rig.records, rig.printer, rig.waiter, rig.dialogs);
        QCOMPARE(offeredDuringReport, QList<bool>(4, false));
        QCOMPARE(rig.printer.images.size(), 0);
        QCOMPARE(rig.printer.documentsEnded, 1);
        QVERIFY(offered(live) && offered(recorded));
        recorded->PRINT_Click();
        QCOMPARE(rig.printer.images.size(), 1);
    }

    // Labels, interval and the fresh chart that follows a full one.
    void timeLabelsAndInterval() {
        ChartRig rig;
        rig.clock.set(QDateTime(QDate(2003, 5, 2), QTime(23, 55, 0)));
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Humidity);
        QCOMPARE(ChartRig::caption(chart, "LBLT1"), QStringLiteral("23:55:00"));
        QCOMPARE(ChartRig::caption(chart, "LBLT3"), QStringLiteral("24:05:00"));
        QCOMPARE(chart->pos(), QPoint(420, 0));
        rig.sampling = QStringLiteral("5 Sec");
        chart->Timer1_Timer();
        QCOMPARE(chart->findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 5000);
        QCOMPARE(ChartRig::caption(chart, "lblvalue"), rig.humidity);
        // The next chart, opened when this one is full, is labelled afresh.
        rig.clock.advanceMilliseconds(1500 * 1000);
        for (int tick = 0; tick < 299; ++tick)
            chart->Timer1_Timer();
        ChartWindow* fresh = rig.charts.liveChart(ChartKind::Humidity);
        QVERIFY(fresh != chart);
        QCOMPARE(ChartRig::caption(fresh, "LBLT1"), QStringLiteral("00:20:00"));
        QCOMPARE(ChartRig::caption(fresh, "LBLT3"), QStringLiteral("00:45:00"));
    }
};

QTEST_MAIN(ChartLiveWindowTest)
#include "chart_live_window_test.moc"
