#include "ChartRig.h"
#include "charts/ChartScale.h"
#include "charts/RangeDialog.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

namespace {

// The recorded chart of `records` records, humidity k % 100 and temperature k % 100 - 50 unless
// all are given one value.
ChartWindow* chartOf(ChartRig& rig, ChartKind kind, int records, const QString& value = {}) {
    for (int k = 1; k <= records; ++k)
        rig.addRecord(value.isEmpty() ? QString::number(k % 100) : value,
                      value.isEmpty() ? QString::number(k % 100 - 50) : value);
    return rig.openRecordedChart(kind);
}

RangeDialog* openRange(ChartRig& rig, ChartKind kind) {
    rig.charts.recordedChart(kind)->findChild<QAction*>(QStringLiteral("LIMIT"))->trigger();
    return rig.charts.rangeDialog(kind);
}

} // namespace

class ChartRecordedWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The rendered trace of each recorded chart, drawn again whole at a new size.
    void renderedHeights_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<double>("height");
        QTest::newRow("REC_GRAPH 25") << ChartKind::Humidity << "25" << 3250.0;
        QTest::newRow("REC_GRAPH2 -OL") << ChartKind::Temperature << "-OL" << 7100.0;
    }
    void renderedHeights() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, value);
        QFETCH(double, height);
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, kind, 5, value);
        QVERIFY(traceOnlyAt(*chart, 2000, height));
        chart->resize(chart->width() + 30, chart->height());
        QCOMPARE(chart->trace().size(), 4);
        QVERIFY(traceOnlyAt(*chart, 2000, height));
    }

    // The whole set, labelled from its first, middle and last record; one chart at a time.
    void oneRecordedChartAtATime() {
        ChartRig rig;
        ChartWindow* humidity = chartOf(rig, ChartKind::Humidity, 10);
        QCOMPARE((QStringList{humidity->caption("LBLT1"), humidity->caption("LBLT2"),
                              humidity->caption("LBLT3")}),
                 (QStringList{ChartRig::recordTime(1), ChartRig::recordTime(5),
                              ChartRig::recordTime(10)}));
        QCOMPARE(humidity->trace().size(), 9);
        QCOMPARE(humidity->trace().first().p1(), QPointF(1000, upperHeight(1, 100, 0)));
        QSignalSpy polls(&rig.charts, &ChartWindows::pollTimerWanted);
        ChartWindow* temperature = rig.openRecordedChart(ChartKind::Temperature);
        QVERIFY(!humidity->isVisible());
        QCOMPARE(temperature->pos(), QPoint(0, 0));
        QCOMPARE(temperature->caption("LBLUNIT"), QStringLiteral("C"));
        QCOMPARE(temperature->trace().last().p2(), QPointF(5000, temperatureHeight(-40, 100, 0)));
        QCOMPARE(polls.size(), 1);
    }

    void oneRecordLeavesTheLabels() {
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, ChartKind::Temperature, 1);
        QVERIFY(chart->trace().isEmpty());
        QCOMPARE(chart->caption("LBLT1") + chart->caption("LBLUNIT"), QString());
    }

    // A rejected range leaves no chart, keeps the dialog and what was typed.
    void rangeRejected() {
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, ChartKind::Humidity, 20);
        RangeDialog* dialog = openRange(rig, ChartKind::Humidity);
        QCOMPARE(dialog->pos().x(), chart->frameGeometry().right() + 1);
        ChartRig::confirm(dialog, {"TXTT1", "-1", "TXTR2", "90"});
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text,
                 QStringLiteral("Input No.s must be >=0, please try again !"));
        QCOMPARE(rig.dialogs.messages[0].icon, Dialogs::Icon::Critical);
        QCOMPARE(rig.state.recordedCharts.RecHumTopNow, QStringLiteral("90"));
        QCOMPARE(rig.charts.rangeDialog(ChartKind::Humidity), dialog);
        QVERIFY(rig.charts.recordedChart(ChartKind::Humidity) == nullptr);
        // The record list closing takes the dialog with it.
        rig.charts.closeRangeDialogs();
        QVERIFY(rig.charts.rangeDialog(ChartKind::Humidity) == nullptr);
    }

    // The chart drawn afresh from FROM to TO on the dialog's limits, the dialog still open.
    void rangeAccepted() {
        ChartRig rig;
        chartOf(rig, ChartKind::Humidity, 50);
        ChartRig::confirm(openRange(rig, ChartKind::Humidity),
                          {"TXTT1", "11", "TXTT2", "20", "TXTR1", "10", "TXTR2", "30"});
        ChartWindow* chart = rig.charts.recordedChart(ChartKind::Humidity);
        QCOMPARE(
            (QStringList{chart->caption("LBLT1"), chart->caption("LBLT2"), chart->caption("LBLT3"),
                         chart->caption("LBL0"), chart->caption("LBLVALMID")}),
            (QStringList{ChartRig::recordTime(11), ChartRig::recordTime(15),
                         ChartRig::recordTime(20), "10", "20"}));
        // Records 11 and 20 read 11 and 20 on a scale from 10 to 30.
        QCOMPARE(chart->trace().size(), 9);
        QCOMPARE(chart->trace().first().p1(), QPointF(1000, 3850));
        QCOMPARE(chart->trace().last().p2(), QPointF(5000, 2500));
        QVERIFY(rig.charts.rangeDialog(ChartKind::Humidity) != nullptr);
    }
};

QTEST_MAIN(ChartRecordedWindowTest)
#include "chart_recorded_window_test.moc"
