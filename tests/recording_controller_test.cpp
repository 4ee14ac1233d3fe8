#include "PanelRig.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window with the recorder wired to its menus and sampling tick, as the program wires
// it; the display shows 45.6 %RH and 23.1 C.
struct RecordingRig : PanelRig {
    QTemporaryDir dir;

    RecordingRig() { show("45.6", "23.1", "C", false); }

    // What the panel displays, as its update after a frame leaves it.
    void show(const char* rh, const char* temp, const char* unit, bool batteryLow) {
        find("LBLVALrh")->setText(QString::fromLatin1(rh));
        find("LBLVALtemp")->setText(QString::fromLatin1(temp));
        find("LBLUNITbot")->setText(QString::fromLatin1(unit));
        find("LBLBT")->setVisible(batteryLow);
    }
    void tick() {
        PanelRig::tick();
        clock.advanceMilliseconds(2000);
    }
    QString chooseFile(const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        dialogs.fileAnswers << path;
        trigger("CMDSAVE");
        return path;
    }
    bool recordingShown() const {
        return shown("LBLRECORDING") && !find<QAction>("CMDSTART")->isEnabled() &&
               find<QAction>("CMDSTOP")->isEnabled();
    }
    bool stoppedShown() const {
        return !shown("LBLRECORDING") && !shown("LBLCOUNT") &&
               find<QAction>("CMDSTART")->isEnabled() && !find<QAction>("CMDSTOP")->isEnabled();
    }
};

} // namespace

class RecordingControllerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveAsChoosesTheFile() {
        RecordingRig rig;
        const QString path = rig.chooseFile("a.dat");
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(rig.dialogs.fileRequests[0].save);
        QCOMPARE(rig.dialogs.fileRequests[0].filter,
                 QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|"));
        QCOMPARE(rig.state.recording.DataFileName, path);
        QCOMPARE(rig.panel.fileCaption(), path);
        QVERIFY(!QFile::exists(path)); // nothing is created before recording starts

        // The dialog starts with the name it last returned; a cancel changes nothing.
        rig.trigger("CMDSAVE");
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, path);
        QCOMPARE(rig.panel.fileCaption(), path);
    }

    void startWithoutAFileAsksForOne_data() {
        QTest::addColumn<bool>("answered");
        QTest::newRow("a file chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void startWithoutAFileAsksForOne() {
        QFETCH(bool, answered);
        RecordingRig rig;
        const QString path = rig.dir.filePath(QStringLiteral("asked.dat"));
        if (answered)
            rig.dialogs.fileAnswers << path;
        rig.trigger("CMDSTART");
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("You have to open a file first !!"));
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QCOMPARE(rig.state.recording.RecordingOn, answered);
        QCOMPARE(QFile::exists(path), answered);
        QVERIFY(answered ? rig.recordingShown() : rig.stoppedShown());
    }

    // Recording stays off and a box names the file and the system's reason; once the folder
    // is there, START records into the same file.
    void aFileThatCannotBeOpenedLeavesRecordingOffAndSaysWhy() {
        RecordingRig rig;
        const QString path = rig.chooseFile("data/x.dat");
        rig.trigger("CMDSTART");
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"RECORDING NOT STARTED !!", path, "No such file or directory"}),
                 QString());
        QVERIFY(rig.stoppedShown());
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QVERIFY(!QFile::exists(path));

        QDir().mkdir(rig.dir.filePath(QStringLiteral("data")));
        rig.trigger("CMDSTART");
        QVERIFY(rig.recordingShown());
        QCOMPARE(rig.dialogs.messages.size(), 1);
    }

    void twoRunsInOneFileEachNumberedFromOne() {
        RecordingRig rig;
        const QString path = rig.chooseFile("two runs.dat");
        rig.trigger("CMDSTART");
        QVERIFY(rig.recordingShown());
        rig.tick();
        QVERIFY(rig.shown("LBLCOUNT"));
        rig.show("46.0", "-OL", "F", true);
        rig.tick();
        QCOMPARE(rig.caption("LBLCOUNT"), QStringLiteral(" 2"));

        rig.state.recording.ListLive = 1;
        rig.trigger("CMDSTOP");
        QVERIFY(!rig.state.recording.RecordingOn);
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QCOMPARE(rig.state.recording.ListLive, 0); // STOP halts the live list too
        QVERIFY(rig.stoppedShown());

        // Ticks while stopped write nothing; SAVE AS is refused while recording.
        rig.tick();
        rig.show("12.0", "20.0", "C", false);
        rig.trigger("CMDSTART");
        rig.dialogs.fileAnswers << rig.dir.filePath(QStringLiteral("other.dat"));
        rig.trigger("CMDSAVE");
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        rig.tick();
        // The count goes on past 32767.
        rig.state.recording.RecordCount = 32767;
        rig.tick();
        QCOMPARE(rig.caption("LBLCOUNT"), QStringLiteral(" 32768"));

        QCOMPARE(rig.panel.fileCaption(), path);
        QCOMPARE(readFile(path), QByteArray(" 1\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"
                                            " 2\t05-02-2003\t14:03:29\t46.0\t-OL\tF\tLOW\r\n"
                                            " 1\t05-02-2003\t14:03:33\t12.0\t20.0\tC\r\n"
                                            " 32768\t05-02-2003\t14:03:35\t12.0\t20.0\tC\r\n"));
    }

    void aFailedWriteStopsTheRecordingAndSaysWhy() {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("seek")));
        RecordingRig rig;
        rig.dialogs.fileAnswers << QStringLiteral("/dev/full");
        rig.trigger("CMDSAVE");
        rig.trigger("CMDSTART");
        QVERIFY(rig.state.recording.RecordingOn);
        rig.state.recording.ListLive = 1;
        rig.tick();

        QVERIFY(!rig.state.recording.RecordingOn);
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(rig.stoppedShown());
        // The box comes once the tick is over.
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"RECORDING STOPPED !!", "/dev/full", "No space left on device"}),
                 QString());

        // Later ticks neither write nor count nor show another box.
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QTest::qWait(10);
        QCOMPARE(rig.dialogs.messages.size(), 1);
    }
};

QTEST_MAIN(RecordingControllerTest)
#include "recording_controller_test.moc"
