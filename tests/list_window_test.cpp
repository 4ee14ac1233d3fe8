#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "lists/Grid.h"
#include "lists/ListWindow.h"
#include "lists/LiveListController.h"
#include "panel/PanelWindow.h"
#include "recording/FileDialogState.h"
#include "recording/RecordingController.h"
#include "state/SharedState.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// The main window with the live list and the recorder wired to its sampling tick.
struct ListRig {
    ScriptedSerialPort serial;
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(23, 59, 58))};
    FakeWaiter waiter{&clock};
    SharedState state;
    FileDialogState fileDialog;
    std::unique_ptr<PanelWindow> panel;
    LiveListController* lists = nullptr;
    RecordingController* recorder = nullptr;

    ListRig() {
        panel =
            std::make_unique<PanelWindow>(state, Platform{serial, dialogs, printer, clock, waiter});
        lists = new LiveListController(panel.get(), state, dialogs, fileDialog, printer, waiter);
        recorder = new RecordingController(panel.get(), state, dialogs, fileDialog);
        panel->setLiveRowSink(lists);
        panel->setRecordSink(recorder);
        label("LBLVALrh")->setText(QStringLiteral("45.6"));
        label("LBLVALtemp")->setText(QStringLiteral("23.1"));
        label("LBLUNITbot")->setText(QStringLiteral("C"));
        panel->show();
    }

    QLabel* label(const char* name) const {
        return panel->findChild<QLabel*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const {
        return panel->findChild<QAction*>(QString::fromLatin1(name));
    }
    ListWindow* list() const { return panel->findChild<ListWindow*>(QStringLiteral("LIST")); }
    Grid& grid() const { return *list()->findChild<Grid*>(QStringLiteral("Grid1")); }
    QAction* listAction(const char* name) const {
        return list()->findChild<QAction*>(QString::fromLatin1(name));
    }

    void tick() {
        panel->Timer2_Timer();
        clock.advanceMilliseconds(1000);
    }
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ListWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listOpensBesideThePanelAndTakesRows() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        QCOMPARE(rig.state.recording.ListLive, 1);
        ListWindow* list = rig.list();
        QVERIFY(list);
        QVERIFY(list->isVisible());
        QVERIFY(list->isWindow());
        QCOMPARE(list->pos(), QPoint(rig.panel->frameGeometry().width(), 0));
        QVERIFY(!rig.listAction("CONTINUE")->isEnabled());
        QVERIFY(rig.listAction("PAUSE")->isEnabled());
        QVERIFY(rig.listAction("PRINT")->isEnabled());
        QCOMPARE(rig.grid().rowCount(), 1);
        QCOMPARE(rig.grid().cellText(0, 1), QStringLiteral("Date"));

        rig.tick();
        rig.label("LBLBT")->show();
        rig.tick();
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 4);
        const QStringList first{"1", "05-02-2003", "23:59:58", "45.6", "23.1", "C", ""};
        const QStringList third{"3", "05-03-2003", "00:00:00", "45.6", "23.1", "C", "LOW"};
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(rig.grid().cellText(1, column), first[column]);
            QCOMPARE(rig.grid().cellText(3, column), third[column]);
        }
        QCOMPARE(rig.grid().currentRow(), 3);
    }

    // Row numbers come from the list, not from the recording's count.
    void rowNumbersAreTheListsOwn() {
        QTemporaryDir dir;
        ListRig rig;
        rig.dialogs.fileAnswers << dir.filePath(QStringLiteral("r.dat"));
        rig.action("CMDSAVE")->trigger();
        rig.action("CMDSTART")->trigger();
        rig.tick();
        rig.tick();
        rig.action("CMDLIST")->trigger();
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 3);
        QCOMPARE(rig.grid().cellText(1, 0), QStringLiteral("1"));
        QCOMPARE(rig.grid().rowCount(), 2);
    }

    void the27thRowScrollsByOne() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        for (int i = 1; i <= 26; ++i)
            rig.tick();
        QCOMPARE(rig.grid().firstVisibleRow(), 1);
        rig.tick();
        QCOMPARE(rig.grid().firstVisibleRow(), 2);
        rig.tick();
        QCOMPARE(rig.grid().firstVisibleRow(), 3);
        // The window is tall enough that the newest row is in view.
        QTRY_COMPARE(rig.grid().rowAt(rig.grid().viewport()->height() - 2) + 1,
                     rig.grid().rowCount() - 1);
    }

    void pauseAndContinue() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        rig.tick();
        rig.listAction("PAUSE")->trigger();
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(!rig.listAction("PAUSE")->isEnabled());
        QVERIFY(rig.listAction("CONTINUE")->isEnabled());
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 2);
        rig.listAction("CONTINUE")->trigger();
        QCOMPARE(rig.state.recording.ListLive, 1);
        QVERIFY(rig.listAction("PAUSE")->isEnabled());
        QVERIFY(!rig.listAction("CONTINUE")->isEnabled());
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);
        QCOMPARE(rig.grid().cellText(2, 0), QStringLiteral("2"));
    }

    // STOP RECORDING halts the list but leaves its menu as it was; PAUSE then CONTINUE resumes.
    void haltedByStopRecording() {
        QTemporaryDir dir;
        ListRig rig;
        rig.dialogs.fileAnswers << dir.filePath(QStringLiteral("h.dat"));
        rig.action("CMDSAVE")->trigger();
        rig.action("CMDSTART")->trigger();
        rig.action("CMDLIST")->trigger();
        rig.tick();
        rig.action("CMDSTOP")->trigger();
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 2);
        QVERIFY(rig.listAction("PAUSE")->isEnabled());
        QVERIFY(!rig.listAction("CONTINUE")->isEnabled());
        rig.listAction("PAUSE")->trigger();
        rig.listAction("CONTINUE")->trigger();
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);
    }

    void listAgainKeepsTheWindowAndItsRows() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        rig.tick();
        rig.listAction("PAUSE")->trigger();
        ListWindow* first = rig.list();
        rig.action("CMDLIST")->trigger();
        QCOMPARE(rig.list(), first);
        QCOMPARE(rig.state.recording.ListLive, 1);
        // The menu states stay as they were.
        QVERIFY(!rig.listAction("PAUSE")->isEnabled());
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);
    }

    void closingStopsTheRowsAndEnablesFile() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        rig.tick();
        auto* fileMenu = rig.panel->findChild<QMenu*>(QStringLiteral("CMDFILE"));
        fileMenu->menuAction()->setEnabled(false);
        fileMenu->setEnabled(false);
        QPointer<ListWindow> closed = rig.list();
        closed->close();
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(fileMenu->menuAction()->isEnabled());
        QVERIFY(fileMenu->isEnabled());
        rig.tick();
        QTRY_VERIFY(!closed);

        // LIST again starts a fresh, empty list with PAUSE and CONTINUE back.
        rig.action("CMDLIST")->trigger();
        QCOMPARE(rig.grid().rowCount(), 1);
        QVERIFY(rig.listAction("PAUSE")->isVisible());
        QVERIFY(rig.listAction("CONTINUE")->isVisible());
        rig.tick();
        QCOMPARE(rig.grid().cellText(1, 0), QStringLiteral("1"));
    }

    void closedThenListedAtOnceGivesAFreshWindow() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        rig.tick();
        ListWindow* old = rig.list();
        old->close();
        rig.action("CMDLIST")->trigger();
        QCOMPARE(rig.lists->window()->grid().rowCount(), 1);
        QVERIFY(rig.lists->window() != old);
    }

    void openFileShowsTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("view.dat"));
        writeFile(path, " 1\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"
                        "\"2\t05-02-2003\t14:03:29\t45.7\t23.0\tC\tLOW\"\r\n");
        ListRig rig;
        rig.dialogs.fileAnswers << path;
        rig.action("CMDOPEN")->trigger();
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(!rig.dialogs.fileRequests[0].save);
        // No filter before SAVE AS has given the dialog one.
        QCOMPARE(rig.dialogs.fileRequests[0].filter, QString());
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(rig.list()->isVisible());
        QVERIFY(!rig.listAction("PAUSE")->isVisible());
        QVERIFY(!rig.listAction("CONTINUE")->isVisible());
        QCOMPARE(rig.grid().rowCount(), 3);
        QCOMPARE(rig.grid().cellText(1, 0), QStringLiteral("1"));
        QCOMPARE(rig.grid().cellText(2, 0), QStringLiteral("2"));
        QCOMPARE(rig.grid().cellText(2, 6), QStringLiteral("LOW"));
        QCOMPARE(rig.grid().cellText(1, 6), QString());
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);
    }

    void openFileKeepsTheDialogsLastFilterAndName() {
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("saved.dat"));
        ListRig rig;
        rig.dialogs.fileAnswers << saved;
        rig.action("CMDSAVE")->trigger();
        rig.action("CMDOPEN")->trigger(); // cancelled
        QCOMPARE(rig.dialogs.fileRequests[1].filter, rig.dialogs.fileRequests[0].filter);
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, saved);
        QVERIFY(!rig.list());
    }

    void openFileWhileLiveReplacesTheRowsAndLiveRowsFollow() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.dat"));
        writeFile(path, " 1\ta\r\n 2\tb\r\n 3\tc\r\n");
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        rig.tick();
        rig.tick();
        rig.dialogs.fileAnswers << path;
        rig.action("CMDOPEN")->trigger();
        QCOMPARE(rig.grid().rowCount(), 4);
        QCOMPARE(rig.grid().cellText(3, 1), QStringLiteral("c"));
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 5);
        QCOMPARE(rig.grid().cellText(4, 0), QStringLiteral("4"));
        QCOMPARE(rig.grid().cellText(4, 2), QStringLiteral("00:00:00"));
    }

    void printFromTheMenu() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        rig.tick();
        rig.tick();
        rig.listAction("PRINT")->trigger();
        QCOMPARE(rig.printer.lines.size(), 4);
        QCOMPARE(rig.printer.documentsEnded, 1);
        QVERIFY(rig.printer.lines[2].startsWith(QStringLiteral("1       05-02-2003  23:59:58")));
        QVERIFY(rig.listAction("PRINT")->isEnabled());
    }

    // The user closes the list while it prints: the print stops, nothing is left dangling.
    void closingWhilePrintingEndsThePrint() {
        ListRig rig;
        rig.action("CMDLIST")->trigger();
        for (int i = 0; i < 5; ++i)
            rig.tick();
        QPointer<ListWindow> list = rig.list();
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 2 && list) {
                list->close();
                delete list.data();
            }
        };
        rig.listAction("PRINT")->trigger();
        QVERIFY(!list);
        QCOMPARE(rig.printer.documentsEnded, 1);
        QCOMPARE(rig.printer.lines.size(), 4);
    }
};

QTEST_MAIN(ListWindowTest)
#include "list_window_test.moc"
