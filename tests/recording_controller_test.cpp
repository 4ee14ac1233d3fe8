#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "panel/PanelWindow.h"
#include "recording/FileDialogState.h"
#include "recording/RecordingController.h"
#include "state/SharedState.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString dataFilter = QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|");

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot open>";
    return file.readAll();
}

// The main window with the recorder wired to its sampling tick, as the program wires it.
struct RecordingRig {
    ScriptedSerialPort serial;
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(14, 3, 27))};
    FakeWaiter waiter{&clock};
    SharedState state;
    FileDialogState fileDialog;
    std::unique_ptr<PanelWindow> panel;
    RecordingController* recorder = nullptr;

    RecordingRig() {
        panel =
            std::make_unique<PanelWindow>(state, Platform{serial, dialogs, printer, clock, waiter});
        recorder = new RecordingController(panel.get(), state, dialogs, fileDialog);
        panel->setRecordSink(recorder);
        label("LBLRECORDING")->hide();
        action("CMDSTOP")->setEnabled(false);
        show("45.6", "23.1", "C", false);
    }

    QLabel* label(const char* name) const {
        return panel->findChild<QLabel*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const {
        return panel->findChild<QAction*>(QString::fromLatin1(name));
    }
    bool shown(const char* name) const { return !label(name)->isHidden(); }

    // What the panel displays, as its update after a frame leaves it.
    void show(const char* rh, const char* temp, const char* unit, bool batteryLow) {
        label("LBLVALrh")->setText(QString::fromLatin1(rh));
        label("LBLVALtemp")->setText(QString::fromLatin1(temp));
        label("LBLUNITbot")->setText(QString::fromLatin1(unit));
        label("LBLBT")->setVisible(batteryLow);
    }

    void tick() {
        panel->Timer2_Timer();
        clock.advanceMilliseconds(2000);
    }

    void chooseFile(const QString& path) {
        dialogs.fileAnswers << path;
        action("CMDSAVE")->trigger();
    }
};

} // namespace

class RecordingControllerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveAsChoosesTheFile() {
        QTemporaryDir dir;
        RecordingRig rig;
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        rig.chooseFile(path);
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(rig.dialogs.fileRequests[0].save);
        QCOMPARE(rig.dialogs.fileRequests[0].filter, dataFilter);
        QCOMPARE(rig.state.recording.DataFileName, path);
        QCOMPARE(rig.label("lblfile")->text(), path);
        QVERIFY(rig.action("CMDSTART")->isEnabled());
        QVERIFY(!rig.action("CMDSTOP")->isEnabled());
        // Nothing is created before recording starts.
        QVERIFY(!QFile::exists(path));

