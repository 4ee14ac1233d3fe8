#include "PanelRig.h"
#include "panel/FrontPanelKeys.h"
#include "panel/ShapeWidget.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray PlainFrame = frameOf({0x00, 0x12, 0x05, 0x02, 0x35, 0x05, 0x43, 0x00});
const QByteArray RecordingFrame = frameOf({0x00, 0x12, 0x05, 0x02, 0x35, 0x85, 0x43, 0x00});

struct KeysRig : PanelRig {
    FrontPanelKeys* keys = new FrontPanelKeys(&panel, dialogs);
    KeysRig() {
        panel.show();
        panel.Timer1()->start();
    }
    void click(const char* name) {
        QTest::mouseClick(panel.key(QString::fromLatin1(name)), Qt::LeftButton);
    }
    void press(const char* button) {
        panel.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    QLabel* label(const char* name) const { return panel.label(QString::fromLatin1(name)); }
    int points(const char* name) const { return qRound(label(name)->font().pointSizeF()); }
    QColor textColor(const char* name) const { return Colors::foreground(label(name)); }
    QPoint twipsPosition(int left, int top) const {
        const Twips twips(&panel);
        return {twips.toPixels(left), twips.toPixels(top)};
    }
};

} // namespace

// Labels are sized to their text around the design's anchor, so a centred label's left edge
// moves with its caption: only its top is fixed.
class PanelKeysTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void temperatureKeyMakesTheTemperatureLarge() {
        KeysRig rig;
        rig.click("LBLL1");
        QCOMPARE(rig.keyColor("LBLL1"), RedKey);
        QCOMPARE(rig.keyColor("LBLL2"), WhiteKey);
        QCOMPARE(rig.points("LBLVALtemp"), 48);
        QCOMPARE(rig.label("LBLVALtemp")->y(), rig.twipsPosition(1365, 840).y());
        QCOMPARE(rig.label("LBLVALtemp")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(rig.textColor("LBLVALtemp"), Colors::toQColor(Colors::Blue));
        QCOMPARE(rig.points("LBLVALrh"), 20);
        QCOMPARE(rig.label("LBLVALrh")->pos(), rig.twipsPosition(2610, 1920));
        QCOMPARE(rig.label("LBLVALrh")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(rig.points("LBLUNITTOP"), 8);
        QCOMPARE(rig.label("LBLUNITTOP")->pos(), rig.twipsPosition(3600, 2160));
        QCOMPARE(rig.points("LBLUNITbot"), 16);
        QCOMPARE(rig.label("LBLUNITbot")->y(), rig.twipsPosition(3525, 1440).y());
        QCOMPARE(rig.textColor("LBLUNITbot"), Colors::toQColor(Colors::Blue));
        QVERIFY(rig.dialogs.messages.isEmpty());
        QVERIFY(rig.serial.writes.isEmpty());
    }

    void layoutKeysRepeatAndLeaveTheTemperatureCentred() {
        KeysRig rig;
        rig.click("LBLL1");
        const QPoint tempPlace = rig.label("LBLVALtemp")->pos();
        rig.click("LBLL1");
        QCOMPARE(rig.label("LBLVALtemp")->pos(), tempPlace);
        QCOMPARE(rig.points("LBLVALtemp"), 48);

        rig.click("LBLL2");
        QCOMPARE(rig.keyColor("LBLL1"), WhiteKey);
        QCOMPARE(rig.keyColor("LBLL2"), RedKey);
        QCOMPARE(rig.points("LBLVALrh"), 48);
        QCOMPARE(rig.label("LBLVALrh")->y(), rig.twipsPosition(1365, 840).y());
        QCOMPARE(rig.textColor("LBLVALrh"), Colors::toQColor(Colors::Blue));
        QCOMPARE(rig.points("LBLUNITTOP"), 16);
        QCOMPARE(rig.label("LBLUNITTOP")->pos(), rig.twipsPosition(3285, 1440));
        QCOMPARE(rig.points("LBLVALtemp"), 20);
        QCOMPARE(rig.label("LBLVALtemp")->y(), rig.twipsPosition(2610, 1920).y());
        // The humidity layout does not set the temperature's alignment back.
        QCOMPARE(rig.label("LBLVALtemp")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(rig.points("LBLUNITbot"), 12);
        QCOMPARE(rig.label("LBLUNITbot")->y(), rig.twipsPosition(3720, 2160).y());
    }

    void keysThatOnlyInform_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const QString oneSwitch = QStringLiteral("PRESSING THE SWITCH ON THE METER.");
        const QString separator = QStringLiteral("\n\r\r");
        QTest::newRow("record") << "LBLL3"
                                << "Recording function is only available by " + separator +
                                       "PRESSING THE SWITCHES ON THE METER.";
        QTest::newRow("C") << "LBLM1"
                           << "Changing F/C is only available by" + separator + oneSwitch;
        QTest::newRow("F") << "LBLM2"
                           << "Changing F/C is only available by" + separator + oneSwitch;
        QTest::newRow("hold") << "LBLR1"
                              << "Holding function is only available by " + separator + oneSwitch;
        QTest::newRow("on") << "LBLR2"
                            << "This function is only available by " + separator + oneSwitch;
        QTest::newRow("off") << "LBLR3"
                             << "This function is only available by " + separator + oneSwitch;
    }
    void keysThatOnlyInform() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        KeysRig rig;
        rig.click(key.toLatin1().constData());
        QCOMPARE(rig.dialogs.messages.size(), 1);
        const FakeDialogs::Message& message = rig.dialogs.messages.constFirst();
        QCOMPARE(message.text, text);
        QCOMPARE(message.icon, Dialogs::Icon::Critical);
        QCOMPARE(message.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(message.title, QStringLiteral("Humidity_Temperature"));
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
        rig.serial.feed("leftover");
        rig.press(button.toLatin1().constData());
        QCOMPARE(rig.serial.writes, QList<QByteArray>{letter});
        QCOMPARE(rig.serial.bytesWaiting(), 0); // the receive buffer was emptied first
        QVERIFY(rig.panel.Timer1()->isActive());
    }

    void bigRecordButtonClosesTheDataloggerFirst() {
        KeysRig rig;
        auto* logger = new QWidget(&rig.panel, Qt::Window);
        logger->setObjectName(QStringLiteral("LOGGER"));
        logger->show();
        bool closedBeforeSending = false;
        rig.serial.responder = [&](const QByteArray&) {
            closedBeforeSending = !logger->isVisible();
            return QByteArray();
        };
        rig.press("CMDRECORD");
        QVERIFY(closedBeforeSending);
    }

    void recordLetterGoesOutWithoutAMeter() {
        KeysRig rig;
        rig.meterIsSilent();
        rig.press("CMDREC");
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"S"});
    }

    void eraseSpotBlinksAndSendsEraseOncePerClick() {
        KeysRig rig;
        KeyLabel* spot = rig.panel.key(QStringLiteral("Label10"));
        ShapeWidget* circle = rig.panel.shape(QStringLiteral("Shape7"));
        QTest::mousePress(spot, Qt::LeftButton);
        QCOMPARE(circle->fillColor(), WhiteKey);
        bool pollPausedDuringWait = false;
        rig.waiter.onWait = [&](double) { pollPausedDuringWait = !rig.panel.Timer1()->isActive(); };
        QTest::mouseRelease(spot, Qt::LeftButton);
        QCOMPARE(circle->fillColor(), RedKey);
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"EEE"});
        QCOMPARE(rig.waiter.waits, QList<double>{0.2});
        QVERIFY(pollPausedDuringWait);
        QVERIFY(rig.panel.Timer1()->isActive());
        QVERIFY(rig.dialogs.messages.isEmpty()); // no confirmation, unlike the ERASE menu
    }
};

QTEST_MAIN(PanelKeysTest)
#include "panel_keys_test.moc"
