#include "text/NumberText.h"

#include <QTest>

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
        row("", 0.0);
        row("2,5", 2.0);
    }
    void leadingNumberReadsTheStartOfText() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(leadingNumber(text), expected);
    }

    void plainAndSignedTexts_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("signedText");
        const auto row = [](const char* name, double value, const char* plain, const char* sign) {
            QTest::newRow(name) << value << QString::fromLatin1(plain) << QString::fromLatin1(sign);
        };
        row("tenths from BCD", 35 * 0.1, "3.5", " 3.5");
        row("zero", 0.0, "0", " 0");
        row("negative", -2.25, "-2.25", "-2.25");
        row("large count", 40000.0, "40000", " 40000");
        row("tiny", 0.00001, "0.00001", " 0.00001");
    }
    void plainAndSignedTexts() {
        QFETCH(double, value);
        QFETCH(QString, plain);
        QFETCH(QString, signedText);
        QCOMPARE(plainNumberText(value), plain);
        QCOMPARE(signedNumberText(value), signedText);
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
        row(2.675, "#0.0#",
            "2.68"); // half away from zero, as the decimal text reads
        row(-0.001, "#0.0#",
            "0.0"); // a negative that rounds to zero loses its sign
        row(0.0, "0.#", "0.");
        row(11.88425, "###.##0", "11.884");
        row(0.5, "###.##0", ".500");
        row(2.5, "##", "3");
        row(0.0, "##", "");
    }
    void formatPatterns() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(value, pattern), expected);
    }

    void formatPassesTextsThatAreNoNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        for (const auto& [text, expected] :
             {std::pair{"OL", "OL"}, {"", ""}, {"A5.3", "A5.3"}, {"05.3", "5.3"}, {"20", "20.0"}})
            QTest::addRow("\"%s\"", text)
                << QString::fromLatin1(text) << QString::fromLatin1(expected);
    }
    void formatPassesTextsThatAreNoNumbers() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(formatNumberText(text, QStringLiteral("#0.0#")), expected);
    }

    void wholeNumberConversions() {
        QCOMPARE(roundHalfEven(2.5), 2LL);
        QCOMPARE(roundHalfEven(3.5), 4LL);
        QCOMPARE(roundHalfEven(-2.5), -2LL);
        QCOMPARE(wholeDivide(-7, 2), -3LL); // truncates toward zero
        QCOMPARE(wholeDivide(2.5, 1),
                 2LL);                      // the dividend rounds half to even first
        QCOMPARE(wholeDivide(9, 3.5), 2LL); // and so does the divisor: 9 \ 4
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
