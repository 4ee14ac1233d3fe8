#include "ChartRig.h"
#include "charts/ChartScale.h"
#include "charts/RangeDialog.h"
#include "charts/RecordedChart.h"
#include "lists/GridRecordCells.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(ChartKind)

namespace {

// A record list of `records` rows, humidity k % 100 and temperature k % 100 - 50 unless given,
// prepared for the chart of kind as the record list's GRAPH command prepares it.
ChartWindow* chartOf(ChartRig& rig, ChartKind kind, int records, QStringList values = {}) {
    for (int k = 1; k <= records; ++k) {
        const QString value = k <= values.size() ? values[k - 1] : QString();
        rig.addRecord(value.isEmpty() ? QString::number(k % 100) : value,
                      value.isEmpty() ? QString::number(k % 100 - 50) : value);
    }
    rig.state.logger.SetRecordCount = QString::number(records);
    prepareRecordedChart(kind, rig.state.logger.SetRecordCount, gridRecordCells(&rig.records),
                         rig.state.recordedCharts);
    return rig.charts.openRecordedChart(kind, rig.recordCells());
}

RangeDialog* openRange(ChartRig& rig, ChartKind kind) {
    rig.charts.recordedChart(kind)->findChild<QAction*>(QStringLiteral("LIMIT"))->trigger();
    return rig.charts.rangeDialog(kind);
}

} // namespace

class ChartRecordedWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawsTheRecords_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("from"); // empty: the whole set, no dialog
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("segments");
        QTest::addColumn<QStringList>("times");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        const auto at = [](int k) { return ChartRig::recordTime(k); };
        QTest::newRow("100 records whole") << rh << 100 << ""
                                           << "" << 99 << QStringList{at(1), at(50), at(100)};
        QTest::newRow("FROM 11 TO 20 of 50") << tem << 50 << "11"
                                             << "20" << 9 << QStringList{at(11), at(15), at(20)};
        QTest::newRow("one record: labels untouched") << tem << 1 << ""
                                                      << "" << 0 << QStringList{"", "", ""};
    }
    void drawsTheRecords() {
        QFETCH(ChartKind, kind);
        QFETCH(int, records);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, segments);
        QFETCH(QStringList, times);
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, kind, records);
        if (!from.isEmpty()) {
            RangeDialog* dialog = openRange(rig, kind);
            ChartRig::box(dialog, "TXTT1")->setText(from);
            ChartRig::box(dialog, "TXTT2")->setText(to);
            ChartRig::clickOk(dialog);
            QVERIFY(!chart->isVisible());
            chart = rig.charts.recordedChart(kind);
        }
        QCOMPARE(chart->trace().size(), segments);
        QCOMPARE((QStringList{chart->caption("LBLT1"), chart->caption("LBLT2"),
                              chart->caption("LBLT3")}),
                 times);
        QCOMPARE(chart->caption("LBLVALTOP"), QStringLiteral("100"));
        if (segments == 0)
            return;
        const int first = from.isEmpty() ? 1 : from.toInt();
        const auto height = [&](int k) {
            const double value = kind == ChartKind::Humidity ? k % 100 : k % 100 - 50;
            return kind == ChartKind::Humidity ? upperHeight(value, 100, 0)
                                               : temperatureHeight(value, 100, 0);
        };
        QCOMPARE(chart->trace().first().p1(), QPointF(1000, height(first)));
        QCOMPARE(chart->trace().last().p2(), QPointF(5000, height(first + segments)));
    }

    // The rendered trace of each recorded chart, over-range texts included.
    void renderedHeights_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<double>("height");
        QTest::newRow("REC_GRAPH 25") << ChartKind::Humidity << "25" << 3250.0;
        QTest::newRow("REC_GRAPH OL") << ChartKind::Humidity << "OL" << 900.0;
        QTest::newRow("REC_GRAPH2 -50") << ChartKind::Temperature << "-50" << 5500.0;
        QTest::newRow("REC_GRAPH2 -OL") << ChartKind::Temperature << "-OL" << 7100.0;
        QTest::newRow("REC_GRAPH2 OL") << ChartKind::Temperature << "OL" << 900.0;
    }
    void renderedHeights() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, value);
        QFETCH(double, height);
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, kind, 5, QStringList(5, value));
        QVERIFY(traceOnlyAt(*chart, 2000, height));
        // A new size draws the whole trace again.
        chart->resize(chart->width() + 30, chart->height());
        QCOMPARE(chart->trace().size(), 4);
        QVERIFY(traceOnlyAt(*chart, 2000, height));
    }

    void oneRecordedChartAtATime() {
        ChartRig rig;
        ChartWindow* humidity = chartOf(rig, ChartKind::Humidity, 10);
        QSignalSpy polls(&rig.charts, &ChartWindows::pollTimerWanted);
        ChartWindow* temperature =
            rig.charts.openRecordedChart(ChartKind::Temperature, rig.recordCells());
        QVERIFY(!humidity->isVisible());
        QCOMPARE(temperature->pos(), QPoint(0, 0));
        QCOMPARE(temperature->caption("LBLUNIT"), QStringLiteral("C"));
        QCOMPARE(polls.size(), 1);
    }

    void rangeRejected_data() {
        QTest::addColumn<QStringList>("entries"); // FROM, TO, MIN, MAX
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedTop");
        QTest::newRow("MIN above MAX")
            << QStringList{"1", "20", "20", "10"} << " Invalid No.s,  please try again !"
            << "10";
        QTest::newRow("MAX 120") << QStringList{"1", "20", "0", "120"}
                                 << " Invalid No.s,  please try again !"
                                 << "120";
        QTest::newRow("more than the set")
            << QStringList{"1", "30", "0", "100"} << " Invalid No.s,  please try again !"
            << "100";
        QTest::newRow("negative") << QStringList{"-1", "20", "0", "90"}
                                  << "Input No.s must be >=0, please try again !"
                                  << "90";
    }
    void rangeRejected() {
        QFETCH(QStringList, entries);
        QFETCH(QString, message);
        QFETCH(QString, storedTop);
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, ChartKind::Humidity, 20);
        RangeDialog* dialog = openRange(rig, ChartKind::Humidity);
        QCOMPARE(dialog->pos().x(), chart->frameGeometry().right() + 1);
        int i = 0;
        for (const char* name : {"TXTT1", "TXTT2", "TXTR1", "TXTR2"})
            ChartRig::box(dialog, name)->setText(entries[i++]);
        ChartRig::clickOk(dialog);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, message);
        QCOMPARE(rig.dialogs.messages[0].icon, Dialogs::Icon::Critical);
        QCOMPARE(rig.state.recordedCharts.RecHumTopNow, storedTop);
        QCOMPARE(rig.charts.rangeDialog(ChartKind::Humidity), dialog);
        QVERIFY(rig.charts.recordedChart(ChartKind::Humidity) == nullptr);
        // The record list closing takes the dialog with it.
        rig.charts.closeRangeDialogs();
        QVERIFY(rig.charts.rangeDialog(ChartKind::Humidity) == nullptr);
    }

    void rangeAcceptedKeepsLimits() {
        ChartRig rig;
        chartOf(rig, ChartKind::Humidity, 20);
        RangeDialog* dialog = openRange(rig, ChartKind::Humidity);
        ChartRig::box(dialog, "TXTR1")->setText("10");
        ChartRig::box(dialog, "TXTR2")->setText("30");
        ChartRig::clickOk(dialog);
        ChartWindow* chart = rig.charts.recordedChart(ChartKind::Humidity);
        QCOMPARE(chart->caption("LBL0"), QStringLiteral("10"));
        QCOMPARE(chart->caption("LBLVALMID"), QStringLiteral("20"));
        // Record 20 reads 20: mid-way between 10 and 30.
        QCOMPARE(chart->trace().last().p2(), QPointF(5000, 2500));
    }
};

QTEST_MAIN(ChartRecordedWindowTest)
#include "chart_recorded_window_test.moc"
