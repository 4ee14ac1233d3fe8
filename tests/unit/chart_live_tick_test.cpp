#include "logic/charts/LiveChartTick.h"
#include "logic/state/ChartState.h"

#include <QTest>

using Action = LiveTickStep::Action;

class ChartLiveTickTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The first tick places a point, the second draws the segment from it.
    void firstTwoTicks_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("texts"); // top, bottom, first reading, second reading
        QTest::addColumn<QLineF>("segment");
        const ChartKind rh = ChartKind::Humidity;
        const double x1 = 1000 + 4000.0 / 299;
        QTest::newRow("humidity above the top")
            << rh << "100 0 105 50" << QLineF(1000, 900, x1, 2500);
        QTest::newRow("humidity clamps both ends")
            << rh << "80 20 10 95" << QLineF(1000, 4000, x1, 900);
        QTest::newRow("temperature clamps on placing")
            << ChartKind::Temperature << "100 0 -120 -20" << QLineF(1000, 7100, x1, 4600);
    }
    void firstTwoTicks() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, texts);
        QFETCH(QLineF, segment);
        const QStringList text = texts.split(' ');
        LiveChartProgress progress;
        liveChartTick(kind, progress, 300, text[0], text[1], text[2]);
        QCOMPARE(liveChartTick(kind, progress, 300, text[0], text[1], text[3]).segment, segment);
    }

    // Ticks in a row with a steady reading, one letter each: F places the first point, S draws a
    // segment on from the last, O draws the one that fills the chart and starts over, - nothing.
    void sequences_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("steps");
        QTest::newRow("300 points") << 300.0 << "F" + QString(298, 'S') + "OFS";
        QTest::newRow("2 points: every segment fills the chart") << 2.0 << "FOFOFO";
        QTest::newRow("1 point plots nothing") << 1.0 << "-----";
    }
    void sequences() {
        QFETCH(double, points);
        QFETCH(QString, steps);
        for (ChartKind kind : {ChartKind::Humidity, ChartKind::Temperature}) {
            LiveChartProgress progress;
            QString taken;
            double lastX = 1000;
            for (qsizetype i = 0; i < steps.size(); ++i) {
                const LiveTickStep step = liveChartTick(kind, progress, points, "100", "0", "50");
                if (step.action == Action::Segment) {
                    QCOMPARE(step.segment.x1(), lastX);
                    lastX = step.startOver ? 1000 : step.segment.x2();
                }
                taken += step.action == Action::Nothing      ? '-'
                         : step.action == Action::FirstPoint ? 'F'
                         : step.startOver                    ? 'O'
                                                             : 'S';
            }
            QCOMPARE(taken, steps);
        }
    }
};

QTEST_GUILESS_MAIN(ChartLiveTickTest)
#include "chart_live_tick_test.moc"
