#include "text/NumberText.h"

#include <QTest>

class NumberTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leadingNumberReadsTheStartOfText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "23.5" << 23.5;
        QTest::newRow("caption with unit") << "2 Sec" << 2.0;
        QTest::newRow("leading blanks") << "   12" << 12.0;
        QTest::newRow("signed text") << " -4.25x" << -4.25;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("trailing point") << "7." << 7.0;
        QTest::newRow("exponent") << "1e3 apples" << 1000.0;
        QTest::newRow("letter e without digits") << "3e" << 3.0;
        QTest::newRow("no number") << "OL" << 0.0;
        QTest::newRow("minus then letters") << "-OL" << 0.0;
        QTest::newRow("dashes") << "----" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("comma stops the number") << "2,5" << 2.0;
        QTest::newRow("hex letters stop it") << "1A" << 1.0;
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
        QTest::newRow("tenths from BCD") << 35 * 0.1 << "3.5"
                                         << " 3.5";
        QTest::newRow("half") << 5 * 0.1 << "0.5"
                              << " 0.5";
        QTest::newRow("zero") << 0.0 << "0"
                              << " 0";
        QTest::newRow("one") << 10 * 0.1 << "1"
                             << " 1";
        QTest::newRow("twelve") << 12.0 << "12"
                                << " 12";
        QTest::newRow("negative") << -2.25 << "-2.25"
                                  << "-2.25";
        QTest::newRow("large count") << 40000.0 << "40000"
                                     << " 40000";
        QTest::newRow("tiny") << 0.00001 << "0.00001"
                              << " 0.00001";
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
        QTest::newRow("00 pads") << 5.0 << "00"
                                 << "05";
        QTest::newRow("00 keeps two digits") << 35.0 << "00"
                                             << "35";
        QTest::newRow("00 zero") << 0.0 << "00"
                                 << "00";
        QTest::newRow("#0.0# whole") << 20.0 << "#0.0#"
                                     << "20.0";
        QTest::newRow("#0.0# one decimal") << 23.5 << "#0.0#"
                                           << "23.5";
        QTest::newRow("#0.0# two decimals") << 13.8612 << "#0.0#"
                                            << "13.86";
        QTest::newRow("#0.0# hundreds") << 105.3 << "#0.0#"
                                        << "105.3";
        QTest::newRow("#0.0# small") << 5.3 << "#0.0#"
                                     << "5.3";
        QTest::newRow("#0.0# negative") << -4.5649 << "#0.0#"
                                        << "-4.56";
        QTest::newRow("#0.0# rounds half away") << 2.675 << "#0.0#"
                                                << "2.68";
        QTest::newRow("#0.0# tiny negative is zero") << -0.001 << "#0.0#"
                                                     << "0.0";
        QTest::newRow("##0.0") << 25.04 << "##0.0"
                               << "25.0";
        QTest::newRow("##0.0 below one") << 0.26 << "##0.0"
                                         << "0.3";
        QTest::newRow("0.0") << 45.55 << "0.0"
                             << "45.6";
        QTest::newRow("0.# fraction") << 0.3 << "0.#"
                                      << "0.3";
        QTest::newRow("0.# whole keeps its point") << 0.0 << "0.#"
                                                   << "0.";
        QTest::newRow("###.##0") << 11.88425 << "###.##0"
                                 << "11.884";
        QTest::newRow("###.##0 below one") << 0.5 << "###.##0"
                                           << ".500";
        QTest::newRow("##.0 no leading zero") << 0.5 << "##.0"
                                              << ".5";
        QTest::newRow("##.0") << 19.5 << "##.0"
                              << "19.5";
        QTest::newRow("## rounds half away") << 2.5 << "##"
                                             << "3";
        QTest::newRow("## plain") << 65.0 << "##"
                                  << "65";
        QTest::newRow("## zero is empty") << 0.0 << "##"
                                          << "";
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
        QTest::newRow("overload") << "OL"
                                  << "OL";
        QTest::newRow("negative overload") << "-OL"
                                           << "-OL";
        QTest::newRow("no device") << "----"
                                   << "----";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("hex letter tens") << "A5.3"
                                         << "A5.3";
        QTest::newRow("number") << "20"
                                << "20.0";
        QTest::newRow("number with leading zero") << "05.3"
                                                  << "5.3";
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
        QCOMPARE(roundHalfEven(1700.4), 1700LL);
        QCOMPARE(wholeDivide(255, 10), 25LL);
        QCOMPARE(wholeDivide(-7, 2), -3LL); // truncates toward zero
        QCOMPARE(wholeDivide(2.5, 1), 2LL); // the dividend rounds half to even first
        QCOMPARE(wholeDivide(9, 3.5), 2LL); // and so does the divisor: 9 \ 4
        QCOMPARE(wholeRemainder(7, 3), 1LL);
        QCOMPARE(wholeRemainder(65535, 256), 255LL);
        QCOMPARE(integerPart(3.5), 3LL);
        QCOMPARE(integerPart(-3.5), -4LL);
    }

    void hexTextHasNoLeadingZero() {
        QCOMPARE(hexText(0x05), QStringLiteral("5"));
        QCOMPARE(hexText(0x35), QStringLiteral("35"));
        QCOMPARE(hexText(0x00), QStringLiteral("0"));
        QCOMPARE(hexText(0xA5), QStringLiteral("A5"));
    }
};

QTEST_APPLESS_MAIN(NumberTextTest)
#include "number_text_test.moc"
