#include "ChartRig.h"
#include "PanelRig.h"
#include "logic/charts/ChartScale.h"
#include "ui/charts/RangeDialog.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The recorded chart of `records` records, humidity k % 100 and temperature k % 100 - 50.
ChartWindow* chartOf(ChartRig& rig, ChartKind kind, int records) {
    for (int k = 1; k <= records; ++k)
        rig.addRecord(QString::number(k % 100), QString::number(k % 100 - 50));
    return rig.openRecordedChart(kind);
}

} // namespace

class ChartRecordedWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The whole set from its first record; one chart at a time, drawn again whole at a new size,
    // also once the record list is gone; a single record draws nothing.
    void oneRecordedChartAtATime() {
        ChartRig rig;
        ChartWindow* humidity = chartOf(rig, ChartKind::Humidity, 10);
        QCOMPARE(humidity->trace().first().p1(), QPointF(1000, upperHeight(1, 100, 0)));
        QSignalSpy polls(&rig.charts, &ChartWindows::pollTimerWanted);
        ChartWindow* temperature = rig.openRecordedChart(ChartKind::Temperature);
        QVERIFY(!humidity->isVisible());
        QCOMPARE(polls.size(), 1);
        QCOMPARE(temperature->pos(), QPoint(0, 0));
        // The lower half mirrors the upper one.
        QCOMPARE(ChartRig::captions(temperature, {"LBLUNIT", "TOPLBL", "MIDLBL"}),
                 (QStringList{"C", "-100", "-50"}));
        const double last = temperatureHeight(-40, 100, 0);
        temperature->resize(temperature->width() + 30, temperature->height());
        QCOMPARE(temperature->trace().size(), 9);
        QCOMPARE(temperature->trace().last().p2(), QPointF(5000, last));
        QVERIFY(traceOnlyAt(*temperature, 5000, last));
        // The record list gone, the chart still draws the records it was opened on.
        rig.records.setRowCount(1);
        temperature->resize(temperature->width() - 30, temperature->height());
        QCOMPARE(temperature->trace().size(), 9);
        QCOMPARE(ChartRig::caption(temperature, "LBLUNIT"), QStringLiteral("C"));

        ChartRig single;
        ChartWindow* chart = chartOf(single, ChartKind::Temperature, 1);
        QVERIFY(chart->trace().isEmpty());
        QCOMPARE(ChartRig::caption(chart, "LBLT1") + ChartRig::caption(chart, "LBLUNIT"),
                 QString());
    }

    // Each redraw lets the panel's poll run: a running poll keeps its rhythm through a stream of
    // redraws (a chart's edge dragged), and an exchange with the meter keeps it stopped.
    void redrawsLeaveTheRunningPollAlone() {
        PanelRig rig;
        auto* poll = rig.panel.link().findChild<QTimer*>(QStringLiteral("Timer1"));
        poll->setTimerType(Qt::PreciseTimer);
        poll->setInterval(3'600'000); // never due during the test
        rig.panel.link().pausePoll();
        ChartWindow* chart = rig.features.charts->openRecordedChart(ChartKind::Humidity, {});
        QVERIFY(!poll->isActive());
        rig.panel.link().resumePoll();
        QTest::qWait(20);
        const int remaining = poll->remainingTime();
        chart->resize(chart->width() + 30, chart->height());
        QVERIFY(poll->isActive());
        QVERIFY2(poll->remainingTime() <= remaining, "the poll was started again");
    }

    // Each kind's range dialog says which it is.
    void rangeDialogCaptions_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("nameTitleHeading");
        QTest::newRow("humidity") << ChartKind::Humidity
                                  << QStringList{"RANGEFORM", "RANGE", "NO OF RECORDS"};
        QTest::newRow("temperature")
            << ChartKind::Temperature
            << QStringList{"RANGEFORM2", "RANGE-----TEMPERATURE", "RECORDS OF SET"};
    }
    void rangeDialogCaptions() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, nameTitleHeading);
        ChartRig rig;
        chartOf(rig, kind, 50)->findChild<QAction*>(QStringLiteral("LIMIT"))->trigger();
        const RangeDialog* dialog = rig.charts.rangeDialog(kind);
        QCOMPARE(
            (QStringList{dialog->objectName(), dialog->windowTitle(),
                         dialog->findChild<QLabel*>(QStringLiteral("RecordsHeading"))->text()}),
            nameTitleHeading);
    }

    // A rejected range leaves no chart and keeps the dialog and what was typed; an accepted one
    // draws the chart afresh from FROM to TO on the dialog's limits, the dialog still open.
    void range() {
        ChartRig rig;
        ChartWindow* chart = chartOf(rig, ChartKind::Humidity, 50);
        chart->findChild<QAction*>(QStringLiteral("LIMIT"))->trigger();
        RangeDialog* dialog = rig.charts.rangeDialog(ChartKind::Humidity);
        QCOMPARE(dialog->pos().x(), chart->frameGeometry().right() + 1);
        QCOMPARE(ChartRig::texts(dialog, {"TXTT1", "TXTT2", "TXTR1", "TXTR2"}),
                 (QStringList{"1", "50", "0", "100"}));
        ChartRig::confirm(dialog, {"TXTT1", "-1", "TXTR2", "90"});
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].icon, Dialogs::Icon::Critical);
        QVERIFY(rig.charts.recordedChart(ChartKind::Humidity) == nullptr);

        ChartRig::confirm(dialog, {"TXTT1", "11", "TXTT2", "20", "TXTR1", "10", "TXTR2", "30"});
        chart = rig.charts.recordedChart(ChartKind::Humidity);
        QCOMPARE(ChartRig::captions(chart, {"LBLT1", "LBLT2", "LBLT3", "LBL0", "LBLVALMID"}),
                 (QStringList{"10:11:00", "10:15:00", "10:20:00", "10", "20"}));
        // Records 11 and 20 read 11 and 20 on a scale from 10 to 30.
        QCOMPARE(chart->trace().size(), 9);
        QCOMPARE(chart->trace().first().p1(), QPointF(1000, 3850));
        QCOMPARE(chart->trace().last().p2(), QPointF(5000, 2500));
        QCOMPARE(rig.charts.rangeDialog(ChartKind::Humidity), dialog);
        // The record list closing takes the dialog with it.
        rig.charts.closeRangeDialogs();
        QVERIFY(rig.charts.rangeDialog(ChartKind::Humidity) == nullptr);
    }
};

QTEST_MAIN(ChartRecordedWindowTest)
#include "chart_recorded_window_test.moc"
