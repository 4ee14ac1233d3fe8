#include "ChartRig.h"
#include "charts/ChartScale.h"

#include <QAction>
#include <QPointer>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(ChartKind)

namespace {

QTimer* timerOf(ChartWindow* chart) {
    return chart->findChild<QTimer*>(QStringLiteral("Timer1"));
}

} // namespace

class ChartLiveWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Ticks on the open chart, the way its timer would; counts the fresh windows a full trace
    // brings.
    void tickSequence_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("windows");
        QTest::addColumn<int>("segments");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("first point draws nothing") << rh << 300.0 << 1 << 1 << 0;
        QTest::newRow("then one segment a tick") << rh << 300.0 << 3 << 1 << 2;
        QTest::newRow("299 segments fill the chart") << rh << 300.0 << 300 << 2 << 0;
        QTest::newRow("the fresh chart plots again") << tem << 300.0 << 302 << 2 << 1;
        QTest::newRow("N = 2: every second tick fills it") << tem << 2.0 << 4 << 3 << 0;
        QTest::newRow("N = 2: first point of the third") << rh << 2.0 << 5 << 3 << 0;
        QTest::newRow("N = 1 plots nothing") << rh << 1.0 << 5 << 1 << 0;
    }
    void tickSequence() {
        QFETCH(ChartKind, kind);
        QFETCH(double, points);
        QFETCH(int, ticks);
        QFETCH(int, windows);
        QFETCH(int, segments);
        ChartRig rig;
        (kind == ChartKind::Humidity ? rig.state.chartLimits.HumPoints
                                     : rig.state.chartLimits.TemPoints) = points;
        QSet<ChartWindow*> seen;
        ChartWindow* ticked = nullptr; // closed when full, deleted only by the event loop
        for (int tick = 0; tick < ticks; ++tick) {
            ticked = rig.charts.openLiveChart(kind);
            seen.insert(ticked);
            ticked->Timer1_Timer();
        }
        ChartWindow* last = rig.charts.openLiveChart(kind);
        seen.insert(last);
        QCOMPARE(seen.size(), windows);
        QCOMPARE(last->trace().size(), segments);
        QVERIFY(last->timerEnabled());
        // Every tick refreshes the labels, also one that plots nothing.
        QCOMPARE(ticked->caption("lblvalue"),
                 kind == ChartKind::Humidity ? rig.humidity : rig.temperature);
        QCOMPARE(ticked->caption("LBLVALTOP"), QStringLiteral("100"));
    }

    // The trace lands where the scale puts each reading, on the window as rendered.
    void renderedHeights_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("reading");
        QTest::addColumn<double>("height");
        QTest::newRow("GRAPH1 50") << ChartKind::Humidity << "50.0" << 2500.0;
        QTest::newRow("GRAPH1 above the top") << ChartKind::Humidity << "105" << 900.0;
        QTest::newRow("GRAPH1 not a number") << ChartKind::Humidity << "----" << 4000.0;
        QTest::newRow("GRAPH2 -20") << ChartKind::Temperature << "-20" << 4600.0;
        QTest::newRow("GRAPH2 below -top") << ChartKind::Temperature << "-150" << 7100.0;
        QTest::newRow("GRAPH2 75") << ChartKind::Temperature << "75" << 1750.0;
    }
    void renderedHeights() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, reading);
        QFETCH(double, height);
        ChartRig rig;
        rig.humidity = rig.temperature = reading;
        ChartWindow* chart = rig.charts.openLiveChart(kind);
        for (int tick = 0; tick < 40; ++tick)
            chart->Timer1_Timer();
        const double x = pointX(20.5, 300);
        QVERIFY(traceOnlyAt(*chart, x, height));
        // Covered and uncovered: painted again from what it keeps.
        chart->repaint();
        QVERIFY(traceOnlyAt(*chart, x, height));
        // A new size starts a clean chart, as the live charts always did.
        chart->resize(chart->width() + 20, chart->height());
        QVERIFY(traceHeightsAt(*chart, x).isEmpty());
    }

    void timeLabelsAndInterval() {
        ChartRig rig;
        rig.clock.set(QDateTime(QDate(2003, 5, 2), QTime(23, 55, 0)));
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Humidity);
        QCOMPARE(chart->caption("LBLT1"), QStringLiteral("23:55:00"));
        QCOMPARE(chart->caption("LBLT3"), QStringLiteral("24:05:00"));
        QCOMPARE(chart->caption("LBLT2"), QString());
        QCOMPARE(chart->pos(), QPoint(420, 0));
        rig.sampling = QStringLiteral("5 Sec");
        chart->Timer1_Timer();
        QCOMPARE(timerOf(chart)->interval(), 5000);
        // The next chart, opened when this one is full, is labelled afresh.
        rig.clock.advanceMilliseconds(1500 * 1000);
        for (int tick = 0; tick < 299; ++tick)
            chart->Timer1_Timer();
        ChartWindow* fresh = rig.charts.liveChart(ChartKind::Humidity);
        QVERIFY(fresh != chart);
        QCOMPARE(fresh->caption("LBLT1"), QStringLiteral("00:20:00"));
        QCOMPARE(fresh->caption("LBLT3"), QStringLiteral("00:45:00"));
    }

    void closingResetsTheChart() {
        ChartRig rig;
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Temperature);
        chart->Timer1_Timer();
        QCOMPARE(rig.state.chartProgress.TemStarted, 1);
        QTimer* timer = timerOf(chart);
        chart->close();
        QVERIFY(!timer->isActive());
        QCOMPARE(rig.state.chartProgress.TemStarted, 0);
        QVERIFY(rig.charts.liveChart(ChartKind::Temperature) == nullptr);
        QVERIFY(rig.charts.openLiveChart(ChartKind::Temperature) != chart);
    }

    void unitChangeClosesOnlyTheTemperatureChart() {
        ChartRig rig;
        ChartWindow* humidity = rig.charts.openLiveChart(ChartKind::Humidity);
        rig.charts.openLiveChart(ChartKind::Temperature);
        rig.charts.closeTemperatureChart();
        QVERIFY(rig.charts.liveChart(ChartKind::Temperature) == nullptr);
        QCOMPARE(rig.charts.liveChart(ChartKind::Humidity), humidity);
    }

    void printSendsTheChartImage() {
        ChartRig rig;
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Humidity);
        for (int tick = 0; tick < 10; ++tick)
            chart->Timer1_Timer();
        chart->findChild<QAction*>(QStringLiteral("MNUPRINT"))->trigger();
        QCOMPARE(rig.printer.images.size(), 1);
        const QImage printed = rig.printer.images.first();
        QCOMPARE(printed, chart->chartImage());
        QVERIFY(traceOnlyAt(*chart, pointX(5.5, 300), 2500));
    }
};

QTEST_MAIN(ChartLiveWindowTest)
#include "chart_live_window_test.moc"
