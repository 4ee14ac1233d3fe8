#include "ChartRig.h"
#include "charts/LimitDialog.h"

#include <QAction>
#include <QTest>

namespace {

LimitDialog* openDialog(ChartRig& rig, ChartKind kind) {
    ChartWindow* chart = rig.charts.openLiveChart(kind);
    chart->findChild<QAction*>(QStringLiteral("MNULIMIT"))->trigger();
    return rig.charts.limitDialog(kind);
}

} // namespace

class ChartLimitWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The dialog stays open and stores what it was given; only an accepted set brings a chart.
    void confirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("entries"); // points, min, max
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<double>>("stored"); // points, top, mid, bottom
        QTest::newRow("RHRANGE 20 to 80") << ChartKind::Humidity << QStringList{"300", "20", "80"}
                                          << true << QList<double>{301, 80, 50, 20};
        QTest::newRow("TEMRANGE top below bottom")
            << ChartKind::Temperature << QStringList{"300", "80", "20"} << false
            << QList<double>{301, 20, 50, 80};
    }
    void confirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, entries);
        QFETCH(bool, accepted);
        QFETCH(QList<double>, stored);
        ChartRig rig;
        LimitDialog* dialog = openDialog(rig, kind);
        ChartWindow* before = rig.charts.liveChart(kind);
        before->Timer1_Timer();
        ChartRig::confirm(dialog, {"TXTT2", entries[0], "TXTR1", entries[1], "TXTR2", entries[2]});

        const ChartLimits& limits = rig.state.chartLimits;
        const bool humidity = kind == ChartKind::Humidity;
        QCOMPARE((QList<double>{humidity ? limits.HumPoints : limits.TemPoints,
                                humidity ? limits.HumTop : limits.TemTop,
                                humidity ? limits.HumMid : limits.TemMid,
                                humidity ? limits.HumBottom : limits.TemBottom}),
                 stored);
        QCOMPARE(rig.charts.limitDialog(kind), dialog);
        QVERIFY(!before->isVisible());
        ChartWindow* after = rig.charts.liveChart(kind);
        if (accepted) {
            QVERIFY(rig.dialogs.messages.isEmpty());
            QVERIFY(after != nullptr && after != before && after->timerEnabled());
            QCOMPARE(after->caption("LBLVALTOP"), QStringLiteral("80"));
            return;
        }
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral(" INVALID, TRY AGAIN!"));
        QCOMPARE(rig.dialogs.messages[0].buttons, Dialogs::Buttons::Ok);
        QCOMPARE(rig.dialogs.messages[0].title, QStringLiteral("Humidity_Temperature"));
        QVERIFY(after == nullptr);
    }

    // A change tests its box at once and clears an entry outside 0 to 100.
    void changeClearsOutOfRange_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("typed"); // box, text, ...
        QTest::addColumn<QStringList>("after"); // MIN, MAX
        QTest::newRow("RHRANGE points test MIN")
            << ChartKind::Humidity << QStringList{"TXTR1", "-5", "TXTT2", "10"}
            << QStringList{"", "100"};
        QTest::newRow("TEMRANGE MIN -5")
            << ChartKind::Temperature << QStringList{"TXTR1", "-5"} << QStringList{"", "100"};
        QTest::newRow("TEMRANGE MAX 101")
            << ChartKind::Temperature << QStringList{"TXTR2", "101"} << QStringList{"0", ""};
    }
    void changeClearsOutOfRange() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, after);
        ChartRig rig;
        LimitDialog* dialog = openDialog(rig, kind);
        for (qsizetype i = 0; i + 1 < typed.size(); i += 2)
            ChartRig::box(dialog, typed[i])->setText(typed[i + 1]);
        QCOMPARE((QStringList{ChartRig::box(dialog, "TXTR1")->text(),
                              ChartRig::box(dialog, "TXTR2")->text()}),
                 after);
    }
};

QTEST_MAIN(ChartLimitWindowTest)
#include "chart_limit_window_test.moc"
