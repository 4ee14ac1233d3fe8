#include "PanelRig.h"
#include "TestFiles.h"

#include <QDir>
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
        dialogs.fileAnswers << dir.filePath(QString::fromLatin1(name));
        trigger("CMDSAVE");
        return dir.filePath(QString::fromLatin1(name));
    }
    bool recordingShown(bool on) const {
        return shown("LBLRECORDING") == on && (on || !shown("LBLCOUNT")) &&
               find<QAction>("CMDSTART")->isEnabled() != on &&
               find<QAction>("CMDSTOP")->isEnabled() == on;
    }
};

} // namespace

class RecordingControllerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoRunsInOneFileEachNumberedFromOne() {
        RecordingRig rig;
        const QString path = rig.chooseFile("two runs.dat");
        QVERIFY(rig.dialogs.fileRequests[0].save);
        QCOMPARE(rig.dialogs.fileRequests[0].filter,
                 QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|"));
        QCOMPARE(rig.panel.fileCaption(), path);
        QVERIFY(!QFile::exists(path)); // nothing is created before recording starts
        // The dialog starts with the name it last returned; a cancel changes nothing.
        rig.trigger("CMDSAVE");
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, path);

        rig.trigger("CMDSTART");
        QVERIFY(rig.recordingShown(true));
        rig.tick();
        rig.show("46.0", "-OL", "F", true);
        rig.tick();
        QCOMPARE(rig.caption("LBLCOUNT"), QStringLiteral(" 2"));
        rig.trigger("CMDSTOP");
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QVERIFY(rig.recordingShown(false));

        // Ticks while stopped write nothing; SAVE AS is refused while recording.
        rig.tick();
        rig.show("12.0", "20.0", "C", false);
        rig.trigger("CMDSTART");
        rig.chooseFile("other.dat");
        QCOMPARE(rig.dialogs.fileRequests.size(), 2);
        rig.tick();
        // The count goes on past 32767.
        rig.state.recording.RecordCount = 32767;
        rig.tick();
        QCOMPARE(rig.caption("LBLCOUNT"), QStringLiteral(" 32768"));
        QCOMPARE(readFile(path), QByteArray(" 1\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"
                                            " 2\t05-02-2003\t14:03:29\t46.0\t-OL\tF\tLOW\r\n"
                                            " 1\t05-02-2003\t14:03:33\t12.0\t20.0\tC\r\n"
                                            " 32768\t05-02-2003\t14:03:35\t12.0\t20.0\tC\r\n"));
    }

    // START without a file asks for one, and a cancel leaves recording off without a word. A
    // file that cannot be opened leaves recording off and a box names the file and the system's
    // reason; once the folder is there, START records into the same file.
    void startNeedsAFileThatOpens() {
        RecordingRig rig;
        rig.trigger("CMDSTART");
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("You have to open a file first !!"));
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(rig.recordingShown(false));
        rig.dialogs.messages.clear();
        const QString path = rig.chooseFile("data/x.dat");
        rig.trigger("CMDSTART");
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"RECORDING NOT STARTED !!", path, "No such file or directory"}),
                 QString());
        QVERIFY(rig.recordingShown(false));
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QVERIFY(QDir().mkdir(rig.dir.filePath(QStringLiteral("data"))));
        rig.trigger("CMDSTART");
        QVERIFY(rig.recordingShown(true));
        QVERIFY(QFile::exists(path));
    }

    void aFailedWriteStopsTheRecordingAndSaysWhy() {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        RecordingRig rig;
        rig.dialogs.fileAnswers << QStringLiteral("/dev/full");
        rig.trigger("CMDSAVE");
        rig.trigger("CMDSTART");
        QVERIFY(rig.state.recording.RecordingOn);
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QVERIFY(rig.recordingShown(false));
        // The box comes once the tick is over.
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"RECORDING STOPPED !!", "/dev/full", "No space left on device"}),
                 QString());
    }
};

QTEST_MAIN(RecordingControllerTest)
#include "recording_controller_test.moc"
