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
    void setReading(const QString& humidity, const QString& temperature,
                    const QString& unit = QStringLiteral("C")) {
        reading.HumidityText = humidity;
        reading.TemperatureText = temperature;
        reading.TempUnit = unit;
    }
    static QString caption(DewWindow* window, const char* name) {
        return window->findChild<QLabel*>(QLatin1String(name))->text();
    }
    static QTimer* timer(DewWindow* window) {
        return window->findChild<QTimer*>(QStringLiteral("Timer1"));
    }
    static void deleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void initTestCase() { InitVapourTables(tables); }

    void init() {
        mainWindow = std::make_unique<QWidget>();
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

    void openingAgainReusesTheWindowAndClosingMakesAFreshOne() {
        QPointer<DewWindow> first = openDew();
        samplingPeriod = 5;
        QCOMPARE(openDew(), first.data());
        QCOMPARE(timer(first)->interval(), 5000);
        QTimer* ticks = timer(first);
        first->close();
        QVERIFY(!ticks->isActive());
        DewWindow* second = openDew();
        QVERIFY(second != first.data() && second->isVisible());
        deleteClosedWindows();
        QVERIFY(first.isNull());
    }

    void captionsFollowTheReading_data() {
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("C") << "25.0"
                           << "C"
                           << "13.86";
        QTest::newRow("F") << "77.0"
                           << "F"
                           << "56.95";
    }
    void captionsFollowTheReading() {
        QFETCH(QString, temperature);
        QFETCH(QString, unit);
        QFETCH(QString, shown);
        DewWindow* dew = openDew();
        setReading(QStringLiteral("50"), temperature, unit);
        dew->Timer1_Timer();
        QCOMPARE(caption(dew, "lblvalue"), shown);
        QCOMPARE(caption(dew, "lblrh"), QStringLiteral("50"));
        QCOMPARE(caption(dew, "lblc"), temperature);
        const bool celsius = unit == QLatin1String("C");
        QCOMPARE(caption(dew, "UnitHead"), celsius ? "Celsius" : "Fahrenheit");
        QCOMPARE(caption(dew, "ValueHead"), celsius ? "'C" : "'F");
        QVERIFY(dialogs.messages.isEmpty());
    }

    void outOfRangeClosesTheWindow() {
        QPointer<DewWindow> dew = openDew();
        QPointer<QTimer> ticks = timer(dew);
        bool timerStoppedDuringTheBox = false;
        dialogs.onMessage = [&](const FakeDialogs::Message&) {
            timerStoppedDuringTheBox = !ticks->isActive();
        };
        setReading(QStringLiteral("50"), QStringLiteral("101.0"));
        dew->Timer1_Timer();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Out of Range! "));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Critical);
        QVERIFY(timerStoppedDuringTheBox);
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
};

QTEST_MAIN(DewWindowTest)
#include "dew_window_test.moc"
