#include "dew/DewPoint.h"
#include "dew/VapourTables.h"

#include <QTest>

class DewPointTest : public QObject {
    Q_OBJECT

private:
    VapourTables tables;

    std::optional<DewDisplay> dew(const QString& humidity, const QString& temperature,
                                  const QString& unit = QStringLiteral("C")) const {
        return computeDewPoint(humidity, temperature, unit, tables);
    }

private slots:
    void initTestCase() { InitVapourTables(tables); }

    void edgeCases_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("e");
        QTest::addColumn<QString>("shown");
        QTest::newRow("25.0 C 50") << "50"
                                   << "25.0"
                                   << "C" << 11.884 << "13.86";
        QTest::newRow("77.0 F 50") << "50"
                                   << "77.0"
                                   << "F" << 11.884 << "56.95";
        QTest::newRow("5.0 C 50 frost") << "50"
                                        << "5.0"
                                        << "C" << 3.272 << "-4.56";
        QTest::newRow("-5.0 C 80") << "80"
                                   << "-5.0"
                                   << "C" << 2.531 << "-7.91";
        QTest::newRow("25.0 C 1") << "1"
                                  << "25.0"
                                  << "C" << 0.238 << "-34.95";
        QTest::newRow("25.0 C 0") << "0"
                                  << "25.0"
                                  << "C" << 0.0 << "-49.5";
        QTest::newRow("0.0 C 0") << "0"
                                 << "0.0"
                                 << "C" << 0.0 << "-49.5";
        QTest::newRow("100.0 C 0") << "0"
                                   << "100.0"
                                   << "C" << 0.0 << "-49.5";
        QTest::newRow("0.0 C 100 meets the entry") << "100"
                                                   << "0.0"
                                                   << "C" << 4.584 << "0.0";
        QTest::newRow("-0.0 C 100 meets the entry") << "100"
                                                    << "-0.0"
                                                    << "C" << 4.584 << "0.0";
        QTest::newRow("100.9 C 100") << "100"
                                     << "100.9"
                                     << "C" << 760.0 << "100.0";
        // The cold table is empty below -49.4 °C: no pressure, the search stops at its end.
        QTest::newRow("-50.9 C 50") << "50"
                                    << "-50.9"
                                    << "C" << 0.0 << "-49.5";
    }

    void edgeCases() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(double, e);
        QFETCH(QString, shown);
        const std::optional<DewDisplay> display = dew(humidity, temperature, unit);
        QVERIFY(display.has_value());
        QCOMPARE(display->vapourPressure, e);
        QCOMPARE(display->lblvalue, shown);
        QCOMPARE(display->lblrh, humidity);
        QCOMPARE(display->lblc, temperature);
    }

    void unitCaptions() {
        const std::optional<DewDisplay> celsius = dew("50", "25.0", "C");
        QVERIFY(celsius.has_value());
        QCOMPARE(celsius->unitHead, QStringLiteral("Celsius"));
        QCOMPARE(celsius->unitHeadPointSize, 12);
        QCOMPARE(celsius->valueHead, QStringLiteral("'C"));
        const std::optional<DewDisplay> fahrenheit = dew("50", "77.0", "F");
        QVERIFY(fahrenheit.has_value());
        QCOMPARE(fahrenheit->unitHead, QStringLiteral("Fahrenheit"));
        QCOMPARE(fahrenheit->unitHeadPointSize, 10);
        QCOMPARE(fahrenheit->valueHead, QStringLiteral("'F"));
        QCOMPARE(fahrenheit->lblc, QStringLiteral("77.0"));
    }

    // °F readings are taken to a tenth of a degree Celsius before the lookup, so a Fahrenheit
    // reading shows the Celsius result converted back.
    void fahrenheitFollowsItsCelsiusTenth_data() {
        QTest::addColumn<QString>("fahrenheit");
        QTest::addColumn<QString>("celsius");
        QTest::newRow("77.0") << "77.0"
                              << "25.0";
        QTest::newRow("32.0") << "32.0"
                              << "0.0";
        QTest::newRow("20.0") << "20.0"
                              << "-6.7";
        QTest::newRow("-40.0") << "-40.0"
                               << "-40.0";
        QTest::newRow("212.0") << "212.0"
                               << "100.0";
        QTest::newRow("98.6") << "98.6"
                              << "37.0";
    }

    void fahrenheitFollowsItsCelsiusTenth() {
        QFETCH(QString, fahrenheit);
        QFETCH(QString, celsius);
        for (const QString humidity : {"5", "33.5", "80", "100"}) {
            const std::optional<DewDisplay> inF = dew(humidity, fahrenheit, "F");
            const std::optional<DewDisplay> inC = dew(humidity, celsius, "C");
            QVERIFY(inF.has_value() && inC.has_value());
            QCOMPARE(inF->dewPoint, inC->dewPoint);
        }
    }

    // An over-range temperature reads as 0 in °C.
    void overRangeCelsiusReadsZero() {
        for (const QString humidity : {"0", "20", "50", "100"}) {
            const std::optional<DewDisplay> overRange = dew(humidity, "OL");
            const std::optional<DewDisplay> zero = dew(humidity, "0.0");
            QVERIFY(overRange.has_value() && zero.has_value());
            QCOMPARE(overRange->lblvalue, zero->lblvalue);
            QCOMPARE(overRange->lblc, QStringLiteral("OL"));
        }
    }

    void outOfRange_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::newRow("101.0 C") << "50"
                                 << "101.0"
                                 << "C";
        QTest::newRow("-51.0 C") << "50"
                                 << "-51.0"
                                 << "C";
        QTest::newRow("OL in F") << "50"
                                 << "OL"
                                 << "F";
        QTest::newRow("-OL in F") << "50"
                                  << "-OL"
                                  << "F";
        QTest::newRow("214.0 F") << "50"
                                 << "214.0"
                                 << "F";
        QTest::newRow("-60.0 F") << "50"
                                 << "-60.0"
                                 << "F";
        // More vapour than 760 mmHg: the warm search runs past its last row.
        QTest::newRow("150 %RH at 99.0 C") << "150"
                                           << "99.0"
                                           << "C";
        QTest::newRow("1e30 C") << "50"
                                << "1e30"
                                << "C";
        QTest::newRow("no humidity yet") << ""
                                         << "25.0"
                                         << "C";
    }

    void outOfRange() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QVERIFY(!dew(humidity, temperature, unit).has_value());
    }

    void searchEnds() {
        QCOMPARE(searchDewPoint(760.0, tables, true), std::optional<double>(100.0));
        QVERIFY(!searchDewPoint(760.001, tables, true).has_value());
        QVERIFY(!searchDewPoint(-0.001, tables, false).has_value());
        QCOMPARE(searchDewPoint(0.0, tables, false), std::optional<double>(-49.5));
    }

    // At saturation the dew point is the air temperature itself, wherever that temperature's
    // entry differs from its neighbour's (single-precision equality makes the hit exact).
    void saturatedAirShowsItsOwnTemperature() {
        for (int tenths = -445; tenths <= 999; ++tenths) {
            const double celsius = tenths / 10.0;
            const std::optional<DewDisplay> display = dew("100", QString::number(celsius, 'f', 1));
            QVERIFY(display.has_value());
            QCOMPARE(display->dewPoint, celsius);
        }
    }
};

QTEST_APPLESS_MAIN(DewPointTest)
#include "dew_point_test.moc"
