#include "PanelRig.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The panel alone against a scripted meter: what a frame shows, the poll's retries, the
// no-device state and the sampling tick.
namespace {

struct DisplayRig : PanelRig {
    DisplayRig() : PanelRig(Wiring::PanelOnly) {}
};

} // namespace

class PanelDisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aFrameFillsTheDisplayAndItsFlagsGoOutAgain() {
        DisplayRig rig;
        QSignalSpy recordingReports(&rig.panel, &PanelWindow::meterRecordingReported);
        QSignalSpy unitChanges(&rig.panel, &PanelWindow::unitChanged);
        const auto indicatorsShown = [&rig](bool on) {
            for (const char* indicator : {"LBLBT", "LBLH", "LBLFULL", "LBLRECORD"})
                QVERIFY2(rig.shown(indicator) == on, indicator);
            QCOMPARE(rig.keyColor("LBLR1"), on ? RedKey : WhiteKey);
            QCOMPARE(rig.keyColor("LBLL3"), on ? RedKey : WhiteKey);
            QCOMPARE(rig.panel.menus().CMDMEMORY->isEnabled(), !on);
        };
        rig.pollAnswering(frameOf({0, 0x12, 0x05, 0x22, 0x00, 0xF5, 0x43, 0}));
        indicatorsShown(true);
        QCOMPARE(rig.panel.temperatureCaption(), QStringLiteral("-20.0"));
        QVERIFY(rig.panel.meterRecording());
        QCOMPARE(recordingReports.count(), 1);

        rig.pollAnswering(PlainFrame);
        indicatorsShown(false);
        QCOMPARE(recordingReports.count(), 1);
        QCOMPARE(rig.caption("LBLVALtime"), QStringLiteral("12:05"));
        QCOMPARE(rig.panel.temperatureCaption(), QStringLiteral("23.5"));
        QCOMPARE(rig.keyColor("LBLM1"), RedKey);
        QCOMPARE(rig.keyColor("LBLM2"), WhiteKey);

