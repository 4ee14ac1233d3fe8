#include "FakeDialogs.h"
#include "dew/DewWindow.h"
#include "dew/VapourTables.h"
#include "link/LiveReading.h"
#include "text/NumberText.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

namespace {

// Magnus' form over liquid water with Sonntag's (1990) constants, as the WMO recommends it.
constexpr double MagnusB = 17.62;
constexpr double MagnusC = 243.12;

double magnusPressureMmHg(double celsius) {
    return 611.2 * std::exp(MagnusB * celsius / (MagnusC + celsius)) / 133.322368;
}

double magnusDewPoint(double humidity, double celsius) {
    const double gamma = std::log(humidity / 100.0) + MagnusB * celsius / (MagnusC + celsius);
    return MagnusC * gamma / (MagnusB - gamma);
}

// d ln es / dT of Magnus' form.
double magnusSlope(double celsius) {
    return MagnusB * MagnusC / ((MagnusC + celsius) * (MagnusC + celsius));
}

double wexlerPressureMmHg(double celsius) {
    return wexlerSaturationPressure(celsius + 273.15) / 133.322368;
}

// How far the two formulas part at a temperature, as the log of their ratio (below 0.5 % over
// -45 to 60 °C).
double formulaGap(double celsius) {
    return std::log(magnusPressureMmHg(celsius) / wexlerPressureMmHg(celsius));
}

// How far the window may lie from Magnus' dew point td for air at celsius:
// - the formulas: Magnus' dew point solves ln e = ln RH + ln es(air) on its own curve; on
//   Wexler's curve both sides shift by the formulas' gap at air and at dew temperature, so to
//   first order the dew points differ by |gap(air) - gap(dew)| / slope(dew); 20 % more covers the
//   second-order terms;
// - the three decimals of mmHg: e rounded, the entry at the air temperature, the two entries the
//   search interpolates (and the five entries kept a thousandth or two from the formula) add up
//   to no more than 0.0025 mmHg, worth 0.0025 / (es * slope) kelvin at the dew point: 0.3 K at
//   -45 °C, a few thousandths above 0 °C;
// - the display's two decimals, 0.005 K, and 0.002 K for single precision and the curvature
//   between tenths.
double tolerance(double celsius, double td) {
    const double formulas = 1.2 * std::fabs(formulaGap(celsius) - formulaGap(td)) / magnusSlope(td);
    const double decimals = 0.0025 / (magnusPressureMmHg(td) * magnusSlope(td));
    return formulas + decimals + 0.005 + 0.002;
}

} // namespace

class DewWindowTest : public QObject {
    Q_OBJECT

private:
    VapourTables tables;
    LiveReading reading;
    FakeDialogs dialogs;
    double samplingPeriod = 2.0;
    std::unique_ptr<QWidget> mainWindow;

    DewWindow* openDew() {
        return DewWindow::open(mainWindow.get(), reading, tables, dialogs,
                               [this] { return samplingPeriod; });
    }
    void setReading(const QString& humidity, const QString& temperature,
                    const QString& unit = QStringLiteral("C")) {
        reading.HumidityText = humidity;
        reading.TemperatureText = temperature;
        reading.TempUnit = unit;
    }
    static QString caption(DewWindow* window, const char* name) {
        const auto* label = window->findChild<QLabel*>(QLatin1String(name));
        return label != nullptr ? label->text() : QStringLiteral("(no %1)").arg(name);
    }
    static QTimer* timer(DewWindow* window) {
        return window->findChild<QTimer*>(QStringLiteral("Timer1"));
    }
    static void deleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase() { InitVapourTables(tables); }

    void init() {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setObjectName(QStringLiteral("PANEL"));
        mainWindow->resize(640, 400);
        mainWindow->show();
        dialogs = FakeDialogs();
        samplingPeriod = 2.0;
        setReading(QStringLiteral("50"), QStringLiteral("25.0"));
    }

    void cleanup() {
        mainWindow.reset();
        deleteClosedWindows();
    }

