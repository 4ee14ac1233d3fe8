#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "PanelRig.h"
#include "ScriptedSerialPort.h"
#include "TestFiles.h"
#include "app/RecordListOpener.h"
#include "logic/state/SharedState.h"
#include "ui/charts/ChartWindows.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListWindow.h"
#include "ui/lists/RecordListWindow.h"

#include <QAction>
#include <QDir>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

struct Rig {
    ScriptedSerialPort serial;
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(14, 0, 0))};
    FakeWaiter waiter{&clock};
    SharedState state;
    QWidget panel;
    Platform platform{serial, dialogs, printer, clock, waiter};
    RecordListWindow* window = new RecordListWindow(&panel, platform);

    QAction* action(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    Grid& grid() const { return window->grid(); }
    // Records at 14:00:00, 14:00:02, ...; every third with a low battery.
    void fill(int records) {
        for (int i = 0; i < records; ++i)
            window->appendRecordRow(QStringLiteral("05-02-2003\t14:%1:%2\t45.6\t-3.1\tC%3")
                                        .arg(i * 2 / 60, 2, 10, QLatin1Char('0'))
                                        .arg(i * 2 % 60, 2, 10, QLatin1Char('0'))
                                        .arg(i % 3 == 2 ? QStringLiteral("\tLOW") : QString()));
    }
    QByteArray save(const QString& path) {
        dialogs.fileAnswers << path;
        action("MNUSAVE")->trigger();
        return readFile(path);
    }
};

} // namespace

class RecordListWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Numbered rows, the newest kept in view once the list outgrows its 26 visible rows.
    void rowsFollowTheNewest() {
        Rig rig;
        rig.window->show();
        rig.fill(28);
        QCOMPARE(rig.grid().cellText(28, 0), QStringLiteral(" 28"));
        QCOMPARE(rig.grid().firstVisibleRow(), 3);
        QTRY_COMPARE(rig.grid().rowAt(rig.grid().viewport()->height() - 2) + 1, 28);
    }

    void saveWritesEveryRow() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.dat"));
        Rig rig;
        rig.fill(3);
        QCOMPARE(rig.save(path), QByteArray("\"1\t05-02-2003\t14:00:00\t45.6\t-3.1\tC\t\"\r\n"
                                            "\"2\t05-02-2003\t14:00:02\t45.6\t-3.1\tC\t\"\r\n"
                                            "\"3\t05-02-2003\t14:00:04\t45.6\t-3.1\tC\tLOW\"\r\n"));
        QVERIFY(rig.dialogs.fileRequests.constLast().save);

        // Cancel writes nothing and says nothing, also after a save in the same window chose a
        // name; an empty table saves an empty file.
        QVERIFY(writeFile(path, "kept"));
        rig.action("MNUSAVE")->trigger();
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, path);
        QCOMPARE(readFile(path), QByteArray("kept"));
        QVERIFY(rig.dialogs.messages.isEmpty());
        QCOMPARE(Rig().save(path), QByteArray());
    }

    // The disk fills part-way through the write (a file size limit stands for it), or the
    // folder is not there.
    void failedSaveKeepsTheOldFileAndSaysWhy() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.dat"));
        QVERIFY(writeFile(path, "the old records\r\n"));
        Rig rig;
        rig.fill(300);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
        rig.save(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(readFile(path), QByteArray("the old records\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"set.dat"});
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"THE RECORDS WERE NOT SAVED !!", path, "File too large"}),
                 QString());

        rig.dialogs.messages.clear();
        const QString inMissingFolder = dir.filePath(QStringLiteral("gone/set.dat"));
        rig.save(inMissingFolder);
        QVERIFY(!QFile::exists(inMissingFolder));
        QCOMPARE(rig.dialogs.oneFailureBoxLacks({"THE RECORDS WERE NOT SAVED !!", inMissingFolder,
                                                 "No such file or directory"}),
                 QString());
    }

    // SAVE never replaces the file being recorded, however the path names it: a box says so,
    // the file keeps its records and the recording goes on writing into it. Another file, or
    // that file once the recording has stopped, is saved as usual.
    void saveLeavesTheFileBeingRecorded_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("refused");
        QTest::newRow("its path") << "path" << true;
        QTest::newRow("a link to it") << "link" << true;
        QTest::newRow("a relative path") << "relative" << true;
        QTest::newRow("another file") << "other" << false;
        QTest::newRow("it, recording stopped") << "stopped" << false;
    }
    void saveLeavesTheFileBeingRecorded() {
        QFETCH(QString, way);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString recorded = dir.filePath(QStringLiteral("rec.dat"));
        const QString link = dir.filePath(QStringLiteral("link.dat"));
        const QMap<QString, QString> paths{{"path", recorded},
                                           {"link", link},
                                           {"relative", QDir::current().relativeFilePath(recorded)},
                                           {"other", dir.filePath(QStringLiteral("other.dat"))},
                                           {"stopped", recorded}};
        PanelRig rig;
        rig.dialogs.fileAnswers << recorded;
        rig.trigger("CMDSAVE");
        rig.trigger("CMDSTART");
        rig.tick();
        QVERIFY(QFile::link(recorded, link));
        if (way == QLatin1String("stopped"))
            rig.trigger("CMDSTOP");
        const QByteArray firstRecord = readFile(recorded);

        RecordListWindow* list = rig.features.recordLists->open();
        list->appendRecordRow(QStringLiteral("05-02-2003\t14:00:00\t45.6\t-3.1\tC"));
        rig.dialogs.fileAnswers << paths[way];
        list->findChild<QAction*>(QStringLiteral("MNUSAVE"))->trigger();
        rig.tick();
        if (!refused) {
            QVERIFY(rig.dialogs.messages.isEmpty());
            QCOMPARE(readFile(paths[way]),
                     QByteArray("\"1\t05-02-2003\t14:00:00\t45.6\t-3.1\tC\t\"\r\n"));
            return;
        }
        QCOMPARE(
            rig.dialogs.oneFailureBoxLacks(
                {QStringLiteral("THE RECORDS WERE NOT SAVED !!\n%1\nis the file being recorded. "
                                "Choose another file.\nThe recording and its file are left "
                                "as they were.")
                     .arg(paths[way])}),
            QString());
        QVERIFY(rig.state.recording.RecordingOn);
        const QByteArray records = readFile(recorded);
        QVERIFY(records.startsWith(firstRecord));
        QCOMPARE(records.count('\n'), 2);
    }

    // SHOW DATA replaces an open REC_LIST with a fresh one; the old one says it goes.
    void eachOpeningReplacesTheOpenWindow() {
        Rig rig;
        auto* opener = new RecordListOpener(&rig.panel, rig.platform);
        qRegisterMetaType<RecordListWindow*>();
        QSignalSpy opened(opener, &RecordListOpener::opened);
        QPointer<RecordListWindow> first = opener->open();
        QSignalSpy firstUnloaded(first.data(), &RecordListWindow::unloaded);
        RecordListWindow* second = opener->open();
        QCOMPARE(firstUnloaded.size(), 1);
        QTRY_VERIFY(!first);
        QVERIFY(second->isVisible());
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.last().first().value<RecordListWindow*>(), second);
    }

    // Each GRAPH item opens its own recorded chart on the values prepared from the listed rows
    // (how the values are chosen, the chart tests check).
    void chartValues() {
        PanelRig rig;
        RecordListWindow* list = rig.features.recordLists->open();
        for (const char* time : {"14:00:00", "14:00:02", "14:00:04", "14:00:06"})
            list->appendRecordRow(QStringLiteral("05-02-2003\t%1\t45.6\t-3.1\tC").arg(time));
        rig.state.logger.SetRecordCount = QStringLiteral("812");
        list->findChild<QAction*>(QStringLiteral("HUMIDITY"))->trigger();
        const ChartWindows& charts = *rig.features.charts;
        QVERIFY(charts.recordedChart(ChartKind::Humidity) != nullptr);
        QCOMPARE(rig.state.charts[ChartKind::Humidity].recorded.Time3, QStringLiteral("14:00:06"));
        list->findChild<QAction*>(QStringLiteral("TEMPERATURE"))->trigger();
        QVERIFY(charts.recordedChart(ChartKind::Temperature) != nullptr);
        QCOMPARE(rig.state.charts[ChartKind::Temperature].recorded.Count, 4.0);
    }

    // LIST and REC_LIST share the printer: while either prints, neither offers PRINT, not even
    // a list opened meanwhile; once the report is done, both offer it again.
    void printGreysEveryListsPrint() {
        Rig rig;
        rig.fill(3);
        QAction* listPrint = nullptr;
        QList<bool> enabledDuringPrint;
        rig.waiter.onWait = [&](double) {
            if (listPrint == nullptr)
                listPrint = (new ListWindow(&rig.panel, rig.state.recording, rig.dialogs,
                                            rig.printer, rig.waiter))
                                ->findChild<QAction*>(QStringLiteral("PRINT"));
            enabledDuringPrint << rig.action("PRINT")->isEnabled() << listPrint->isEnabled();
        };
        rig.action("PRINT")->trigger();
        QVERIFY(rig.printer.lines.constLast().startsWith(
            QStringLiteral("3       05-02-2003  14:00:04")));
        QCOMPARE(enabledDuringPrint, QList<bool>(6, false));
        QVERIFY(rig.action("PRINT")->isEnabled() && listPrint->isEnabled());
    }
};

QTEST_MAIN(RecordListWindowTest)
#include "record_list_window_test.moc"
