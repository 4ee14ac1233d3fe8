#include "DewReference.h"
#include "logic/dew/VapourTables.h"

#include <QTest>
#include <cmath>

class DewTablesTest : public QObject {
    Q_OBJECT

private:
    VapourTables tables;

private Q_SLOTS:
    void initTestCase() { InitVapourTables(tables); }

    // Every entry is the formula's, rounded to three decimals and held in single precision, except
    // the fixed ones: one atmosphere from 100 °C, nothing below -49.4 °C, and five warm entries
    // that keep the values the program has always shown (within two thousandths of the formula).
    void everyEntryIsTheFormulasOrFixed() {
        const auto rounded = [](double celsius) {
            return static_cast<float>(std::round(dewref::wexlerMmHg(celsius) * 1000) / 1000);
        };
        int kept = 0;
        for (int tenths = 0; tenths < 1010; ++tenths) {
            const float entry = tables.positive(tenths / 10, tenths % 10).value();
            const float formula = tenths >= 1000 ? 760.0f : rounded(tenths / 10.0);
            if (entry != formula) {
                QVERIFY2(std::fabs(entry - dewref::wexlerMmHg(tenths / 10.0)) < 0.002,
                         qPrintable(QString::number(tenths)));
                ++kept;
            }
        }
        QCOMPARE(kept, 5);
        for (int tenths = 0; tenths < 510; ++tenths)
            QCOMPARE(tables.negative(tenths / 10, tenths % 10).value(),
                     tenths >= 495 ? 0.0f : rounded(-tenths / 10.0));
    }

    void indexBeyondTheTablesIsReported() {
        for (const auto& [D, t] : {std::pair{101, 0}, {0, 10}, {-1, 0}, {0, -1}})
            QVERIFY(!tables.positive(D, t));
        for (const auto& [D, t] : {std::pair{51, 0}, {0, 10}, {-1, 0}, {0, -1}})
            QVERIFY(!tables.negative(D, t));
    }
};

QTEST_APPLESS_MAIN(DewTablesTest)
#include "dew_tables_test.moc"