        // Switching to Fahrenheit tells once, however many frames say so.
        unitChanges.clear();
        rig.pollAnswering(frameOf({0, 0x12, 0x05, 0x47, 0x43, 0x05, 0x43, 0}));
        rig.poll();
        QCOMPARE(rig.panel.unitCaption(), QStringLiteral("F"));
        QCOMPARE(rig.keyColor("LBLM1"), WhiteKey);
        QCOMPARE(rig.keyColor("LBLM2"), RedKey);
        QCOMPARE(unitChanges.count(), 1);
    }

    // Each attempt empties the buffer first, so only a whole reply counts: half a frame now and
    // the rest with the next attempt is never taken for a frame.
    void badRepliesAreRetried_data() {
        QTest::addColumn<QByteArray>("bad");
        QTest::newRow("short") << QByteArray(7, '\x11');
        QTest::newRow("long") << QByteArray(9, '\x11');
        QTest::newRow("split") << PlainFrame.left(4);
    }
    void badRepliesAreRetried() {
        QFETCH(QByteArray, bad);
        DisplayRig rig;
        int polls = 0;
        rig.serial.responder = [&](const QByteArray&) { return ++polls <= 3 ? bad : PlainFrame; };
        rig.poll();
        QCOMPARE(rig.spacesSent(), 4);
        QCOMPARE(rig.caption("LBLVALrh"), QStringLiteral("54.3"));
    }

    void aSilentMeterEndsInTheNoDeviceStateAndComesBack() {
        DisplayRig rig;
        rig.meterIsSilent();
        QSignalSpy lost(&rig.panel, &PanelWindow::linkLost);
        const PanelMenus& menus = rig.panel.menus();
        const auto menusEnabled = [&menus](bool on) {
            for (const QMenu* menu : {menus.CMDFILE, menus.CMDDISPLAY, menus.CMDOPTION})
                QCOMPARE(isMenuEnabled(menu), on);
        };
        int rounds = 0;
        rig.waiter.onWait = [&](double seconds) {
            if (seconds != 0.1)
                return;
            // Inside the no-device state: check what it shows, then let the meter answer.
            if (++rounds == 1) {
                QCOMPARE(rig.caption("lblcomm"), QStringLiteral(" NO COM "));
                for (const char* value : {"LBLVALrh", "LBLVALtime", "LBLVALtemp"})
                    QCOMPARE(rig.caption(value), QStringLiteral("----"));
                QCOMPARE(rig.keyColor("LBLR3"), RedKey);
                QCOMPARE(rig.keyColor("LBLR2"), WhiteKey);
                menusEnabled(false);
            }
            if (rounds == 5)
                rig.serial.feed("\x01");
        };
        rig.poll();

        QCOMPARE(rig.spacesSent(), 50 + 5);
        QCOMPARE(rig.waiter.waits.count(0.01), 50);
        QCOMPARE(lost.count(), 1);
        QCOMPARE(rig.caption("lblcomm"), QStringLiteral("Com1"));
        QCOMPARE(rig.keyColor("LBLR2"), RedKey);
        QCOMPARE(rig.keyColor("LBLR3"), WhiteKey);
        menusEnabled(true);
        QVERIFY(rig.polling());
        // What arrived stays for the next poll to discard.
        QCOMPARE(rig.serial.bytesWaiting(), 1);
        rig.pollAnswering(PlainFrame);
        QCOMPARE(rig.caption("LBLVALrh"), QStringLiteral("54.3"));
    }

    void anUnpluggedAdapterIsReopenedAboutOnceASecond() {
        DisplayRig rig;
        rig.pollAnswering(PlainFrame);
        rig.serial.unplug();
        rig.serial.availablePorts.clear();
        rig.waiter.waits.clear();
        const int opensBefore = rig.serial.openCount;
        rig.waiter.onWait = [&](double seconds) {
            if (seconds == 0.1 && rig.waiter.waits.count(0.1) == 35)
                rig.serial.availablePorts = {1}; // plugged back in
        };
        rig.poll();

        // Without its device the poll does not try fifty times; it goes to the no-device state
        // and tries to reopen every tenth round, that is once a second.
        QCOMPARE(rig.waiter.waits.count(0.01), 0);
        QCOMPARE(rig.serial.openCount - opensBefore, 5); // rounds 0, 10, 20, 30 and 40
        QCOMPARE(rig.waiter.waits.count(0.1), 41);       // the last one found it back
        QCOMPARE(rig.caption("lblcomm"), QStringLiteral("Com1"));
        rig.poll();
        QCOMPARE(rig.caption("LBLVALtime"), QStringLiteral("12:05"));
    }

    void aPollDueDuringAPollIsSkipped() {
        DisplayRig rig;
        rig.meterAnswers(PlainFrame);
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 1)
                rig.poll();
        };
        rig.poll();
        QCOMPARE(rig.spacesSent(), 1);
        QCOMPARE(rig.caption("LBLVALrh"), QStringLiteral("54.3"));
    }

    // A row carries what the panel shows, "----" in the no-device state too.
    void samplingTickIntervalFollowsThePeriodLessTheOverrun() {
        DisplayRig rig;
        QStringList rows;
        // A slow list: each row it takes costs 300 ms of the tick.
        connect(&rig.panel, &PanelWindow::rowSampled, this, [&](const QString& row) {
            rows << row;
            rig.clock.advanceMilliseconds(300);
        });
        // Without recording the count goes back to nothing and stays hidden.
        rig.state.recording.RecordCount = 12;
        rig.panel.setRecordCount(QStringLiteral("12"));
        rig.panel.showRecording(true);
        rig.tick();
        QCOMPARE(rig.samplingInterval(), 2000);
        QVERIFY(rows.isEmpty()); // no row while neither the list nor the recorder takes one
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QVERIFY(!rig.shown("LBLCOUNT"));
        QCOMPARE(rig.caption("LBLCOUNT"), QString());

        rig.state.recording.ListLive = 1;
        rig.pollAnswering(frameOf({0, 0x12, 0x05, 0x02, 0x35, 0x15, 0x43, 0}));
        rig.tick();
        QCOMPARE(rows, QStringList{"05-02-2003\t14:03:27\t54.3\t23.5\tC\tLOW"});
        rig.tick();
        QCOMPARE(rig.samplingInterval(), 1700);
        rig.panel.setSamplingCaption(QStringLiteral("65 Sec"));
        rig.tick();
        QCOMPARE(rig.samplingInterval(), 64700);

        rig.meterIsSilent();
        rig.waiter.onWait = [&](double seconds) {
            if (seconds == 0.1)
                rig.tick(); // sampling goes on in the no-device state
            if (rig.waiter.waits.count(0.1) == 2)
                rig.serial.feed("x");
        };
        rig.poll();
        QCOMPARE(rows.size(), 5);
        QVERIFY(rows.last().endsWith(QStringLiteral("\t----\t----\tC\tLOW")));
    }
};

QTEST_MAIN(PanelDisplayTest)
#include "panel_display_test.moc"
