#include "dew/DewPoint.h"
#include "dew/VapourTables.h"
#include "text/NumberText.h"

#include <QTest>
#include <cmath>
#include <limits>

// A few representative texts at the ends of the double range; the fuzz target checks the
// properties over every double.
class NumberTextLimitsTest : public QObject {
    Q_OBJECT

private:
    static constexpr double inf = std::numeric_limits<double>::infinity();
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

private Q_SLOTS:
    void nonFiniteValuesGiveTextsThatReadAsNoNumber() {
        for (const double value : {-inf, nan}) {
            const QString text = formatNumber(value, QStringLiteral("#0.0#"));
            QCOMPARE(text, QString::fromLatin1(std::isnan(value) ? "nan" : "-inf"));
            QCOMPARE(plainNumberText(value), text);
            QCOMPARE(formatNumberText(text, QStringLiteral("#0.0#")), text);
        }
    }

    void plainTextsHaveNoExponent_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sixteenth digit dropped")
            << 1.234567890123456e-10 << "0.000000000123456789012346";
        QTest::newRow("negative large") << -1.5e16 << "-15000000000000000";
        QTest::newRow("smallest subnormal")
            << std::numeric_limits<double>::denorm_min()
            << "0." + QString(323, QLatin1Char('0')) + "494065645841247";
    }
    void plainTextsHaveNoExponent() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(plainNumberText(value), expected);
    }

    void dewPointRefusesReadingsBeyondADouble_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::newRow("F overflows in the conversion") << "50"
                                                       << "-4e307"
                                                       << "F";
        QTest::newRow("C beyond a double") << "50"
                                           << "1e999"
                                           << "C";
        QTest::newRow("humidity overflows the pressure") << "1.7e308"
                                                         << "25.0"
                                                         << "C";
    }
    void dewPointRefusesReadingsBeyondADouble() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        VapourTables tables;
        InitVapourTables(tables);
        QVERIFY(!computeDewPoint(humidity, temperature, unit, tables));
        // The same reading within a double's range still has its dew point.
        QVERIFY(computeDewPoint(QStringLiteral("50"), QStringLiteral("77.0"), unit, tables));
    }
};

QTEST_APPLESS_MAIN(NumberTextLimitsTest)
#include "number_text_limits_test.moc"
