#include "PanelRig.h"
#include "ui/panel/ShapeWidget.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray RecordingFrame = frameOf({0x00, 0x12, 0x05, 0x02, 0x35, 0x85, 0x43, 0x00});

struct KeysRig : PanelRig {
    KeysRig() {
        panel.show();
        panel.link().startPolling();
    }
    void click(const char* key) { QTest::mouseClick(find<KeyLabel>(key), Qt::LeftButton); }
    double points(const char* name) const { return find(name)->font().pointSizeF(); }
    Qt::Alignment alignment(const char* name) const {
        return find(name)->alignment() & Qt::AlignHorizontal_Mask;
    }
};

} // namespace

// Labels are sized to their text around the design's anchor, so a centred label's left edge
// moves with its caption: only its top is fixed.
class PanelKeysTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layoutKeysSwapWhichValueIsLarge() {
        KeysRig rig;
        rig.click("LBLL1");
        QCOMPARE(rig.keyColor("LBLL1"), RedKey);
        QCOMPARE(rig.keyColor("LBLL2"), WhiteKey);
        QVERIFY(rig.points("LBLVALtemp") > rig.points("LBLVALrh"));
        QCOMPARE(Colors::foreground(rig.find("LBLUNITbot")), Colors::toQColor(Colors::Blue));
        QCOMPARE(rig.alignment("LBLVALtemp"), Qt::AlignHCenter);
        QCOMPARE(rig.alignment("LBLVALrh"), Qt::AlignLeft);

        rig.click("LBLL2");
        QCOMPARE(rig.keyColor("LBLL1"), WhiteKey);
        QCOMPARE(rig.keyColor("LBLL2"), RedKey);
        QVERIFY(rig.points("LBLVALrh") > rig.points("LBLVALtemp"));
        QCOMPARE(Colors::foreground(rig.find("LBLUNITTOP")), Colors::toQColor(Colors::Blue));
        QCOMPARE(rig.alignment("LBLVALrh"), Qt::AlignHCenter);
        // The humidity layout does not set the temperature's alignment back.
        QCOMPARE(rig.alignment("LBLVALtemp"), Qt::AlignHCenter);
        QVERIFY(rig.dialogs.messages.isEmpty());
        QVERIFY(rig.serial.writes.isEmpty());

