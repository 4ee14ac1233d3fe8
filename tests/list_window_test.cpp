#include "PanelRig.h"
#include "lists/Grid.h"
#include "lists/ListWindow.h"
#include "lists/LiveListController.h"

#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window with the live list and the recorder wired to its menus and sampling tick.
struct ListRig : PanelRig {
    QTemporaryDir dir;

    ListRig() {
        clock.set(QDateTime(QDate(2003, 5, 2), QTime(23, 59, 58)));
        find("LBLVALrh")->setText(QStringLiteral("45.6"));
        find("LBLVALtemp")->setText(QStringLiteral("23.1"));
        find("LBLUNITbot")->setText(QStringLiteral("C"));
        panel.show();
    }
    ListWindow* list() const { return find<ListWindow>("LIST"); }
    Grid& grid() const { return *list()->findChild<Grid*>(QStringLiteral("Grid1")); }
    QAction* listAction(const char* name) const {
        return list()->findChild<QAction*>(QString::fromLatin1(name));
    }
    void tick() {
        PanelRig::tick();
        clock.advanceMilliseconds(1000);
    }
    void startRecording() {
        dialogs.fileAnswers << dir.filePath(QStringLiteral("r.dat"));
        trigger("CMDSAVE");
        trigger("CMDSTART");
    }
    QString writeFile(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("view.dat"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }
};

} // namespace

class ListWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listOpensBesideThePanelAndTakesRows() {
        ListRig rig;
        rig.trigger("CMDLIST");
        QCOMPARE(rig.state.recording.ListLive, 1);
        ListWindow* list = rig.list();
        QVERIFY(list && list->isVisible() && list->isWindow());
        QCOMPARE(list->pos(), QPoint(rig.panel.frameGeometry().width(), 0));
        QVERIFY(!rig.listAction("CONTINUE")->isEnabled());
        QVERIFY(rig.listAction("PAUSE")->isEnabled());

        rig.tick();
        rig.find("LBLBT")->show();
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

