#include "DewReference.h"
#include "dew/DewPoint.h"
#include "dew/VapourTables.h"
#include "text/NumberText.h"

#include <QTest>

class DewPointTest : public QObject {
    Q_OBJECT

private:
    VapourTables tables;

    std::optional<DewDisplay> dew(const QString& humidity, const QString& temperature,
                                  const QString& unit = QStringLiteral("C")) const {
        return computeDewPoint(humidity, temperature, unit, tables);
    }

private Q_SLOTS:
    void initTestCase() { InitVapourTables(tables); }

    void edgeCases_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("e");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* rh, const char* t, const char* unit, double e,
                            const char* shown) {
            QTest::addRow("%s %s %s %%RH", t, unit, rh)
                << QString::fromLatin1(rh) << QString::fromLatin1(t) << QString::fromLatin1(unit)
                << e << QString::fromLatin1(shown);
        };
        row("50", "25.0", "C", 11.884, "13.86");
        row("50", "5.0", "C", 3.272, "-4.56"); // frost
        row("1", "25.0", "C", 0.238, "-34.95");
        row("0", "25.0", "C", 0.0, "-49.5");
        row("100", "0.0", "C", 4.584, "0.0");
        row("100", "-0.0", "C", 4.584, "0.0");
        row("100", "100.9", "C", 760.0, "100.0");
        // The cold table is empty below -49.4 °C: no pressure, the search stops at its end.
        row("50", "-50.9", "C", 0.0, "-49.5");
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

    // °F readings are taken to a tenth of a degree Celsius before the lookup, so a Fahrenheit
    // reading shows the Celsius result converted back.
    void fahrenheitFollowsItsCelsiusTenth_data() {
        QTest::addColumn<QString>("fahrenheit");
        QTest::addColumn<QString>("celsius");
        for (const auto& [f, c] :
             {std::pair{"20.0", "-6.7"}, {"-40.0", "-40.0"}, {"212.0", "100.0"}})
            QTest::newRow(f) << QString::fromLatin1(f) << QString::fromLatin1(c);
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

    void outOfRange_data() { dewref::addOutOfRangeRows(); }
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

    // At saturation the dew point is the air temperature itself, wherever that temperature's entry
    // differs from its neighbour's (single-precision equality makes the hit exact).
    void saturatedAirShowsItsOwnTemperature() {
        for (int tenths = -445; tenths <= 999; ++tenths) {
            const double celsius = tenths / 10.0;
            const std::optional<DewDisplay> display = dew("100", QString::number(celsius, 'f', 1));
            QVERIFY(display.has_value());
            QCOMPARE(display->dewPoint, celsius);
        }
    }

    // Across 1 to 100 %RH and -40 to 60 °C the shown dew point agrees with Magnus' closed form
    // wherever it lies above -45 °C (see dewref::tolerance), and rises with the humidity.
    void agreesWithMagnusAndRisesWithHumidity() {
        int compared = 0;
        for (int tenths = -400; tenths <= 600; ++tenths) {
            const double celsius = tenths / 10.0;
            const QString temperature = QString::number(celsius, 'f', 1);
            double previous = -1000;
            for (int humidity = 1; humidity <= 100; ++humidity) {
                const std::optional<DewDisplay> display =
                    dew(QString::number(humidity), temperature);
                QVERIFY(display.has_value());
                const double shown = leadingNumber(display->lblvalue);
                const QString at = QStringLiteral("%1 %RH, %2 C: %3")
                                       .arg(humidity)
                                       .arg(temperature, display->lblvalue);
                if (shown < previous || (shown == previous && shown > -45))
                    QFAIL(qPrintable(QStringLiteral("does not rise at ") + at));
                previous = shown;
                if (shown <= -45)
                    continue;
                const double td = dewref::magnusDewPoint(humidity, celsius);
                if (std::fabs(shown - td) > dewref::tolerance(celsius, td))
                    QFAIL(qPrintable(QStringLiteral("Magnus gives %1 at ").arg(td) + at));
                ++compared;
            }
        }
        QVERIFY(compared > 90000);
    }
};

QTEST_APPLESS_MAIN(DewPointTest)
#include "dew_point_test.moc"
