#include "Legibility.h"
#include "PanelRig.h"
#include "logic/dew/DewPoint.h"
#include "logic/dew/VapourTables.h"
#include "logic/link/FrameDecoder.h"
#include "ui/dew/DewWindow.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListWindow.h"
#include "ui/startup/SelectionWindow.h"
#include "ui/startup/SplashWindow.h"

#include <QPainterPath>
#include <QPointer>
#include <QTest>

namespace {

// Every temperature the meter can send, in tenths: -199.9 to 199.9, then its two over-range
// texts.
constexpr int LowestTenths = -1999;
constexpr int HighestTenths = 1999;

int bcd(int value) {
    return (value / 10) * 16 + value % 10;
}

// A live frame with every indicator lit. tenths beyond the range sends "OL" (or "-OL" below
// it); the humidity, meter time and flags vary with the reading so that all their digits show.
QByteArray frameFor(int tenths, bool fahrenheit) {
    const int size = std::abs(tenths);
    const bool overload = size > HighestTenths;
    const int b4 = (overload ? 0x80 : (size >= 1000 ? 0x10 : 0) | (size / 100) % 10) |
                   (tenths < 0 ? 0x20 : 0) | (fahrenheit ? 0x40 : 0);
    const int humidity = size % 1000;
    return frameOf({0, bcd(size % 24), bcd(size % 60), b4, overload ? 0 : bcd(size % 100),
                    0xF0 | humidity / 100, bcd(humidity % 100), 0});
}

// Every frame of the walks: each temperature in both units, with those beyond the range.
QList<QByteArray> everyFrame() {
    QList<QByteArray> frames;
    for (bool fahrenheit : {false, true})
        for (int tenths = LowestTenths - 1; tenths <= HighestTenths + 1; ++tenths)
            frames << frameFor(tenths, fahrenheit);
    return frames;
}

QString problemsOf(const QWidget* window) {
    return legibilityProblems(window).join(QStringLiteral("; "));
}

} // namespace

class LegibilityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelInEveryLayout_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("start") << QStringList();
        QTest::newRow("temperature large") << QStringList{"LBLL1"};
        QTest::newRow("humidity large") << QStringList{"LBLL2"};
        // The temperature stays centred from the first key.
        QTest::newRow("humidity large after temperature") << QStringList{"LBLL1", "LBLL2"};
    }
    void panelInEveryLayout() {
        QFETCH(QStringList, keys);
        PanelRig rig;
        rig.panel.show();
        rig.panel.setSamplingCaption(QStringLiteral("65 Sec"));
        rig.panel.setFileCaption(QStringLiteral("/home/user/DATA01.dat"));
        rig.panel.setRecordCount(QStringLiteral(" 99999"));
        rig.find("LBLCOUNT")->show();
        for (const QString& key : keys)
            QTest::mouseClick(rig.panel.findChild<KeyLabel*>(key), Qt::LeftButton);

        for (const QByteArray& frame : everyFrame()) {
            rig.pollAnswering(frame);
            QCOMPARE(problemsOf(&rig.panel), QString());
        }
        rig.panel.showNoDevice();
        QCOMPARE(problemsOf(&rig.panel), QString());

        // The titles are printed on the grey bezel: dark text that overhangs it, at its rounded
        // corners too, is lost on the dark body.
        const QRectF bezel = rig.find<QWidget>("Shape2")->geometry();
        const qreal corner = std::min(bezel.width(), bezel.height()) / 8.0;
        QPainterPath outline;
        outline.addRoundedRect(bezel, corner, corner);
        for (const char* title : {"LBLDATALOGGER", "LBLNAME"})
            QVERIFY2(outline.contains(QRectF(rig.find(title)->geometry())), title);
    }

    void dewWindowForEveryReading() {
        SharedState state;
        InitVapourTables(state.vapourTables);
        FakeDialogs dialogs;
        QWidget mainWindow;
        mainWindow.show();
        QPointer<DewWindow> dew;
        for (const QByteArray& frame : everyFrame()) {
            decodeLiveFrame(frame, state.reading);
            // Out of range the window closes at once: nothing is left to read.
            const LiveReading& r = state.reading;
            if (!computeDewPoint(r.HumidityText, r.TemperatureText, r.TempUnit, state.vapourTables))
                continue;
            if (dew.isNull())
                dew = DewWindow::open(&mainWindow, state.reading, state.vapourTables, dialogs,
                                      [] { return 2.0; });
            dew->Timer1_Timer();
            QCOMPARE(problemsOf(dew), QString());
        }
    }

    void listOfEveryReading() {
        PanelRig rig;
        ListWindow list(&rig.panel, rig.state.recording, rig.dialogs, rig.printer, rig.waiter);
        list.show();
        auto* grid = list.findChild<Grid*>(QStringLiteral("Grid1"));
        for (const QByteArray& frame : everyFrame()) {
            rig.pollAnswering(frame);
            list.addLiveRow(QStringLiteral("12-31-2099\t23:59:59\t%1\t%2\t%3\tLOW")
                                .arg(rig.caption("LBLVALrh"), rig.caption("LBLVALtemp"),
                                     rig.caption("LBLUNITbot")));
            // A screenful at a time, from the top.
            if (grid->rowCount() > 25) {
                QCOMPARE(problemsOf(&list), QString());
                grid->setRowCount(1);
            }
        }
    }

    void startWindows() {
        SelectionWindow selection;
        selection.show();
        QCOMPARE(problemsOf(&selection), QString()); // the port names are as wide as each other
        SplashWindow splash(nullptr);
        splash.show();
        QCOMPARE(problemsOf(&splash), QString());
    }
};

QTEST_MAIN(LegibilityTest)
#include "legibility_test.moc"
