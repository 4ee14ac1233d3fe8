#include "FakeDialogs.h"
#include "logic/dew/VapourTables.h"
#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"
#include "ui/dew/DewWindow.h"

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
