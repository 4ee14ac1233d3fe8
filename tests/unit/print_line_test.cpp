#include "logic/lists/PrintLine.h"

#include <QTest>

class PrintLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Number and filling to 8, date and filling to 10, two spaces, time, humidity right in 8,
    // three spaces, temperature, unit right in 6, battery filling to 6, two spaces, battery. A
    // cell that fills its field or runs over it is printed whole, one space apart from the field
    // it would touch, so that no two fields run together.
    void dataLines_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("line");
        QTest::newRow("cells stripped of spaces, LOW")
            << QStringList{" 7 ", "05-02-2003", "14:03:27", " 45.6", "23.1 ", " F", " LOW "}
            << QString("7       05-02-2003  14:03:27    45.6   23.1     F     LOW");
        QTest::newRow("missing cells are empty") << QStringList{"3"} << "3" + QString(44, ' ');
        QTest::newRow("fields filled exactly")
            << QStringList{"12345678", "05-02-2003", "14:03:27", "12345678",
                           "1",        "123456",     "123456"}
            << QString("12345678 05-02-2003  14:03:27 12345678   1 123456  123456");
        QTest::newRow("fields run over")
            << QStringList{"123456789", "2003-05-02 x", "14:03:27", "123456789",
                           "23.1",      "Kelvin",       "BATTERY"}
            << QString("123456789 2003-05-02 x  14:03:27 123456789   23.1 Kelvin  BATTERY");
    }
    void dataLines() {
        QFETCH(QStringList, cells);
        QFETCH(QString, line);
        QCOMPARE(printDataLine(cells), line);
    }

    void headingAndRule() {
        QCOMPARE(printHeadingLine(),
                 QString("          Date        Time       %RH   TEMP    C/F   BAT"));
        QCOMPARE(printRuleLine(),
                 QString("        ----------  --------    -----  ----  -------- ----- "));
    }
};

QTEST_GUILESS_MAIN(PrintLineTest)
#include "print_line_test.moc"
