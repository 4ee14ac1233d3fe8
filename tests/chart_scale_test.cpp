#include "charts/ChartScale.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {
constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();
} // namespace

class ChartScaleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void heights_data() {
        QTest::addColumn<bool>("temperature");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("y");
        QTest::newRow("50 %RH") << false << 50.0 << 100.0 << 0.0 << 2500.0;
        QTest::newRow("100 %RH") << false << 100.0 << 100.0 << 0.0 << 1000.0;
        QTest::newRow("above top") << false << 105.0 << 100.0 << 0.0 << 900.0;
        QTest::newRow("below bottom") << false << -3.0 << 100.0 << 0.0 << 4000.0;
        QTest::newRow("top 80") << false << 80.0 << 80.0 << 20.0 << 1000.0;
        QTest::newRow("95 over 80") << false << 95.0 << 80.0 << 20.0 << 900.0;
        QTest::newRow("range zero") << false << 70.0 << 50.0 << 50.0 << 4000.0;
        QTest::newRow("top below bottom") << false << 20.0 << 0.0 << 100.0 << 1600.0;
        QTest::newRow("not a number") << false << NotANumber << 100.0 << 0.0 << 4000.0;
        QTest::newRow("infinite") << false << Infinity << 100.0 << 0.0 << 900.0;
        QTest::newRow("infinite range") << false << 5.0 << Infinity << 0.0 << 4000.0;
        QTest::newRow("-50 C") << true << -50.0 << 100.0 << 0.0 << 5500.0;
        QTest::newRow("-100 C") << true << -100.0 << 100.0 << 0.0 << 7000.0;
        QTest::newRow("-120 C") << true << -120.0 << 100.0 << 0.0 << 7100.0;
        QTest::newRow("-20 C") << true << -20.0 << 100.0 << 0.0 << 4600.0;
        QTest::newRow("-150 C") << true << -150.0 << 100.0 << 0.0 << 7100.0;
        QTest::newRow("-5 above bottom 10") << true << -5.0 << 100.0 << 10.0 << 4000.0;
        QTest::newRow("-40 with bottom 10") << true << -40.0 << 110.0 << 10.0 << 4900.0;
        QTest::newRow("lower, range zero") << true << -5.0 << 50.0 << 50.0 << 4000.0;
        QTest::newRow("minus infinity") << true << -Infinity << 100.0 << 0.0 << 7100.0;
    }
    void heights() {
        QFETCH(bool, temperature);
        QFETCH(double, value);
        QFETCH(double, top);
        QFETCH(double, bottom);
        QFETCH(double, y);
        const double got =
            temperature ? temperatureHeight(value, top, bottom) : upperHeight(value, top, bottom);
        QCOMPARE(got, y);
    }

    void unclampedKeepsPositionButStaysFinite() {
        QCOMPARE(unclampedHeight(105, 100, 0), 850.0);
        QCOMPARE(unclampedHeight(-10, 100, 0), 4300.0);
        QCOMPARE(unclampedHeight(70, 50, 50), 4000.0);
        QVERIFY(std::isfinite(unclampedHeight(1e308, 1e-308, 0)));
        QVERIFY(std::isfinite(unclampedHeight(-Infinity, 100, 0)));
    }

    void pointPositions_data() {
        QTest::addColumn<double>("index");
        QTest::addColumn<double>("points");
        QTest::addColumn<double>("x");
        QTest::newRow("first") << 0.0 << 300.0 << 1000.0;
        QTest::newRow("second of 300") << 1.0 << 300.0 << 1000.0 + 4000.0 / 299;
        QTest::newRow("last of 300") << 299.0 << 300.0 << 5000.0;
        QTest::newRow("last of 2") << 1.0 << 2.0 << 5000.0;
        QTest::newRow("one point") << 1.0 << 1.0 << 1000.0;
        QTest::newRow("no count") << 1.0 << NotANumber << 1000.0;
        QTest::newRow("endless count") << 5.0 << Infinity << 1000.0;
    }
    void pointPositions() {
        QFETCH(double, index);
        QFETCH(double, points);
        QFETCH(double, x);
        QCOMPARE(pointX(index, points), x);
    }

    void timeLabels_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("3725 s") << 3725.0 << "01:02:05";
        QTest::newRow("25 h") << 25 * 3600.0 << "25:00:00";
        QTest::newRow("half to even, down") << 0.5 << "00:00:00";
        QTest::newRow("half to even, up") << 1.5 << "00:00:02";
        QTest::newRow("rounds into the next day") << 86399.6 << "24:00:00";
        QTest::newRow("hundred hours") << 360000.0 << "100:00:00";
        QTest::newRow("negative") << -5.0 << "00:00:00";
        QTest::newRow("not a number") << NotANumber << "00:00:00";
    }
    void timeLabels() {
        QFETCH(double, seconds);
        QFETCH(QString, label);
        QCOMPARE(timeLabel(seconds), label);
    }

    void fullChartTime() {
        QCOMPARE(chartFullTimeLabel(3600.25, 300, 2), QStringLiteral("01:10:00"));
        QCOMPARE(chartFullTimeLabel(86000, 300, 2), QStringLiteral("24:03:20"));
    }

    void tickIntervals_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("ms");
        QTest::newRow("2 Sec") << "2 Sec" << 2000;
        QTest::newRow("65 Sec") << "65 Sec" << 65000;
        QTest::newRow("fraction") << "2.5 Sec" << 2500;
        QTest::newRow("nothing") << "Sec" << 1;
        QTest::newRow("too long") << "100 Sec" << 65535;
    }
    void tickIntervals() {
        QFETCH(QString, caption);
        QFETCH(int, ms);
        QCOMPARE(liveTickIntervalMs(caption), ms);
    }
};

QTEST_GUILESS_MAIN(ChartScaleTest)
#include "chart_scale_test.moc"
