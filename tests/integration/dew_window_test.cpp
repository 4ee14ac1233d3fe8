#include "FakeDialogs.h"
#include "logic/dew/VapourTables.h"
#include "logic/link/LiveReading.h"
#include "logic/recording/ExportRow.h"
#include "logic/text/NumberText.h"
#include "ui/dew/DewWindow.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

// The window around the dew point search: its timer, its captions, and the box that closes it.
// The search itself is checked against an independent formula in dew_point_test.
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
    static QString caption(DewWindow* window, const char* name) {
        return window->findChild<QLabel*>(QLatin1String(name))->text();
    }
    static QStringList captions(DewWindow* window) {
        QStringList texts;
        for (const char* name : {"lblrh", "lblc", "UnitHead", "ValueHead", "lblvalue"})
            texts << caption(window, name);
        return texts;
    }
    // The dew point a JSON line of the reading carries, as its text; "null" when it has none.
    QString writtenDewPoint() const {
        QByteArray line;
        appendJsonLine(line, liveExportRow(QDateTime::currentDateTime(), reading));
        const QJsonValue dew = QJsonDocument::fromJson(line).object()[u"dew_point"];
        return dew.isNull() ? QStringLiteral("null") : plainNumberText(dew.toDouble());
    }
    // The window shows two decimals, the files one: they agree when the file's tenth is one the
    // window's text rounds to, which is within half a tenth and the window's own half-hundredth.
    static bool agree(const QString& window, const QString& written) {
        return std::fabs(leadingNumber(window) - leadingNumber(written)) <= 0.055 + 1e-9;
    }
    static QTimer* timer(DewWindow* window) {
        return window->findChild<QTimer*>(QStringLiteral("Timer1"));
    }

