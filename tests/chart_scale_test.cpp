#include "charts/ChartScale.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {
constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

struct Height {
    bool temperature;
    double value, top, bottom, y;
};
} // namespace

class ChartScaleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void heights_data() {
        QTest::addColumn<Height>("row");
        QTest::newRow("50 %RH") << Height{false, 50, 100, 0, 2500};
        QTest::newRow("100 %RH") << Height{false, 100, 100, 0, 1000};
        QTest::newRow("above top") << Height{false, 105, 100, 0, 900};
        QTest::newRow("below bottom") << Height{false, -3, 100, 0, 4000};
        QTest::newRow("range zero") << Height{false, 70, 50, 50, 4000};
        QTest::newRow("top below bottom") << Height{false, 20, 0, 100, 1600};
        QTest::newRow("not a number") << Height{false, NotANumber, 100, 0, 4000};
        QTest::newRow("infinite") << Height{false, Infinity, 100, 0, 900};
        QTest::newRow("-100 C") << Height{true, -100, 100, 0, 7000};
        QTest::newRow("-120 C") << Height{true, -120, 100, 0, 7100};
        QTest::newRow("-5 above bottom 10") << Height{true, -5, 100, 10, 4000};
        QTest::newRow("-40 with bottom 10") << Height{true, -40, 110, 10, 4900};
        QTest::newRow("minus infinity") << Height{true, -Infinity, 100, 0, 7100};
    }
    void heights() {
        QFETCH(Height, row);
        QCOMPARE(row.temperature ? temperatureHeight(row.value, row.top, row.bottom)
                                 : upperHeight(row.value, row.top, row.bottom),
                 row.y);
    }

    void unclampedKeepsPositionButStaysFinite() {
        QCOMPARE(unclampedHeight(-10, 100, 0), 4300.0);
        QVERIFY(std::isfinite(unclampedHeight(1e308, 1e-308, 0)));
        QVERIFY(std::isfinite(unclampedHeight(-Infinity, 100, 0)));
    }

    void timeLabels_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("3725 s") << 3725.0 << "01:02:05";
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

    void tickIntervals_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("ms");
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
