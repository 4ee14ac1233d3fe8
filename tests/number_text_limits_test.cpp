#include "dew/DewPoint.h"
#include "dew/VapourTables.h"
#include "text/NumberText.h"

#include <QTest>
#include <cmath>
#include <limits>

// The number texts at the ends of the double range: infinities, NaN, the smallest and largest
// magnitudes, and the whole-number conversions beyond long long.
class NumberTextLimitsTest : public QObject {
    Q_OBJECT

private:
    static constexpr double inf = std::numeric_limits<double>::infinity();
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    static constexpr long long highest = std::numeric_limits<long long>::max();
    static constexpr long long lowest = std::numeric_limits<long long>::min();

private Q_SLOTS:
    void nonFiniteValuesGiveTextsThatReadAsNoNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inf ##0.0") << inf << "##0.0"
                                   << "inf";
        QTest::newRow("-inf #0.0#") << -inf << "#0.0#"
                                    << "-inf";
        QTest::newRow("nan 0.#") << nan << "0.#"
                                 << "nan";
        QTest::newRow("nan ##") << nan << "##"
                                << "nan";
        QTest::newRow("inf 00") << inf << "00"
                                << "inf";
    }
    void nonFiniteValuesGiveTextsThatReadAsNoNumber() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        const QString text = formatNumber(value, pattern);
        QCOMPARE(text, expected);
        QCOMPARE(plainNumberText(value), expected);
        QVERIFY(!isNumberText(text));
        QCOMPARE(leadingNumber(text), 0.0);
        QCOMPARE(formatNumberText(text, pattern), text);
    }

    void plainTextsHaveNoExponent_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1e-20") << 1e-20 << "0.00000000000000000001";
        QTest::newRow("negative small") << -2.5e-7 << "-0.00000025";
        QTest::newRow("fifteen digits small")
            << 1.23456789012345e-10 << "0.000000000123456789012345";
        QTest::newRow("sixteenth digit dropped")
            << 1.234567890123456e-10 << "0.000000000123456789012346";
        QTest::newRow("1e20") << 1e20 << "100000000000000000000";
        QTest::newRow("negative large") << -1.5e16 << "-15000000000000000";
        QTest::newRow("smallest subnormal")
            << std::numeric_limits<double>::denorm_min()
            << QStringLiteral("0.") + QString(323, QLatin1Char('0')) +
                   QStringLiteral("494065645841247");
    }
    void plainTextsHaveNoExponent() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        const QString text = plainNumberText(value);
        QCOMPARE(text, expected);
        QVERIFY(isNumberText(text));
        QCOMPARE(leadingNumber(text), leadingNumber(QString::number(value, 'g', 15)));
    }

    void wholeNumbersSaturate_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<long long>("rounded");
        QTest::addColumn<long long>("integer");
        QTest::newRow("nan") << nan << 0LL << 0LL;
        QTest::newRow("inf") << inf << highest << highest;
        QTest::newRow("-inf") << -inf << lowest << lowest;
        QTest::newRow("1e300") << 1e300 << highest << highest;
        QTest::newRow("-1e300") << -1e300 << lowest << lowest;
        QTest::newRow("2^63") << 9223372036854775808.0 << highest << highest;
        QTest::newRow("-2^63 fits") << -9223372036854775808.0 << lowest << lowest;
        QTest::newRow("below 2^63")
            << 9223372036854774784.0 << 9223372036854774784LL << 9223372036854774784LL;
        QTest::newRow("-0.5") << -0.5 << 0LL << -1LL;
    }
    void wholeNumbersSaturate() {
        QFETCH(double, value);
        QFETCH(long long, rounded);
        QFETCH(long long, integer);
        QCOMPARE(roundHalfEven(value), rounded);
        QCOMPARE(integerPart(value), integer);
    }

    void wholeDivisionIsDefinedForEveryOperand_data() {
        QTest::addColumn<double>("dividend");
        QTest::addColumn<double>("divisor");
        QTest::addColumn<long long>("quotient");
        QTest::addColumn<long long>("remainder");
        QTest::newRow("zero divisor") << 7.0 << 0.0 << 0LL << 7LL;
        QTest::newRow("divisor rounds to zero") << -7.0 << 0.4 << 0LL << -7LL;
        QTest::newRow("nan divisor") << 5.0 << nan << 0LL << 5LL;
        QTest::newRow("lowest by -1") << -1e300 << -1.0 << highest << 0LL;
        QTest::newRow("by -1") << 7.0 << -1.0 << -7LL << 0LL;
        QTest::newRow("huge by 10") << 1e300 << 10.0 << highest / 10 << highest % 10;
        QTest::newRow("nan dividend") << nan << 3.0 << 0LL << 0LL;
    }
    void wholeDivisionIsDefinedForEveryOperand() {
        QFETCH(double, dividend);
        QFETCH(double, divisor);
        QFETCH(long long, quotient);
        QFETCH(long long, remainder);
        QCOMPARE(wholeDivide(dividend, divisor), quotient);
        QCOMPARE(wholeRemainder(dividend, divisor), remainder);
    }

    void dewPointRefusesReadingsBeyondADouble_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::newRow("F overflows in the conversion") << "50"
                                                       << "4e307"
                                                       << "F";
        QTest::newRow("F overflows negative") << "50"
                                              << "-4e307"
                                              << "F";
        QTest::newRow("F beyond a double") << "50"
                                           << "1e999"
                                           << "F";
        QTest::newRow("C beyond a double") << "50"
                                           << "1e999"
                                           << "C";
        QTest::newRow("humidity beyond a double") << "1e999"
                                                  << "25.0"
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