        rig.click("LBLL1");
        // A long value pushes its unit aside, and the unit goes back when the value shrinks.
        QLabel* unit = rig.find("LBLUNITbot");
        rig.pollAnswering(PlainFrame);
        const QRect designed = unit->geometry();
        rig.pollAnswering(frameOf({0, 0x12, 0x05, 0x38, 0x88, 0x05, 0x43, 0})); // -188.8
        QVERIFY(unit->x() > designed.x());
        QCOMPARE(unit->x(), rig.find("LBLVALtemp")->geometry().right() + 3);
        rig.pollAnswering(PlainFrame);
        QCOMPARE(unit->geometry(), designed);
    }

    void keysThatOnlyInform_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const QString theSwitch = QStringLiteral("\n\r\rPRESSING THE SWITCH ON THE METER.");
        QTest::newRow("record") << "LBLL3"
                                << "Recording function is only available by \n\r\r"
                                   "PRESSING THE SWITCHES ON THE METER.";
        QTest::newRow("F") << "LBLM2"
                           << "Changing F/C is only available by" + theSwitch;
        QTest::newRow("hold") << "LBLR1"
                              << "Holding function is only available by " + theSwitch;
        QTest::newRow("off") << "LBLR3"
                             << "This function is only available by " + theSwitch;
    }
    void keysThatOnlyInform() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        KeysRig rig;
        rig.click(key.toLatin1().constData());
        QCOMPARE(rig.dialogs.oneFailureBoxLacks({}), QString());
        QCOMPARE(rig.dialogs.messages[0].text, text);
        QVERIFY(rig.serial.writes.isEmpty());
    }

    void recordingButtonsSendTheirLetter_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("meterRecording");
        QTest::addColumn<QByteArray>("letter");
        QTest::newRow("rec starts") << "CMDREC" << false << QByteArray("S");
        QTest::newRow("rec stops") << "CMDREC" << true << QByteArray("T");
        QTest::newRow("REC starts") << "CMDRECORD" << false << QByteArray("R");
        QTest::newRow("REC stops") << "CMDRECORD" << true << QByteArray("T");
    }
    void recordingButtonsSendTheirLetter() {
        QFETCH(QString, button);
        QFETCH(bool, meterRecording);
        QFETCH(QByteArray, letter);
        KeysRig rig;
        rig.meterAnswers(meterRecording ? RecordingFrame : PlainFrame);
        rig.poll();
        rig.serial.writes.clear();
        // Stray bytes, one or several, must not be read as the start of the next reply.
        rig.serial.feed(meterRecording ? "x" : "leftover");
        // The big REC key tells (LOGGER closes on it) before the meter hears of it.
        QSignalSpy told(&rig.panel, &PanelWindow::recKeyUsed);
        qsizetype toldBeforeSending = -1;
        rig.serial.responder = [&](const QByteArray&) {
            toldBeforeSending = told.size();
            return QByteArray();
        };
        rig.find<QPushButton>(button.toLatin1().constData())->click();
        QCOMPARE(toldBeforeSending, button == QLatin1String("CMDRECORD") ? 1 : 0);
        QCOMPARE(rig.serial.writes, QList<QByteArray>{letter});
        QCOMPARE(rig.serial.bytesWaiting(), 0); // the receive buffer was emptied first
        QVERIFY(rig.polling());
    }

    // While an exchange holds the line (LOGGER downloading a set), no command of the main window
    // may empty the line or send into the reply: each waits, unavailable, until the line is free.
    void meterCommandsWaitForAnExchange() {
        KeysRig rig;
        const auto available = [&] {
            QStringList names;
            for (const char* name : {"CMDERASE", "CMDSYSTEM", "CMDSAMPLE"})
                if (rig.find<QAction>(name)->isEnabled())
                    names << QString::fromLatin1(name);
            for (const char* name : {"CMDREC", "CMDRECORD", "Label10"})
                if (rig.find<QWidget>(name)->isEnabled())
                    names << QString::fromLatin1(name);
            return names;
        };
        const QStringList all{"CMDERASE", "CMDSYSTEM", "CMDSAMPLE",
                              "CMDREC",   "CMDRECORD", "Label10"};
        QCOMPARE(available(), all);

        rig.panel.link().pausePoll();
        rig.serial.feed("part of a set");
        QCOMPARE(available(), QStringList{"CMDSAMPLE"});
        rig.panel.link().startPolling(); // as a recorded chart asks once it has drawn itself
        QVERIFY(!rig.polling());
        rig.dialogs.messageAnswers = {Dialogs::Answer::Ok};
        rig.trigger("CMDERASE");
        rig.trigger("CMDSYSTEM");
        rig.click("Label10");
        QTest::mouseClick(rig.find<QPushButton>("CMDREC"), Qt::LeftButton);
        QTest::mouseClick(rig.find<QPushButton>("CMDRECORD"), Qt::LeftButton);
        QVERIFY(rig.serial.writes.isEmpty());
        QCOMPARE(rig.serial.readAll(), QByteArray("part of a set"));

        rig.panel.link().resumePoll();
        QCOMPARE(available(), all);
        QVERIFY(rig.polling());
    }

    void eraseSpotBlinksAndSendsEraseOncePerClick() {
        KeysRig rig;
        auto* spot = rig.find<KeyLabel>("Label10");
        auto* circle = rig.find<ShapeWidget>("Shape7");
        QTest::mousePress(spot, Qt::LeftButton);
        QCOMPARE(circle->fillColor(), WhiteKey);
        bool pollPausedDuringWait = false;
        rig.waiter.onWait = [&](double) { pollPausedDuringWait = !rig.polling(); };
        QTest::mouseRelease(spot, Qt::LeftButton);
        QCOMPARE(circle->fillColor(), RedKey);
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"EEE"});
        QCOMPARE(rig.waiter.waits, QList<double>{0.2});
        QVERIFY(pollPausedDuringWait);
        QVERIFY(rig.polling());
        QVERIFY(rig.dialogs.messages.isEmpty()); // no confirmation, unlike the ERASE menu
    }
};

QTEST_MAIN(PanelKeysTest)
#include "panel_keys_test.moc"