    // Row numbers are the list's own; STOP RECORDING halts the list but leaves its menu as it
    // was, so PAUSE then CONTINUE resumes it.
    void withARecordingRunning() {
        ListRig rig;
        rig.startRecording();
        rig.tick();
        rig.trigger("CMDLIST");
        rig.tick();
        QCOMPARE(rig.state.recording.RecordCount, 2);
        QCOMPARE(rig.grid().cellText(1, 0), QStringLiteral("1"));
        rig.trigger("CMDSTOP");
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 2);
        QVERIFY(rig.listAction("PAUSE")->isEnabled());
        rig.listAction("PAUSE")->trigger();
        rig.listAction("CONTINUE")->trigger();
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);
    }

    void the27thRowScrollsByOne() {
        ListRig rig;
        rig.trigger("CMDLIST");
        for (int i = 1; i <= 26; ++i)
            rig.tick();
        QCOMPARE(rig.grid().firstVisibleRow(), 1);
        rig.tick();
        QCOMPARE(rig.grid().firstVisibleRow(), 2);
    }

    void pauseContinueAndListAgain() {
        ListRig rig;
        rig.trigger("CMDLIST");
        rig.tick();
        rig.listAction("PAUSE")->trigger();
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(!rig.listAction("PAUSE")->isEnabled());
        QVERIFY(rig.listAction("CONTINUE")->isEnabled());
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 2);

        // LIST again keeps the window, its rows and its menu states, and makes it live.
        ListWindow* first = rig.list();
        rig.trigger("CMDLIST");
        QCOMPARE(rig.list(), first);
        QVERIFY(!rig.listAction("PAUSE")->isEnabled());
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);

        rig.listAction("CONTINUE")->trigger();
        QCOMPARE(rig.state.recording.ListLive, 1);
        QVERIFY(rig.listAction("PAUSE")->isEnabled());
        QVERIFY(!rig.listAction("CONTINUE")->isEnabled());
    }

    void closingStopsTheRowsAndEnablesFile() {
        ListRig rig;
        rig.trigger("CMDLIST");
        rig.tick();
        QMenu* fileMenu = rig.panel.menus().CMDFILE;
        setMenuEnabled(fileMenu, false);
        QPointer<ListWindow> closed = rig.list();
        closed->close();
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(isMenuEnabled(fileMenu) && fileMenu->isEnabled());

        // LIST at once starts a fresh, empty list with PAUSE and CONTINUE back.
        rig.trigger("CMDLIST");
        QVERIFY(rig.features.lists->window() != closed.data());
        QCOMPARE(rig.features.lists->window()->grid().rowCount(), 1);
        QTRY_VERIFY(!closed);
        QVERIFY(rig.listAction("PAUSE")->isVisible());
        QVERIFY(rig.listAction("CONTINUE")->isVisible());
        rig.tick();
        QCOMPARE(rig.grid().cellText(1, 0), QStringLiteral("1"));
    }

    void openFileShowsTheFile() {
        ListRig rig;
        rig.dialogs.fileAnswers << rig.writeFile(
            " 1\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"
            "\"2\t05-02-2003\t14:03:29\t45.7\t23.0\tC\tLOW\"\r\n");
        rig.trigger("CMDOPEN");
        QCOMPARE(rig.dialogs.fileRequests.size(), 1);
        QVERIFY(!rig.dialogs.fileRequests[0].save);
        // No filter before SAVE AS has given the dialog one.
        QCOMPARE(rig.dialogs.fileRequests[0].filter, QString());
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(!rig.listAction("PAUSE")->isVisible());
        QVERIFY(!rig.listAction("CONTINUE")->isVisible());
        QCOMPARE(rig.grid().rowCount(), 3);
        QCOMPARE(rig.grid().cellText(2, 0), QStringLiteral("2"));
        QCOMPARE(rig.grid().cellText(2, 6), QStringLiteral("LOW"));
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 3);
    }

    void openFileKeepsTheDialogsLastFilterAndName() {
        ListRig rig;
        rig.startRecording();
        rig.trigger("CMDOPEN"); // cancelled
        QCOMPARE(rig.dialogs.fileRequests[1].filter, rig.dialogs.fileRequests[0].filter);
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, rig.state.recording.DataFileName);
        QVERIFY(!rig.list());
    }

    void openFileWhileLiveReplacesTheRowsAndLiveRowsFollow() {
        ListRig rig;
        rig.trigger("CMDLIST");
        rig.tick();
        rig.tick();
        rig.dialogs.fileAnswers << rig.writeFile(" 1\ta\r\n 2\tb\r\n 3\tc\r\n");
        rig.trigger("CMDOPEN");
        QCOMPARE(rig.grid().rowCount(), 4);
        QCOMPARE(rig.grid().cellText(3, 1), QStringLiteral("c"));
        rig.tick();
        QCOMPARE(rig.grid().rowCount(), 5);
        QCOMPARE(rig.grid().cellText(4, 0), QStringLiteral("4"));
        QCOMPARE(rig.grid().cellText(4, 2), QStringLiteral("00:00:00"));
    }

    // The user closes the list while it prints: the print stops, nothing is left dangling.
    void printAndCloseWhilePrinting() {
        ListRig rig;
        rig.trigger("CMDLIST");
        for (int i = 0; i < 5; ++i)
            rig.tick();
        rig.listAction("PRINT")->trigger();
        QCOMPARE(rig.printer.documentsEnded, 1);
        QVERIFY(rig.printer.lines[2].startsWith(QStringLiteral("1       05-02-2003  23:59:58")));
        QVERIFY(rig.listAction("PRINT")->isEnabled());

        rig.printer.lines.clear();
        QPointer<ListWindow> list = rig.list();
        rig.waiter.waits.clear();
        rig.waiter.onWait = [&](double) {
            if (rig.waiter.waits.size() == 2 && list) {
                list->close();
                delete list.data();
            }
        };
        rig.listAction("PRINT")->trigger();
        QVERIFY(!list);
        QCOMPARE(rig.printer.documentsEnded, 2);
        QCOMPARE(rig.printer.lines.size(), 4);
    }
};

QTEST_MAIN(ListWindowTest)
#include "list_window_test.moc"
