#include "charts/LiveChartTick.h"
#include "state/SharedState.h"

#include <QTest>
#include <cmath>

using Action = LiveTickStep::Action;

class ChartLiveTickTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The first tick places a point and draws nothing; the second draws from it.
    void firstTwoTicks_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("texts"); // top, bottom, first reading, second reading
        QTest::addColumn<double>("placedY");
        QTest::addColumn<QLineF>("segment");
        const double x1 = 1000 + 4000.0 / 299;
        QTest::newRow("humidity keeps its first height unclamped")
            << ChartKind::Humidity << QStringList{"100", "0", "105", "50"} << 850.0
            << QLineF(1000, 900, x1, 2500);
        QTest::newRow("humidity clamps both ends")
            << ChartKind::Humidity << QStringList{"80", "20", "10", "95"} << 4500.0
            << QLineF(1000, 4000, x1, 900);
        QTest::newRow("temperature clamps on placing")
            << ChartKind::Temperature << QStringList{"100", "0", "-120", "-20"} << 7100.0
            << QLineF(1000, 7100, x1, 4600);
    }
    void firstTwoTicks() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, texts);
        QFETCH(double, placedY);
        QFETCH(QLineF, segment);
        LiveChartProgress progress;
        const bool humidity = kind == ChartKind::Humidity;
        QCOMPARE(liveChartTick(kind, progress, 300, texts[0], texts[1], texts[2]).action,
                 Action::FirstPoint);
        QCOMPARE(humidity ? progress.HumLastY : progress.TemLastY, placedY);
        QCOMPARE(humidity ? progress.TemStarted : progress.HumStarted, 0);

        const LiveTickStep drawn = liveChartTick(kind, progress, 300, texts[0], texts[1], texts[3]);
        QCOMPARE(drawn.action, Action::Segment);
        QCOMPARE(drawn.segment, segment);
        QVERIFY(!drawn.startOver);
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
        QTest::newRow("2 points: every second tick fills the chart")
            << ChartKind::Temperature << 2.0 << 6 << 3 << QList<int>{1, 3, 5};
        QTest::newRow("1 point plots nothing")
            << ChartKind::Humidity << 1.0 << 5 << 0 << QList<int>{};
        QTest::newRow("a count below 1, kept from a rejected entry, never walks leftwards")
            << ChartKind::Temperature << -4.0 << 5 << 0 << QList<int>{};
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
            const LiveTickStep step = liveChartTick(kind, progress, points, "100", "0", "50");
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

    void wildInputsDrawFiniteSegments_data() {
        QTest::addColumn<QStringList>("texts"); // top, bottom, reading
        QTest::newRow("huge reading") << QStringList{"100", "0", "1e999"};
        QTest::newRow("huge limits") << QStringList{"1e999", "-1e999", "5"};
        QTest::newRow("tiny range") << QStringList{"1e-300", "0", "1e300"};
    }
    void wildInputsDrawFiniteSegments() {
        QFETCH(QStringList, texts);
        for (ChartKind kind : {ChartKind::Humidity, ChartKind::Temperature}) {
            LiveChartProgress progress;
            liveChartTick(kind, progress, 300, texts[0], texts[1], texts[2]);
            const QLineF s =
                liveChartTick(kind, progress, 300, texts[0], texts[1], texts[2]).segment;
            QVERIFY(std::isfinite(s.x1()) && std::isfinite(s.y1()));
            QVERIFY(std::isfinite(s.x2()) && std::isfinite(s.y2()));
            QVERIFY(s.y1() >= 900 && s.y2() <= 7100);
        }
    }
};

QTEST_GUILESS_MAIN(ChartLiveTickTest)
#include "chart_live_tick_test.moc"
