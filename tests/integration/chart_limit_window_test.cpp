#include "ChartRig.h"
#include "ui/charts/LimitDialog.h"

#include <QAction>
#include <QTest>

class ChartLimitWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // OK closes the chart and keeps the dialog open; only an accepted set brings a fresh chart.
    void confirm() {
        ChartRig rig;
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Temperature);
        chart->findChild<QAction*>(QStringLiteral("MNULIMIT"))->trigger();
        LimitDialog* dialog = rig.charts.limitDialog(ChartKind::Temperature);
        ChartRig::confirm(dialog, {"TXTR1", "80", "TXTR2", "20"});
        QVERIFY(rig.charts.liveChart(ChartKind::Temperature) == nullptr);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral(" INVALID, TRY AGAIN!"));
        QCOMPARE(rig.dialogs.messages[0].buttons, Dialogs::Buttons::Ok);

        ChartRig::confirm(dialog, {"TXTR1", "20", "TXTR2", "80"});
        chart = rig.charts.liveChart(ChartKind::Temperature);
        QVERIFY(chart != nullptr && chart->timerEnabled());
        QCOMPARE(ChartRig::caption(chart, "LBLVALTOP"), QStringLiteral("80"));
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.charts.limitDialog(ChartKind::Temperature), dialog);
    }

    // A change tests one box at once and clears it when outside 0 to 100.
    void changeClearsOutOfRange_data() {
        QTest::addColumn<QString>("typed"); // box, text, box, text ...
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("after"); // MIN, MAX
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("RHRANGE MIN tests nothing") << "TXTR1 -5" << rh << "-5 100";
        QTest::newRow("RHRANGE points test MIN") << "TXTR1 -5 TXTT2 10" << rh << " 100";
        QTest::newRow("RHRANGE MAX 101") << "TXTR2 101" << rh << "0 ";
        QTest::newRow("TEMRANGE MIN -1") << "TXTR1 -1" << tem << " 100";
        QTest::newRow("TEMRANGE MAX 100.5") << "TXTR2 100.5" << tem << "0 ";
    }
    void changeClearsOutOfRange() {
        QFETCH(QString, typed);
        QFETCH(ChartKind, kind);
        QFETCH(QString, after);
        ChartRig rig;
        rig.charts.openLiveChart(kind)->LIMIT_Click();
        LimitDialog* dialog = rig.charts.limitDialog(kind);
        const QStringList entries = typed.split(' ');
        for (qsizetype i = 0; i + 1 < entries.size(); i += 2)
            ChartRig::box(dialog, entries[i])->setText(entries[i + 1]);
        QCOMPARE(ChartRig::texts(dialog, {"TXTR1", "TXTR2"}).join(' '), after);
    }
};

QTEST_MAIN(ChartLimitWindowTest)
#include "chart_limit_window_test.moc"
