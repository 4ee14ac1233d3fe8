#include "dew/VapourTables.h"

#include <QTest>
#include <cmath>

namespace {

constexpr int Warm = 1;
constexpr int Cold = -1;

// Wexler's formulation written out again here, from its published coefficients, so that the
// tables are checked against the formula rather than against themselves.
double wexlerMmHg(double celsius) {
    const double T = celsius + 273.15;
    const double lnEs = -2991.2729 * std::pow(T, -2) - 6017.0128 / T + 18.87643854 -
                        0.028354721 * T + 1.7838301e-5 * std::pow(T, 2) -
                        8.4150417e-10 * std::pow(T, 3) + 4.4412543e-13 * std::pow(T, 4) +
                        2.858487 * std::log(T);
    return std::exp(lnEs) / 133.322368;
}

} // namespace

class DewTablesTest : public QObject {
    Q_OBJECT

private:
    VapourTables tables;

    float entry(int side, int D, int t) const {
        const std::optional<float> value =
            side == Warm ? tables.positive(D, t) : tables.negative(D, t);
        if (!value)
            qFatal("entry (%d, %d) missing", D, t);
        return *value;
    }

private slots:
    void initTestCase() { InitVapourTables(tables); }

    void tellingRows_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("D");
        QTest::addColumn<QList<double>>("mmHg");
        QTest::newRow("0") << Warm << 0 << QList<double>{4.584, 4.618, 4.652, 4.685, 4.719,
                                                         4.754, 4.788, 4.823, 4.858, 4.893};
        QTest::newRow("1") << Warm << 1 << QList<double>{4.928, 4.964, 5.000, 5.036, 5.072,
                                                         5.109, 5.146, 5.183, 5.220, 5.257};
        QTest::newRow("20") << Warm << 20 << QList<double>{17.541, 17.649, 17.759, 17.869, 17.980,
                                                           18.091, 18.203, 18.316, 18.429, 18.542};
        QTest::newRow("30") << Warm << 30 << QList<double>{31.842, 32.025, 32.209, 32.394, 32.580,
                                                           32.767, 32.955, 33.144, 33.333, 33.524};
        QTest::newRow("99") << Warm << 99
                            << QList<double>{733.276, 735.913, 738.557, 741.210, 743.871,
                                             746.539, 749.215, 751.900, 754.592, 757.292};
        QTest::newRow("100") << Warm << 100 << QList<double>{760.0, 760.0, 760.0, 760.0, 760.0,
                                                             760.0, 760.0, 760.0, 760.0, 760.0};
        QTest::newRow("-0") << Cold << 0 << QList<double>{4.584, 4.551, 4.518, 4.486, 4.453,
                                                          4.421, 4.388, 4.357, 4.325, 4.293};
        QTest::newRow("-10") << Cold << 10 << QList<double>{2.149, 2.133, 2.116, 2.099, 2.083,
                                                            2.066, 2.050, 2.034, 2.017, 2.001};
        QTest::newRow("-40") << Cold << 40 << QList<double>{0.143, 0.141, 0.140, 0.139, 0.137,
                                                            0.136, 0.134, 0.133, 0.131, 0.130};
        QTest::newRow("-49") << Cold << 49
                             << QList<double>{0.054, 0.054, 0.053, 0.052, 0.052, 0, 0, 0, 0, 0};
    }

    // Three decimals held in single precision: every entry is exactly the float nearest to the
    // row's value.
    void tellingRows() {
        QFETCH(int, side);
        QFETCH(int, D);
        QFETCH(QList<double>, mmHg);
        for (int t = 0; t < 10; ++t) {
            const float expected = static_cast<float>(mmHg[t]);
            if (entry(side, D, t) != expected)
                QFAIL(qPrintable(QStringLiteral("(%1, %2): %3 instead of %4")
                                     .arg(D)
                                     .arg(t)
                                     .arg(double(entry(side, D, t)), 0, 'f', 6)
                                     .arg(double(expected), 0, 'f', 6)));
        }
    }

    void otherRows() {
        QCOMPARE(entry(Warm, 23, 9), 22.253f);
        QCOMPARE(entry(Cold, 43, 0), 0.104f);
    }

    void bothZeroEntriesAgree() { QCOMPARE(entry(Warm, 0, 0), entry(Cold, 0, 0)); }

    void fixedEntries() {
        for (int t = 0; t < 10; ++t) {
            QCOMPARE(entry(Warm, 100, t), 760.0f);
            QCOMPARE(entry(Cold, 50, t), 0.0f);
        }
        for (int t = 5; t < 10; ++t)
            QCOMPARE(entry(Cold, 49, t), 0.0f);
    }

    // Every entry that is not fixed is the formula's, rounded to three decimals; the five that
    // keep the shown values differ from the formula by no more than two thousandths.
    void everyOtherEntryIsTheFormulas() {
        const QList<QPair<int, int>> shown{{30, 7}, {99, 0}, {99, 1}, {99, 4}, {99, 7}};
        int checked = 0;
        for (int D = 0; D < 100; ++D) {
            for (int t = 0; t < 10; ++t) {
                const double formula = wexlerMmHg(D + t / 10.0);
                if (shown.contains({D, t})) {
                    QVERIFY(std::fabs(entry(Warm, D, t) - formula) < 0.002);
                    continue;
                }
                QCOMPARE(entry(Warm, D, t), static_cast<float>(std::round(formula * 1000) / 1000));
                ++checked;
            }
        }
        for (int tenths = 0; tenths < 495; ++tenths) {
            const double formula = wexlerMmHg(-tenths / 10.0);
            QCOMPARE(entry(Cold, tenths / 10, tenths % 10),
                     static_cast<float>(std::round(formula * 1000) / 1000));
            ++checked;
        }
        QCOMPARE(checked, 995 + 495);
    }

    // The search relies on the warm table rising and the cold one falling away from 0 °C.
    void monotonicAwayFromZero() {
        for (int tenths = 1; tenths < 1010; ++tenths)
            QVERIFY(entry(Warm, tenths / 10, tenths % 10) >=
                    entry(Warm, (tenths - 1) / 10, (tenths - 1) % 10));
        for (int tenths = 1; tenths < 510; ++tenths)
            QVERIFY(entry(Cold, tenths / 10, tenths % 10) <=
                    entry(Cold, (tenths - 1) / 10, (tenths - 1) % 10));
    }

    // Whole degrees vary fastest: 1.2 °C sits at 1 + 101 * 2, -10.3 °C at 10 + 51 * 3.
    void storageOrder() {
        QCOMPARE(tables.SatVapourTable[1 + 101 * 2], 5.000f);
        QCOMPARE(tables.SatVapourTable[100], 760.0f);
        QCOMPARE(tables.SatVapourTable[101], 4.618f);
        QCOMPARE(tables.SatVapourTable[20 + 101 * 9], 18.542f);
        QCOMPARE(tables.SatVapourTableNeg[10 + 51 * 3], 2.099f);
        QCOMPARE(tables.SatVapourTableNeg[51], 4.551f);
        QCOMPARE(tables.SatVapourTableNeg[50], 0.0f);
        QCOMPARE(tables.SatVapourTableNeg[40 + 51 * 9], 0.130f);
    }

    void indexBeyondTheTablesIsReported_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("D");
        QTest::addColumn<int>("t");
        QTest::newRow("101.0") << Warm << 101 << 0;
        QTest::newRow("0.10") << Warm << 0 << 10;
        QTest::newRow("-1 degree") << Warm << -1 << 0;
        QTest::newRow("-1 tenth") << Warm << 0 << -1;
        QTest::newRow("-51.0") << Cold << 51 << 0;
        QTest::newRow("-0.10") << Cold << 0 << 10;
        QTest::newRow("cold -1 degree") << Cold << -1 << 5;
    }

    void indexBeyondTheTablesIsReported() {
        QFETCH(int, side);
        QFETCH(int, D);
        QFETCH(int, t);
        QVERIFY(!(side == Warm ? tables.positive(D, t) : tables.negative(D, t)).has_value());
    }

    void formulaAtTwentyDegrees() {
        QVERIFY(std::fabs(wexlerSaturationPressure(293.15) - 2338.5) < 0.1);
    }
};

QTEST_APPLESS_MAIN(DewTablesTest)
#include "dew_tables_test.moc"
