#include "logic/text/NumberText.h"

#include <QTest>
#include <limits>

// Exact texts at chosen points; the fuzz target checks the properties over every double.
class NumberTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leadingNumberReadsTheStartOfText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const auto row = [](const char* text, double expected) {
            QTest::addRow("\"%s\"", text) << QString::fromLatin1(text) << expected;
        };
        row("2 Sec", 2.0);
        row(" -4.25x", -4.25);
        row(".5", 0.5);
        row("1e3 apples", 1000.0);
        row("3e", 3.0); // an e without digits is no exponent
        row("OL", 0.0);
        row("2,5", 2.0);
    }
    void leadingNumberReadsTheStartOfText() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(leadingNumber(text), expected);
    }

    void formatPatterns_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const auto row = [](double value, const char* pattern, const char* expected) {
            QTest::addRow("%g %s", value, pattern)
                << value << QString::fromLatin1(pattern) << QString::fromLatin1(expected);
        };
        row(5.0, "00", "05");
        row(13.8612, "#0.0#", "13.86");
        // Half away from zero, as the decimal text reads.
        row(2.675, "#0.0#", "2.68");
        // A negative that rounds to zero loses its sign.
        row(-0.001, "#0.0#", "0.0");
        row(0.0, "0.#", "0.");
        row(0.5, "###.##0", ".500");
        row(2.5, "##", "3");
        row(0.0, "##", "");
        // Digits of a non-finite value would read as some number; its own text reads as none.
        row(-std::numeric_limits<double>::infinity(), "#0.0#", "-inf");
        row(std::numeric_limits<double>::quiet_NaN(), "00", "nan");
    }
    void formatPatterns() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(value, pattern), expected);
    }

    void wholeNumberConversions() {
        QCOMPARE(roundHalfEven(2.5), 2LL);
        QCOMPARE(roundHalfEven(-3.5), -4LL);
        QCOMPARE(wholeDivide(-7, 2), -3LL); // truncates toward zero
        QCOMPARE(wholeDivide(9, 3.5), 2LL); // the divisor rounds half to even first: 9 \ 4
        QCOMPARE(wholeRemainder(65535, 256), 255LL);
        QCOMPARE(integerPart(-3.5), -4LL);
    }

    void hexTextHasNoLeadingZero() {
        QCOMPARE(hexText(0x05), QStringLiteral("5"));
        QCOMPARE(hexText(0xA5), QStringLiteral("A5"));
    }
};

QTEST_APPLESS_MAIN(NumberTextTest)
#include "number_text_test.moc"
