#include "logic/charts/ChartScale.h"

#include <QTest>
#include <cmath>

class ChartScaleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Heights in twips of a value on the upper half, the whole temperature chart, and the upper
    // half before clamping, for limits top and bottom.
    void heights_data() {
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("expected");
        QTest::newRow("50 %RH") << upperHeight(50, 100, 0) << 2500.0;
        QTest::newRow("above top") << upperHeight(105, 100, 0) << 900.0;
        QTest::newRow("below bottom") << upperHeight(-3, 100, 0) << 4000.0;
        QTest::newRow("range zero") << upperHeight(70, 50, 50) << 4000.0;
        QTest::newRow("not a number") << upperHeight(std::nan(""), 100, 0) << 4000.0;
        QTest::newRow("-5 above bottom 10") << temperatureHeight(-5, 100, 10) << 4000.0;
        QTest::newRow("-40 with bottom 10") << temperatureHeight(-40, 110, 10) << 4900.0;
        QTest::newRow("below the lower limit") << temperatureHeight(-120, 100, 0) << 7100.0;
        QTest::newRow("unclamped below bottom") << unclampedHeight(-10, 100, 0) << 4300.0;
    }
    void heights() {
        QFETCH(double, height);
        QFETCH(double, expected);
        QCOMPARE(height, expected);
    }

    void timeLabels_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("3725 s") << 3725.0 << "01:02:05";
        QTest::newRow("half to even, down") << 0.5 << "00:00:00";
        QTest::newRow("half to even, up") << 1.5 << "00:00:02";
        QTest::newRow("hundred hours") << 360000.0 << "100:00:00";
        QTest::newRow("not a number") << std::nan("") << "00:00:00";
    }
    void timeLabels() {
        QFETCH(double, seconds);
        QFETCH(QString, label);
        QCOMPARE(timeLabel(seconds), label);
    }

    // A timer interval holds at most 65535 ms; the chart ticks at least every millisecond.
    void liveTickIntervals() {
        QCOMPARE((QList<int>{liveTickIntervalMs("100 Sec"), liveTickIntervalMs("0 Sec"),
                             liveTickIntervalMs("Sec")}),
                 (QList<int>{65535, 1, 1}));
    }
};

QTEST_GUILESS_MAIN(ChartScaleTest)
#include "chart_scale_test.moc"