        // The dialog starts with the name it last returned; a cancel changes nothing.
        rig.action("CMDSAVE")->trigger();
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, path);
        QCOMPARE(rig.state.recording.DataFileName, path);
        QCOMPARE(rig.label("lblfile")->text(), path);
    }

    void startWithoutAFileAsksForOne() {
        QTemporaryDir dir;
        RecordingRig rig;
        const QString path = dir.filePath(QStringLiteral("asked.dat"));
        rig.dialogs.fileAnswers << path;
        rig.action("CMDSTART")->trigger();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("You have to open a file first !!"));
        QCOMPARE(rig.dialogs.messages[0].title, applicationTitle());
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(rig.state.recording.RecordingOn);
        QVERIFY(QFile::exists(path));
    }

    void startWithoutAFileAndCancelledDoesNotStart() {
        RecordingRig rig;
        rig.action("CMDSTART")->trigger();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(!rig.state.recording.RecordingOn);
        QVERIFY(!rig.shown("LBLRECORDING"));
        QVERIFY(rig.action("CMDSTART")->isEnabled());
        QVERIFY(!rig.action("CMDSTOP")->isEnabled());
    }

    void aFileThatCannotBeOpenedLeavesRecordingOffSilently() {
        QTemporaryDir dir;
        RecordingRig rig;
        rig.chooseFile(dir.filePath(QStringLiteral("missing folder/x.dat")));
        rig.action("CMDSTART")->trigger();
        QVERIFY(!rig.state.recording.RecordingOn);
        QVERIFY(!rig.shown("LBLRECORDING"));
        QVERIFY(rig.dialogs.messages.isEmpty());
        QVERIFY(rig.action("CMDSTART")->isEnabled());
    }

    void twoRunsInOneFileEachNumberedFromOne() {
        QTemporaryDir dir;
        RecordingRig rig;
        const QString path = dir.filePath(QStringLiteral("two runs.dat"));
        rig.chooseFile(path);

        rig.action("CMDSTART")->trigger();
        QVERIFY(rig.state.recording.RecordingOn);
        QVERIFY(!rig.action("CMDSTART")->isEnabled());
        QVERIFY(rig.action("CMDSTOP")->isEnabled());
        QVERIFY(rig.shown("LBLRECORDING"));
        rig.tick();
        QCOMPARE(rig.label("LBLCOUNT")->text(), QStringLiteral(" 1"));
        QVERIFY(rig.shown("LBLCOUNT"));
        rig.show("46.0", "-OL", "F", true);
        rig.tick();
        QCOMPARE(rig.label("LBLCOUNT")->text(), QStringLiteral(" 2"));
        QCOMPARE(rig.state.recording.RecordCount, 2);

        rig.action("CMDSTOP")->trigger();
        QVERIFY(!rig.state.recording.RecordingOn);
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QVERIFY(!rig.shown("LBLRECORDING"));
        QVERIFY(!rig.shown("LBLCOUNT"));
        QVERIFY(rig.action("CMDSTART")->isEnabled());
        QVERIFY(!rig.action("CMDSTOP")->isEnabled());
        QCOMPARE(rig.state.recording.DataFileName, path);

        // Ticks while stopped write nothing.
        rig.tick();
        rig.show("12.0", "20.0", "C", false);
        rig.action("CMDSTART")->trigger();
        rig.tick();

        QCOMPARE(contents(path), QByteArray(" 1\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"
                                            " 2\t05-02-2003\t14:03:29\t46.0\t-OL\tF\tLOW\r\n"
                                            " 1\t05-02-2003\t14:03:33\t12.0\t20.0\tC\r\n"));
    }

    void saveAsIsRefusedWhileRecording() {
        QTemporaryDir dir;
        RecordingRig rig;
        const QString path = dir.filePath(QStringLiteral("r.dat"));
        rig.chooseFile(path);
        rig.action("CMDSTART")->trigger();
        rig.dialogs.fileAnswers << dir.filePath(QStringLiteral("other.dat"));
        rig.action("CMDSAVE")->trigger();
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QCOMPARE(rig.state.recording.DataFileName, path);
        QCOMPARE(rig.label("lblfile")->text(), path);
    }

    void stopHaltsTheLiveList() {
        QTemporaryDir dir;
        RecordingRig rig;
        rig.chooseFile(dir.filePath(QStringLiteral("s.dat")));
        rig.action("CMDSTART")->trigger();
        rig.state.recording.ListLive = 1;
        rig.action("CMDSTOP")->trigger();
        QCOMPARE(rig.state.recording.ListLive, 0);
    }

    void theCountGoesOnPast32767() {
        QTemporaryDir dir;
        RecordingRig rig;
        const QString path = dir.filePath(QStringLiteral("long.dat"));
        rig.chooseFile(path);
        rig.action("CMDSTART")->trigger();
        rig.state.recording.RecordCount = 32766;
        rig.tick();
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 32768);
        QCOMPARE(rig.label("LBLCOUNT")->text(), QStringLiteral(" 32768"));
        const QList<QByteArray> lines = contents(path).split('\n');
        QVERIFY(lines[0].startsWith(" 32767\t"));
        QVERIFY(lines[1].startsWith(" 32768\t"));
    }

    void aFailedWriteStopsTheRecordingAndSaysWhy() {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("seek")));
        RecordingRig rig;
        rig.chooseFile(QStringLiteral("/dev/full"));
        rig.action("CMDSTART")->trigger();
        QVERIFY(rig.state.recording.RecordingOn);
        rig.state.recording.ListLive = 1;
        rig.tick();

        QVERIFY(!rig.state.recording.RecordingOn);
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(!rig.shown("LBLRECORDING"));
        QVERIFY(!rig.shown("LBLCOUNT"));
        QVERIFY(rig.action("CMDSTART")->isEnabled());
        QVERIFY(!rig.action("CMDSTOP")->isEnabled());
        // The box comes once the tick is over.
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        const FakeDialogs::Message& message = rig.dialogs.messages[0];
        QVERIFY2(message.text.contains(QStringLiteral("/dev/full")), qPrintable(message.text));
        QVERIFY2(message.text.contains(QStringLiteral("space"), Qt::CaseInsensitive),
                 qPrintable(message.text));
        QCOMPARE(message.icon, Dialogs::Icon::Critical);
        QCOMPARE(message.title, applicationTitle());

        // Later ticks neither write nor count nor show another box.
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 0);
        QTest::qWait(10);
        QCOMPARE(rig.dialogs.messages.size(), 1);
    }

    void aDeletedFileStopsTheRecordingAndKeepsNothingHidden() {
        QTemporaryDir dir;
        RecordingRig rig;
        const QString path = dir.filePath(QStringLiteral("deleted.dat"));
        rig.chooseFile(path);
        rig.action("CMDSTART")->trigger();
        rig.tick();
        QVERIFY(QFile::remove(path));
        rig.tick();
        QVERIFY(!rig.state.recording.RecordingOn);
        QTRY_COMPARE(rig.dialogs.messages.size(), 1);
        QVERIFY(rig.dialogs.messages[0].text.contains(path));
        QVERIFY(rig.dialogs.messages[0].text.contains(QStringLiteral("deleted")));
        // Starting again makes a new file, numbered from 1.
        rig.action("CMDSTART")->trigger();
        rig.tick();
        QVERIFY(contents(path).startsWith(" 1\t"));
    }
};

QTEST_MAIN(RecordingControllerTest)
#include "recording_controller_test.moc"
