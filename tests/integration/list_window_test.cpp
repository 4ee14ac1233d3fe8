#include "PanelRig.h"
#include "TestFiles.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListWindow.h"
#include "ui/lists/LiveListController.h"

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
    Grid& grid() const { return list()->grid(); }
    QStringList cells(int row) const {
        QStringList cells;
        for (int column = 0; column < grid().columnCount(); ++column)
            cells << grid().cellText(row, column);
        return cells;
    }
    QAction* listAction(const char* name) const {
        return list()->findChild<QAction*>(QLatin1String(name));
    }
    // Which of PAUSE and CONTINUE the menu offers.
    QString offered() const {
        return QLatin1String(listAction("PAUSE")->isEnabled() ? "PAUSE" : "") +
               QLatin1String(listAction("CONTINUE")->isEnabled() ? "CONTINUE" : "");
    }
    // Recording into a file of the rig's folder from one tick before LIST opens.
    void recordThenList() {
        dialogs.fileAnswers << dir.filePath(QStringLiteral("r.dat"));
        trigger("CMDSTART");
        ticks(1);
        trigger("CMDLIST");
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            PanelRig::tick();
            clock.advanceMilliseconds(1000);
        }
    }
};

} // namespace

class ListWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Rows are numbered by the list, not by the recording. PAUSE halts them; LIST again keeps
    // the window, its rows and its menu states, and makes it live. STOP RECORDING halts the list
    // but leaves its menu as it was, so PAUSE then CONTINUE resumes it.
    void listTakesRowsPausesAndContinues() {
        ListRig rig;
        rig.recordThenList();
        QVERIFY(rig.list()->isVisible() && rig.list()->isWindow());
        QCOMPARE(rig.list()->pos(), QPoint(rig.panel.frameGeometry().width(), 0));
        QCOMPARE(rig.offered(), "PAUSE");
        rig.ticks(1);
        rig.find("LBLBT")->show();
        rig.ticks(1);
        QCOMPARE(rig.state.recording.RecordCount, 3);
        QCOMPARE(rig.cells(1),
                 (QStringList{"1", "05-02-2003", "23:59:59", "45.6", "23.1", "C", ""}));
        QCOMPARE(rig.cells(2),
                 (QStringList{"2", "05-03-2003", "00:00:00", "45.6", "23.1", "C", "LOW"}));
        QCOMPARE(rig.grid().currentRow(), 2);

        rig.listAction("PAUSE")->trigger();
        QCOMPARE(rig.offered(), "CONTINUE");
        rig.ticks(1);
        QCOMPARE(rig.grid().rowCount(), 3);
        ListWindow* first = rig.list();
        rig.trigger("CMDLIST");
        QCOMPARE(rig.list(), first);
        QCOMPARE(rig.offered(), "CONTINUE");
        rig.ticks(1);
        QCOMPARE(rig.grid().rowCount(), 4);
        rig.listAction("CONTINUE")->trigger();
        QCOMPARE(rig.offered(), "PAUSE");
        rig.trigger("CMDSTOP");
        rig.ticks(1);
        QCOMPARE(rig.grid().rowCount(), 4);
        QCOMPARE(rig.offered(), "PAUSE");
        rig.listAction("PAUSE")->trigger();
        rig.listAction("CONTINUE")->trigger();
        rig.ticks(1);
        QCOMPARE(rig.grid().rowCount(), 5);
    }

    // The 27th row scrolls the list by one. OPEN FILE's dialog keeps the recording's last
    // filter and name, and cancelled it leaves the list as it was.
    void newestRowStaysInView() {
        ListRig rig;
        rig.recordThenList();
        rig.ticks(26);
        QCOMPARE(rig.grid().firstVisibleRow(), 1);
        rig.ticks(1);
        QCOMPARE(rig.grid().firstVisibleRow(), 2);
        rig.trigger("CMDOPEN"); // cancelled
        QCOMPARE(rig.dialogs.fileRequests[1].filter, rig.dialogs.fileRequests[0].filter);
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, rig.state.recording.DataFileName);
        QCOMPARE(rig.grid().rowCount(), 28);
    }

    // The user closes the list while it prints: the print stops, nothing is left dangling.
    void closedWhilePrinting() {
        ListRig rig;
        rig.recordThenList();
        rig.ticks(3);
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
        QCOMPARE(rig.printer.documentsEnded, 1);
        QCOMPARE(rig.printer.lines.size(), 4);
        QVERIFY(rig.printer.lines[2].startsWith(QStringLiteral("1       05-02-2003  23:59:59")));
    }

    // The file's rows replace a live list's, which goes on numbering after them. Closing enables
    // FILE; LIST at once starts a fresh, empty list with PAUSE and CONTINUE back. A list that is
    // not live stays so under the file.
    void openFileCloseAndListAgain() {
        ListRig rig;
        const QString path = rig.dir.filePath(QStringLiteral("view.dat"));
        QVERIFY(writeFile(path, " 1\t05-02-2003\t14:03:27\r\n\"2\t\t\t\t\t\tLOW\"\r\n"));
        rig.dialogs.fileAnswers << path << path;
        rig.trigger("CMDLIST");
        rig.ticks(2);
        rig.trigger("CMDOPEN");
        QVERIFY(!rig.dialogs.fileRequests[0].save);
        // No filter before SAVE AS has given the dialog one.
        QCOMPARE(rig.dialogs.fileRequests[0].filter, QString());
        QCOMPARE(rig.state.recording.ListLive, 1);
        QVERIFY(!rig.listAction("PAUSE")->isVisible());
        QVERIFY(!rig.listAction("CONTINUE")->isVisible());
        QCOMPARE(rig.grid().rowCount(), 3);
        QCOMPARE(rig.cells(2).last(), QStringLiteral("LOW"));
        rig.ticks(1);
        QCOMPARE(rig.grid().cellText(3, 0), QStringLiteral("3"));

        QMenu* fileMenu = rig.panel.menus().CMDFILE;
        setMenuEnabled(fileMenu, false);
        QPointer<ListWindow> closed = rig.list();
        closed->close();
        QCOMPARE(rig.state.recording.ListLive, 0);
        QVERIFY(isMenuEnabled(fileMenu) && fileMenu->isEnabled());
        rig.trigger("CMDLIST");
        QVERIFY(rig.features.lists->window() != closed.data());
        QCOMPARE(rig.features.lists->window()->grid().rowCount(), 1);
        QTRY_VERIFY(!closed);
        QVERIFY(rig.listAction("PAUSE")->isVisible());
        rig.listAction("PAUSE")->trigger();
        rig.trigger("CMDOPEN");
        QCOMPARE(rig.state.recording.ListLive, 0);
        rig.ticks(1);
        QCOMPARE(rig.grid().rowCount(), 3);
    }
};

QTEST_MAIN(ListWindowTest)
#include "list_window_test.moc"
