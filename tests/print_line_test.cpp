#include "lists/PrintLine.h"

#include <QTest>

class PrintLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headingAndRule() {
        QCOMPARE(printHeadingLine(),
                 QStringLiteral("          Date        Time       %RH   TEMP    C/F   BAT"));
        QCOMPARE(printRuleLine(),
                 QStringLiteral("        ----------  --------    -----  ----  -------- ----- "));
    }

    void dataLines_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("line");
        // Number and filling to 8, date and filling to 10, two spaces, time, humidity right in 8,
        // three spaces, temperature, unit right in 6, battery filling to 6, two spaces, battery.
        QTest::newRow("empty battery")
            << QStringList{"5", "05-02-2003", "14:03:27", "45.6", "23.1", "C", ""}
            << QString("5" + QString(7, ' ') + "05-02-2003" + "  " + "14:03:27" + "    45.6" +
                       "   " + "23.1" + "     C" + QString(6, ' ') + "  ");
        QTest::newRow("LOW has five spaces before it")
            << QStringList{"12", "05-02-2003", "14:03:27", "45.6", "23.1", "F", "LOW"}
            << QString("12      05-02-2003  14:03:27    45.6   23.1     F     LOW");
        QTest::newRow("cells are stripped of spaces first")
            << QStringList{" 7 ", "05-02-2003", "14:03:27", " 45.6", "23.1 ", " C", " LOW "}
            << QString("7       05-02-2003  14:03:27    45.6   23.1     C     LOW");
        QTest::newRow("missing cells are empty")
            << QStringList{"3"} << QString("3" + QString(7 + 10 + 2 + 8 + 3 + 6 + 8, ' '));
        // A cell that fills its field or runs over it is printed whole, one space apart from the
        // field it would touch, so that no two fields run together.
        QTest::newRow("fields filled exactly")
            << QStringList{"12345678", "05-02-2003", "14:03:27", "12345678",
                           "1",        "123456",     "123456"}
            << QString("12345678 05-02-2003  14:03:27 12345678   1 123456  123456");
        QTest::newRow("long number and date")
            << QStringList{"123456789", "2003-05-02 x", "14:03:27", "45.6", "23.1", "C", ""}
            << QString("123456789 2003-05-02 x  14:03:27    45.6   23.1     C        ");
        QTest::newRow("long humidity, unit and battery")
            << QStringList{"1", "05-02-2003", "14:03:27", "123456789", "23.1", "Kelvin", "BATTERY"}
            << QString("1       05-02-2003  14:03:27 123456789   23.1 Kelvin  BATTERY");
    }
    void dataLines() {
        QFETCH(QStringList, cells);
        QFETCH(QString, line);
        QCOMPARE(printDataLine(cells), line);
    }
};

QTEST_GUILESS_MAIN(PrintLineTest)
#include "print_line_test.moc"