    void tickFollowsTheSamplingPeriod_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("1") << 1.0 << 1000;
        QTest::newRow("65") << 65.0 << 65000;
        QTest::newRow("1.5") << 1.5 << 1500;
        QTest::newRow("half to even down") << 0.0025 << 2;
        QTest::newRow("half to even up") << 0.0035 << 4;
    }

    void tickFollowsTheSamplingPeriod() {
        QFETCH(double, seconds);
        QFETCH(int, milliseconds);
        DewWindow* dew = openDew();
        samplingPeriod = seconds;
        dew->Timer1_Timer();
        QCOMPARE(timer(dew)->interval(), milliseconds);
        QVERIFY(timer(dew)->isActive());
    }

    void timerTicksOnItsOwn() {
        samplingPeriod = 0.01;
        DewWindow* dew = openDew();
        QTRY_COMPARE(caption(dew, "lblvalue"), QStringLiteral("13.86"));
    }

    void openingAgainReusesTheWindow() {
        DewWindow* first = openDew();
        samplingPeriod = 5;
        DewWindow* second = openDew();
        QCOMPARE(second, first);
        QCOMPARE(timer(second)->interval(), 5000);
        QCOMPARE(mainWindow->findChildren<DewWindow*>().size(), 1);
    }

    void closingStopsTheTimerAndOpeningMakesAFreshWindow() {
        QPointer<DewWindow> first = openDew();
        QTimer* ticks = timer(first);
        first->close();
        QVERIFY(!ticks->isActive());
        DewWindow* second = openDew();
        QVERIFY(second != first.data() && second->isVisible());
        deleteClosedWindows();
        QVERIFY(first.isNull());
    }

    static void addReadingColumns() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("shown");
    }
    static void addReading(const char* name, const char* humidity, const char* temperature,
                           const char* unit, const char* shown = "") {
        QTest::newRow(name) << QString::fromLatin1(humidity) << QString::fromLatin1(temperature)
                            << QString::fromLatin1(unit) << QString::fromLatin1(shown);
    }

    void edgeCases_data() {
        addReadingColumns();
        addReading("25.0 C 50", "50", "25.0", "C", "13.86");
        addReading("77.0 F 50", "50", "77.0", "F", "56.95");
        addReading("5.0 C 50 frost", "50", "5.0", "C", "-4.56");
        addReading("-5.0 C 80", "80", "-5.0", "C", "-7.91");
        addReading("25.0 C 1", "1", "25.0", "C", "-34.95");
        addReading("0 %RH at 0.0", "0", "0.0", "C", "-49.5");
        addReading("0 %RH at 100.0", "0", "100.0", "C", "-49.5");
        addReading("OL in C reads 0", "50", "OL", "C", "-9.18");
        addReading("0.0 C 100", "100", "0.0", "C", "0.0");
    }

    void edgeCases() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(QString, shown);
        DewWindow* dew = openDew();
        setReading(humidity, temperature, unit);
        dew->Timer1_Timer();
        QCOMPARE(caption(dew, "lblvalue"), shown);
        QCOMPARE(caption(dew, "lblrh"), humidity);
        QCOMPARE(caption(dew, "lblc"), temperature);
        const bool celsius = unit == QLatin1String("C");
        QCOMPARE(caption(dew, "UnitHead"), celsius ? "Celsius" : "Fahrenheit");
        QCOMPARE(caption(dew, "ValueHead"), celsius ? "'C" : "'F");
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(timer(dew)->isActive());
    }

    void failureClosesTheWindow_data() {
        addReadingColumns();
        addReading("101.0 C", "50", "101.0", "C");
        addReading("-51.0 C", "50", "-51.0", "C");
        addReading("OL in F", "50", "OL", "F");
        addReading("search past the last row", "150", "99.0", "C");
    }

    void failureClosesTheWindow() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QPointer<DewWindow> dew = openDew();
        QPointer<QTimer> ticks = timer(dew);
        bool timerStoppedDuringTheBox = false;
        dialogs.onMessage = [&](const FakeDialogs::Message&) {
            timerStoppedDuringTheBox = !ticks->isActive();
        };
        setReading(humidity, temperature, unit);
        dew->Timer1_Timer();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Out of Range! "));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Critical);
        QVERIFY(timerStoppedDuringTheBox);
        QVERIFY(!dew->isVisible());
        deleteClosedWindows();
        QVERIFY(dew.isNull());
        QVERIFY(mainWindow->isVisible());
    }

    // The main window may go (the program ends) while the box is up.
    void mainWindowClosingDuringTheBox() {
        QPointer<DewWindow> dew = openDew();
        dialogs.onMessage = [this](const FakeDialogs::Message&) { mainWindow.reset(); };
        setReading("50", "101.0");
        dew->Timer1_Timer();
        QVERIFY(dew.isNull());
    }

    void command1ShowsTheFormulaAtTwentyDegrees() {
        DewWindow* dew = openDew();
        dew->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(!timer(dew)->isActive());
        QVERIFY(std::fabs(leadingNumber(caption(dew, "Label3")) - 2338.5) < 0.1);
    }

    // Across 1 to 100 %RH and -40 to 60 °C the window's dew point must agree with an independent
    // closed form wherever it lies above -45 °C (see tolerance()), and rise with the humidity.
    void agreesWithMagnusAndRisesWithHumidity() {
        DewWindow* dew = openDew();
        int compared = 0;
        double worst = 0;
        QString worstAt;
        for (int tenths = -400; tenths <= 600; ++tenths) {
            const double celsius = tenths / 10.0;
            const QString temperature = QString::number(celsius, 'f', 1);
            double previous = -1000;
            for (int humidity = 1; humidity <= 100; ++humidity) {
                setReading(QString::number(humidity), temperature);
                dew->Timer1_Timer();
                const QString text = caption(dew, "lblvalue");
                const double shown = leadingNumber(text);
                const QString at =
                    QStringLiteral("%1 %RH, %2 C: %3").arg(humidity).arg(temperature, text);
                if (shown < previous || (shown == previous && shown > -45))
                    QFAIL(qPrintable(QStringLiteral("does not rise at ") + at));
                previous = shown;
                if (shown <= -45)
                    continue;
                const double td = magnusDewPoint(humidity, celsius);
                const double share = std::fabs(shown - td) / tolerance(celsius, td);
                if (share > 1)
                    QFAIL(qPrintable(QStringLiteral("Magnus gives %1 at ").arg(td) + at));
                if (share > worst) {
                    worst = share;
                    worstAt = at;
                }
                ++compared;
            }
        }
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(compared > 90000);
        qInfo("%d points, worst at %.0f %% of the tolerance (%s)", compared, worst * 100,
              qPrintable(worstAt));
    }
};

QTEST_MAIN(DewWindowTest)
#include "dew_window_test.moc"