private Q_SLOTS:
    void initTestCase() { InitVapourTables(tables); }

    void init() {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
        dialogs = FakeDialogs();
        samplingPeriod = 2.0;
        reading.HumidityText = QStringLiteral("50");
        reading.TemperatureText = QStringLiteral("25.0");
        reading.TempUnit = QStringLiteral("C");
    }

    void cleanup() {
        mainWindow.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void openingAgainReusesTheTickingWindowAndClosingMakesAFreshOne() {
        samplingPeriod = 0.01;
        QPointer<DewWindow> first = openDew();
        QTRY_COMPARE(caption(first, "lblvalue"), QStringLiteral("13.86"));
        samplingPeriod = 5;
        QCOMPARE(openDew(), first.data());
        QCOMPARE(timer(first)->interval(), 5000);
        QTimer* ticks = timer(first);
        first->close();
        QVERIFY(!ticks->isActive());
        DewWindow* second = openDew();
        QVERIFY(second != first.data() && second->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
    }

    // Each tick takes up the sampling period, in whole milliseconds with halves to even, and
    // shows the reading as it stands.
    void ticksFollowThePeriodAndTheReading() {
        DewWindow* dew = openDew();
        for (const auto& [seconds, milliseconds] :
             {std::pair{1.5, 1500}, {0.0025, 2}, {0.0035, 4}}) {
            samplingPeriod = seconds;
            dew->Timer1_Timer();
            QCOMPARE(timer(dew)->interval(), milliseconds);
        }
        QVERIFY(timer(dew)->isActive());
        QCOMPARE(captions(dew), QStringList({"50", "25.0", "Celsius", "'C", "13.86"}));
        reading.TemperatureText = QStringLiteral("77.0");
        reading.TempUnit = QStringLiteral("F");
        dew->Timer1_Timer();
        QCOMPARE(captions(dew), QStringList({"50", "77.0", "Fahrenheit", "'F", "56.95"}));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void outOfRangeClosesTheWindow() {
        QPointer<DewWindow> dew = openDew();
        QPointer<QTimer> ticks = timer(dew);
        bool timerStoppedDuringTheBox = false;
        dialogs.onMessage = [&](const FakeDialogs::Message&) {
            timerStoppedDuringTheBox = !ticks->isActive();
        };
        reading.TemperatureText = QStringLiteral("101.0");
        dew->Timer1_Timer();
        QCOMPARE(dialogs.oneFailureBoxLacks({}), QString());
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Out of Range! "));
        QVERIFY(timerStoppedDuringTheBox);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dew.isNull());
        QVERIFY(mainWindow->isVisible());
    }

    // The main window may go (the program ends) while the box is up.
    void mainWindowClosingDuringTheBox() {
        QPointer<DewWindow> dew = openDew();
        dialogs.onMessage = [this](const FakeDialogs::Message&) { mainWindow.reset(); };
        reading.TemperatureText = QStringLiteral("101.0");
        dew->Timer1_Timer();
        QVERIFY(dew.isNull());
    }

    // The dew point every reading carries is the one the window shows, to one decimal: dew and
    // frost points, °C and °F meters.
    void filesCarryTheWindowsDewPoint_data() {
        QTest::addColumn<QString>("humidity");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* rh, const char* t, const char* unit, const char* shown,
                            const char* written) {
            QTest::addRow("%s %s %s %%RH", t, unit, rh)
                << QString::fromLatin1(rh) << QString::fromLatin1(t) << QString::fromLatin1(unit)
                << QString::fromLatin1(shown) << QString::fromLatin1(written);
        };
        row("50", "25.0", "C", "13.86", "13.9");
        row("95", "38.5", "C", "37.55", "37.6");
        row("100", "0.0", "C", "0.0", "0");
        row("50", "5.0", "C", "-4.56", "-4.6");
        row("80", "-20.0", "C", "-22.56", "-22.6");
        row("1", "25.0", "C", "-34.95", "-34.9");
        row("50", "77.0", "F", "56.95", "57");
        row("30", "100.0", "F", "63.03", "63");
        row("40", "14.0", "F", "-5.9", "-5.9");
        row("70", "-22.0", "F", "-28.72", "-28.7");
    }
    void filesCarryTheWindowsDewPoint() {
        QFETCH(QString, humidity);
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        reading.HumidityText = humidity;
        reading.TemperatureText = temperature;
        reading.TempUnit = unit;
        DewWindow* dew = openDew();
        dew->Timer1_Timer();
        QCOMPARE(caption(dew, "lblvalue"), shown);
        QCOMPARE(writtenDewPoint(), written);
    }

    // Over the meter's range in both units, every humidity from 1 % in steps of 3.3 %: no reading
    // whose written dew point differs from the window's.
    void noDifferenceOverTheRange() {
        DewWindow* dew = openDew();
        QStringList differences;
        int readings = 0;
        for (const auto& [unit, lowest, highest] :
             {std::tuple{"C", -44.0, 99.9}, std::tuple{"F", -47.2, 211.8}}) {
            for (double t = lowest; t <= highest; t += 1.3) {
                for (double rh = 1.0; rh <= 100.0; rh += 3.3) {
                    reading.HumidityText = formatNumber(rh, QStringLiteral("0.0"));
                    reading.TemperatureText = formatNumber(t, QStringLiteral("0.0"));
                    reading.TempUnit = QLatin1String(unit);
                    dew->Timer1_Timer();
                    const QString shown = caption(dew, "lblvalue");
                    const QString written = writtenDewPoint();
                    ++readings;
                    if (!agree(shown, written))
                        differences << reading.HumidityText + u' ' + reading.TemperatureText +
                                           QLatin1String(unit) + QStringLiteral(": ") + shown +
                                           QStringLiteral(" shown, ") + written +
                                           QStringLiteral(" written");
                }
            }
        }
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(readings > 6000);
        QCOMPARE(differences, QStringList());
    }

    // The formula's check against its published 20 °C value.
    void command1ShowsTheFormulaAtTwentyDegrees() {
        DewWindow* dew = openDew();
        dew->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(!timer(dew)->isActive());
        QVERIFY(std::fabs(leadingNumber(caption(dew, "Label3")) - 2338.5) < 0.1);
    }
};

QTEST_MAIN(DewWindowTest)
#include "dew_window_test.moc"
