#include "charts/ChartScale.h"
#include "charts/LiveChartTick.h"
#include "state/SharedState.h"

#include <QTest>
#include <cmath>

using Action = LiveTickStep::Action;

namespace {

LiveTickStep tick(ChartKind kind, LiveChartProgress& progress, double points,
                  const QString& reading, const QString& top = "100", const QString& bottom = "0") {
    return liveChartTick(kind, progress, points, top, bottom, reading);
}

} // namespace

class ChartLiveTickTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The first tick places a point and draws nothing; the second draws from it.
    void firstTwoTicks_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<double>("placedY");
        QTest::addColumn<QLineF>("segment");
        const double x1 = 1000 + 4000.0 / 299;
        QTest::newRow("humidity") << ChartKind::Humidity << "100"
                                  << "0"
                                  << "50"
                                  << "105" << 2500.0 << QLineF(1000, 2500, x1, 900);
        QTest::newRow("humidity keeps its first height unclamped")
            << ChartKind::Humidity << "100"
            << "0"
            << "105"
            << "50" << 850.0 << QLineF(1000, 900, x1, 2500);
        QTest::newRow("humidity below bottom") << ChartKind::Humidity << "80"
                                               << "20"
                                               << "10"
                                               << "80" << 4500.0 << QLineF(1000, 4000, x1, 1000);
        QTest::newRow("temperature clamps on placing")
            << ChartKind::Temperature << "100"
            << "0"
            << "-120"
            << "-20" << 7100.0 << QLineF(1000, 7100, x1, 4600);
        QTest::newRow("temperature above top") << ChartKind::Temperature << "100"
                                               << "0"
                                               << "150"
                                               << "-50" << 900.0 << QLineF(1000, 900, x1, 5500);
        QTest::newRow("over-range text reads 0")
            << ChartKind::Humidity << "100"
            << "0"
            << "OL"
            << " 25.5 %" << 4000.0 << QLineF(1000, 4000, x1, 3235);
        QTest::newRow("range zero on the bottom line")
            << ChartKind::Temperature << "50"
            << "50"
            << "-30"
            << "70" << 4000.0 << QLineF(1000, 4000, x1, 4000);
    }
    void firstTwoTicks() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, top);
        QFETCH(QString, bottom);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(double, placedY);
        QFETCH(QLineF, segment);
        LiveChartProgress progress;
        const LiveTickStep placed = tick(kind, progress, 300, first, top, bottom);
        QCOMPARE(placed.action, Action::FirstPoint);
        const bool humidity = kind == ChartKind::Humidity;
        QCOMPARE(humidity ? progress.HumStarted : progress.TemStarted, 1);
        QCOMPARE(humidity ? progress.HumLastX : progress.TemLastX, 1000.0);
        QCOMPARE(humidity ? progress.HumLastY : progress.TemLastY, placedY);
        QCOMPARE(humidity ? progress.TemStarted : progress.HumStarted, 0);

        const LiveTickStep drawn = tick(kind, progress, 300, second, top, bottom);
        QCOMPARE(drawn.action, Action::Segment);
        QCOMPARE(drawn.segment, segment);
        QVERIFY(!drawn.startOver);
        QCOMPARE(humidity ? progress.HumIndex : progress.TemIndex, 1);
        QCOMPARE(humidity ? progress.HumLastY : progress.TemLastY, segment.y2());
    }

    // Ticks in a row with a steady reading: which of them draw and which start over.
    void sequences_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("segments");
        QTest::addColumn<QList<int>>("startOvers");
        QTest::newRow("300 points: 299 segments then over")
            << ChartKind::Humidity << 300.0 << 302 << 300 << QList<int>{299};
        QTest::newRow("temperature, 300 points")
            << ChartKind::Temperature << 300.0 << 300 << 299 << QList<int>{299};
        QTest::newRow("2 points: every second tick fills the chart")
            << ChartKind::Humidity << 2.0 << 6 << 3 << QList<int>{1, 3, 5};
        QTest::newRow("1 point plots nothing")
            << ChartKind::Humidity << 1.0 << 5 << 0 << QList<int>{};
        QTest::newRow("no points plots nothing")
            << ChartKind::Temperature << 0.0 << 5 << 0 << QList<int>{};
        QTest::newRow("a count below 1 never walks leftwards")
            << ChartKind::Humidity << -4.0 << 5 << 0 << QList<int>{};
    }
    void sequences() {
        QFETCH(ChartKind, kind);
        QFETCH(double, points);
        QFETCH(int, ticks);
        QFETCH(int, segments);
        QFETCH(QList<int>, startOvers);
        LiveChartProgress progress;
        int drawn = 0;
        QList<int> over;
        double lastX = 1000;
        for (int i = 0; i < ticks; ++i) {
            const LiveTickStep step = tick(kind, progress, points, "50");
            if (step.action == Action::Segment) {
                ++drawn;
                QCOMPARE(step.segment.x1(), lastX);
                lastX = step.segment.x2();
            }
            if (step.startOver) {
                over.append(i);
                QCOMPARE(step.segment.x2(), 5000.0);
                lastX = 1000;
            }
        }
        QCOMPARE(drawn, segments);
        QCOMPARE(over, startOvers);
    }

    void startOverWaitsForAFreshFirstPoint() {
        LiveChartProgress progress;
        tick(ChartKind::Temperature, progress, 2, "10");
        QVERIFY(tick(ChartKind::Temperature, progress, 2, "20").startOver);
        QCOMPARE(progress.TemStarted, 0);
        QCOMPARE(progress.TemIndex, 0);
        QCOMPARE(tick(ChartKind::Temperature, progress, 2, "30").action, Action::FirstPoint);
    }

    void onePointLeavesTheProgressAlone() {
        LiveChartProgress progress;
        progress.HumLastX = 1234;
        QCOMPARE(tick(ChartKind::Humidity, progress, 1, "50").action, Action::Nothing);
        QCOMPARE(progress.HumStarted, 0);
        QCOMPARE(progress.HumLastX, 1234.0);
    }

    void wildInputsDrawFiniteSegments_data() {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<QString>("reading");
        QTest::newRow("huge reading") << "100"
                                      << "0"
                                      << "1e999";
        QTest::newRow("huge limits") << "1e999"
                                     << "-1e999"
                                     << "5";
        QTest::newRow("tiny range") << "1e-300"
                                    << "0"
                                    << "1e300";
    }
    void wildInputsDrawFiniteSegments() {
        QFETCH(QString, top);
        QFETCH(QString, bottom);
        QFETCH(QString, reading);
        for (ChartKind kind : {ChartKind::Humidity, ChartKind::Temperature}) {
            LiveChartProgress progress;
            tick(kind, progress, 300, reading, top, bottom);
            const QLineF s = tick(kind, progress, 300, reading, top, bottom).segment;
            QVERIFY(std::isfinite(s.x1()) && std::isfinite(s.y1()));
            QVERIFY(std::isfinite(s.x2()) && std::isfinite(s.y2()));
            QVERIFY(s.y1() >= 900 && s.y2() <= 7100);
        }
    }
};

QTEST_GUILESS_MAIN(ChartLiveTickTest)
#include "chart_live_tick_test.moc"
