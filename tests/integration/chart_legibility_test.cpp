#include "ChartRig.h"
#include "Legibility.h"
#include "ui/charts/LimitDialog.h"
#include "ui/charts/RangeDialog.h"

#include <QTest>

namespace {

void checkLegible(const QWidget* window) {
    const QStringList problems = legibilityProblems(window);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

} // namespace

// Every chart window and dialog readable with the widest texts they show: the meter's
// over-range and absent readings, negative limits, Fahrenheit, times past midnight.
class ChartLegibilityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void liveCharts() {
        for (const char* reading : {"----", "-199.9", "-OL", "100.05"}) {
            ChartRig rig;
            rig.humidity = rig.temperature = reading;
            rig.unit = QStringLiteral("F");
            for (ChartState& chart : rig.state.charts)
                chart.limits = {10000, 99.75, 49.875, 0.25};
            rig.clock.set(QDateTime(QDate(2003, 5, 2), QTime(23, 59, 59)));
            for (ChartKind kind : {ChartKind::Humidity, ChartKind::Temperature}) {
                ChartWindow* chart = rig.charts.openLiveChart(kind);
                chart->Timer1_Timer();
                chart->LIMIT_Click();
                checkLegible(chart);
                checkLegible(rig.charts.limitDialog(kind));
            }
        }
    }

    void recordedCharts() {
        ChartRig rig;
        for (int k = 1; k <= 30; ++k)
            rig.addRecord(QStringLiteral("-OL"), QStringLiteral("-199.9"), QStringLiteral("F"));
        for (ChartKind kind : {ChartKind::Humidity, ChartKind::Temperature}) {
            rig.openRecordedChart(kind)->LIMIT_Click();
            RangeDialog* dialog = rig.charts.rangeDialog(kind);
            ChartRig::confirm(dialog, {"TXTR1", "12.25", "TXTR2", "99.75"});
            checkLegible(rig.charts.recordedChart(kind));
            checkLegible(dialog);
        }
    }
};

QTEST_MAIN(ChartLegibilityTest)
#include "chart_legibility_test.moc"
