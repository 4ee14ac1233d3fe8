#include "DewReference.h"
#include "dew/VapourTables.h"

#include <QTest>
#include <cmath>

class DewTablesTest : public QObject {
    Q_OBJECT

private:
    VapourTables tables;

private Q_SLOTS:
    void initTestCase() { InitVapourTables(tables); }

    // Every entry is the formula's, rounded to three decimals and held in single precision, except
    // the fixed ones: one atmosphere from 100 °C, nothing below -49.4 °C, and five entries that
    // keep the values the program has always shown (within two thousandths of the formula).
    void everyEntryIsTheFormulasOrFixed() {
        const struct {
            int D, t;
            float mmHg;
        } shown[] = {{30, 7, 33.144f},
                     {99, 0, 733.276f},
                     {99, 1, 735.913f},
                     {99, 4, 743.871f},
                     {99, 7, 751.900f}};
        const auto rounded = [](double mmHg) {
            return static_cast<float>(std::round(mmHg * 1000) / 1000);
        };
        for (int tenths = 0; tenths < 1010; ++tenths) {
            const int D = tenths / 10, t = tenths % 10;
            float expected = D == 100 ? 760.0f : rounded(dewref::wexlerMmHg(D + t / 10.0));
            for (const auto& kept : shown) {
                if (kept.D == D && kept.t == t) {
                    QVERIFY(std::fabs(kept.mmHg - dewref::wexlerMmHg(D + t / 10.0)) < 0.002);
                    expected = kept.mmHg;
                }
            }
            QCOMPARE(tables.positive(D, t), std::optional<float>(expected));
        }
        for (int tenths = 0; tenths < 510; ++tenths) {
            const float expected =
                tenths >= 495 ? 0.0f : rounded(dewref::wexlerMmHg(-tenths / 10.0));
            QCOMPARE(tables.negative(tenths / 10, tenths % 10), std::optional<float>(expected));
        }
    }

    // Whole degrees vary fastest: 1.2 °C sits at 1 + 101 * 2, -10.3 °C at 10 + 51 * 3.
    void storageOrder() {
        QCOMPARE(tables.SatVapourTable[1 + 101 * 2], *tables.positive(1, 2));
        QCOMPARE(tables.SatVapourTableNeg[10 + 51 * 3], *tables.negative(10, 3));
    }

    void indexBeyondTheTablesIsReported_data() {
        QTest::addColumn<bool>("warm");
        QTest::addColumn<int>("D");
        QTest::addColumn<int>("t");
        QTest::newRow("101.0") << true << 101 << 0;
        QTest::newRow("0.10") << true << 0 << 10;
        QTest::newRow("-1 degree") << true << -1 << 0;
        QTest::newRow("-1 tenth") << true << 0 << -1;
        QTest::newRow("-51.0") << false << 51 << 0;
        QTest::newRow("-0.10") << false << 0 << 10;
    }
    void indexBeyondTheTablesIsReported() {
        QFETCH(bool, warm);
        QFETCH(int, D);
        QFETCH(int, t);
        QVERIFY(!(warm ? tables.positive(D, t) : tables.negative(D, t)).has_value());
    }

    void formulaAtTwentyDegrees() {
        QVERIFY(std::fabs(wexlerSaturationPressure(293.15) - 2338.5) < 0.1);
    }
};

QTEST_APPLESS_MAIN(DewTablesTest)
#include "dew_tables_test.moc"
