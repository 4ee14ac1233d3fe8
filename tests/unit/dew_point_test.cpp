#include "DewReference.h"
#include "logic/dew/DewPoint.h"
#include "logic/dew/VapourTables.h"
#include "logic/text/NumberText.h"

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

    // An empty shown text: no dew point, the reading lies beyond the tables.
    void readings_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* rh, const char* t, const char* unit, const char* shown) {
            QTest::addRow("%s %s %s %%RH", t, unit, rh)
                << QString::fromLatin1(rh) << QString::fromLatin1(t) << QString::fromLatin1(unit)
                << QString::fromLatin1(shown);
        };
        row("50", "25.0", "C", "13.86");
        row("50", "77.0", "F", "56.95");
        row("50", "5.0", "C", "-4.56"); // frost
        row("1", "25.0", "C", "-34.95");
        row("0", "25.0", "C", "-49.5");
        row("100", "0.0", "C", "0.0");
        row("100", "-0.0", "C", "0.0");
        row("100", "OL", "C", "0.0"); // an over-range text reads as 0 in °C
        row("100", "100.9", "C", "100.0");
        // The cold table is empty below -49.4 °C: no pressure, the search stops at its end.
        row("50", "-50.9", "C", "-49.5");
        row("50", "101.0", "C", "");
        row("50", "-51.0", "C", "");
        row("50", "OL", "F", "");
        row("50", "214.0", "F", "");
        // More vapour than 760 mmHg: the warm search runs past its last row.
        row("150", "99.0", "C", "");
        // Less than none: the cold search runs past its last row.
        row("-5", "25.0", "C", "");
        row("", "25.0", "C", "");
        row("50", "1e30", "C", "");
        // Beyond a double: in the conversion to °C, the temperature, the pressure.
        row("50", "-4e307", "F", "");
        row("50", "1e999", "C", "");
        row("1.7e308", "25.0", "C", "");
    }
    void readings() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(QString, shown);
        const std::optional<DewDisplay> display = dew(humidity, temperature, unit);
        QCOMPARE(display ? display->lblvalue : QString(), shown);
    }

    // °F readings are taken to a tenth of a degree Celsius before the lookup, so a Fahrenheit
    // reading shows the Celsius result converted back.
    void fahrenheitFollowsItsCelsiusTenth() {
        for (const auto& [f, c] :
             {std::pair{"20.0", "-6.7"}, {"-40.0", "-40.0"}, {"212.0", "100.0"}})
            for (const char* humidity : {"5", "33.5", "80", "100"})
                QCOMPARE(dew(humidity, f, "F").value().dewPoint,
                         dew(humidity, c, "C").value().dewPoint);
    }

    // From -40 to 100 °C the shown dew point rises with the humidity, 1 to 100 %RH, and up to
    // 60 °C agrees with Magnus' closed form wherever it lies above -45 °C (see dewref::tolerance).
    // Saturated air, from -44.5 °C, has the air's own temperature as its dew point (its entry
    // differs from its neighbour's there, and single-precision equality makes the hit exact).
    void agreesWithMagnusAndRisesWithHumidity() {
        int compared = 0;
        for (int tenths = -445; tenths <= 999; ++tenths) {
            const double celsius = tenths / 10.0;
            const QString temperature = QString::number(celsius, 'f', 1);
            double previous = -1000;
            for (int humidity = tenths < -400 ? 100 : 1; humidity <= 100; ++humidity) {
                const DewDisplay display = dew(QString::number(humidity), temperature).value();
                const double shown = leadingNumber(display.lblvalue);
                const QString at = QStringLiteral("%1 %RH, %2 C: %3")
                                       .arg(humidity)
                                       .arg(temperature, display.lblvalue);
                if (shown < previous || (shown == previous && shown > -45))
                    QFAIL(qPrintable(QStringLiteral("does not rise at ") + at));
                previous = shown;
                if (humidity == 100 && display.dewPoint != celsius)
                    QFAIL(qPrintable(QStringLiteral("not the air's temperature at ") + at));
                if (shown <= -45 || tenths > 600)
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
