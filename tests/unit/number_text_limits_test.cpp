#include "logic/text/NumberText.h"

#include <QTest>
#include <limits>

// Plain texts from tiny to huge values and beyond a double; the fuzz target checks their
// properties over every double.
class NumberTextLimitsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plainTextsHaveNoExponent_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tenths from BCD") << 35 * 0.1 << "3.5";
        QTest::newRow("negative") << -2.25 << "-2.25";
        QTest::newRow("tiny") << 0.00001 << "0.00001";
        QTest::newRow("sixteenth digit dropped")
            << 1.234567890123456e-10 << "0.000000000123456789012346";
        QTest::newRow("negative large") << -1.5e16 << "-15000000000000000";
        QTest::newRow("smallest subnormal")
            << std::numeric_limits<double>::denorm_min()
            << "0." + QString(323, QLatin1Char('0')) + "494065645841247";
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << "-inf";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "nan";
    }
    void plainTextsHaveNoExponent() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(plainNumberText(value), expected);
        QCOMPARE(signedNumberText(value), value < 0 ? expected : ' ' + expected);
    }

    // The text of a value that is no number reads as none, so it comes back unformatted.
    void nonFiniteTextsReadAsNoNumber() {
        for (const char* text : {"inf", "-inf", "nan"})
            QCOMPARE(formatNumberText(QLatin1String(text), QStringLiteral("#0.0#")), text);
    }
};

QTEST_APPLESS_MAIN(NumberTextLimitsTest)
#include "number_text_limits_test.moc"
