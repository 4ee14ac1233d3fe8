#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "Legibility.h"
#include "SimSerialPort.h"
#include "app/RecordListOpener.h"
#include "device/link/MeterLink.h"
#include "logic/datalogger/DownloadCheck.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/state/SharedState.h"
#include "logic/text/NumberText.h"
#include "ui/datalogger/LoggerWindow.h"
#include "ui/datalogger/MeterSettingsCommands.h"
#include "ui/lists/Grid.h"
#include "ui/lists/RecordListWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// LOGGER and the OPTION items against the simulated meter's engine, with waits that take no
// time. The engine starts with sets of 12, 1 and 30 records, ID 1234 and interval 2 s. A meter
// falling silent or unplugged mid-exchange the fault scenarios run over the real line.
struct LoggerRig {
    SharedState state;
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(14, 30, 15))};
    FakeWaiter waiter{&clock};
    SimSerialPort serial{&clock};
    FakeDialogs dialogs;
    FakePrinter printer;
    Platform platform{serial, dialogs, printer, clock, waiter};
    QWidget panel;
    MeterLink link{&panel, serial, waiter, state.reading};
    RecordListOpener recordLists{&panel, platform};
    MeterSettingsCommands commands{
        &panel, link, state.logger, [this] { return state.ComPortNumber; }, platform, recordLists};
    // Runs as each record row is listed, with the number of rows so far.
    std::function<void(int rows)> onRow = [](int) {};

    LoggerRig() {
        state.ComPortNumber = 3;
        serial.open(3);
        link.startPolling();
        QObject::connect(
            &recordLists, &RecordListOpener::opened, &panel, [this](RecordListWindow* list) {
                QObject::connect(list->grid().model(), &QAbstractItemModel::rowsInserted, list,
                                 [this, list] { onRow(list->grid().rowCount() - 1); });
            });
    }
    RecordListWindow* list() const { return recordLists.window(); }
    bool polling() const { return link.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive(); }
    void meter(const char* line) { serial.engine().control(QString::fromLatin1(line)); }
    LoggerWindow* logger() const { return commands.logger(); }
    template <typename T = QWidget> T* find(const char* name) const {
        return logger()->findChild<T*>(QString::fromLatin1(name));
    }
    // MEMORY, and the status refresh its showing asks for.
    LoggerWindow* open() {
        commands.CMDMEMORY_Click();
        QCoreApplication::processEvents();
        serial.writes.clear();
        return logger();
    }
    // The directory read, and the set in that grid row chosen.
    void choose(int row) {
        logger()->SSCommand2_Click();
        find<Grid>("Grid1")->setCurrentRow(row);
        logger()->Grid1_Click();
        serial.writes.clear();
    }
    // Erases the meter and records a set of that many records, 2 s apart (none: just erases).
    void record(int records) {
        meter("erase");
        if (records == 0)
            return;
        serial.engine().receive("S");
        clock.advanceMilliseconds((records - 1) * 2000 + 500);
        serial.engine().receive("T");
    }
    // The texts of labels and entry boxes.
    QStringList texts(std::initializer_list<const char*> names) const {
        QStringList shown;
        for (const char* name : names)
            shown << find(name)->property("text").toString();
        return shown;
    }
    bool enabled(const char* name) const { return find(name)->isEnabled(); }
    QString listCaption() const {
        return list() ? list()->findChild<QLabel*>(QStringLiteral("Label1"))->text() : QString();
    }
    QStringList messages() const {
        QStringList texts;
        for (const FakeDialogs::Message& message : dialogs.messages)
            texts << message.text;
        return texts;
    }
};

} // namespace

class LoggerWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The status shown, and refreshed on resize and after a running exchange. An entry out of
    // range sends 0 and says so; the frame buffer outlives the window, so a later "K" carries
    // the last parameter's low byte.
    void statusEntriesAndRefresh() {
        LoggerRig rig;
        rig.commands.CMDMEMORY_Click();
        QVERIFY(rig.serial.writes.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{"Y", "C"}));
        QCOMPARE(
            rig.texts({"Label4", "Label6", "LBLSET", "Text2", "Text3", "Label3", "Label1"}),
            (QStringList{"32 K", "31.8 K", "3", " 2  sec", "1234", "03-05-02-----14:30:15", ""}));

        rig.serial.writes.clear();
        rig.find<QLineEdit>("Text3")->setText(QStringLiteral("70000"));
        rig.find<QPushButton>("SSCommand4")->click();
        rig.find<QLineEdit>("Text2")->setText(QStringLiteral(" 300  sec"));
        rig.find<QPushButton>("SSCommand5")->click();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{QByteArray::fromHex("58000000000000"),
                                                       QByteArray::fromHex("57012c00000000")}));
        QCOMPARE(rig.texts({"Text3", "Text2", "Label1"}), (QStringList{"0", " 300  sec", ""}));
        QCOMPARE(rig.messages(), QStringList{"INVALID NOs, PLEASE TRY AGAIN!"});
        QVERIFY(rig.enabled("SSCommand4") && rig.enabled("SSCommand5"));
        QVERIFY(rig.polling());

        // Every resize, minimise and restore refreshes, once for those that come together.
        LoggerWindow* logger = rig.open();
        logger->resize(logger->width() + 10, logger->height());
        logger->showMinimized();
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{"Y", "C"}));

        // A refresh asked for during another exchange runs after it, not inside it.
        rig.choose(2);
        rig.waiter.onWait = [&](double) {
            rig.waiter.onWait = nullptr;
            logger->Form_Resize();
        };
        logger->SSCommand3_Click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{QByteArray::fromHex("4b022c00000000")});
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes.mid(1), (QList<QByteArray>{"Y", "C"}));
    }

    // The directory read and a set chosen. A memory erased behind LOGGER's back has no
    // directory to show, and the meter that said so is not taken for silent.
    void directoryAndChoice() {
        LoggerRig rig;
        LoggerWindow* logger = rig.open();
        // Before any directory the current row is the header: nothing is chosen.
        logger->Grid1_Click();
        QCOMPARE(rig.state.logger.SelectedSet, 0);
        QVERIFY(!rig.enabled("SSCommand3"));

        rig.find<QPushButton>("SSCommand2")->click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"I"});
        Grid* grid = rig.find<Grid>("Grid1");
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("24-01-31----23:58:30"));
        QVERIFY(!rig.enabled("SSCommand2"));

        const QRect row3 = grid->visualRect(grid->model()->index(2, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(rig.state.logger.SelectedSet, 3);
        QCOMPARE(rig.texts({"LBLRECORDS"}), QStringList{"30"});
        QVERIFY(rig.enabled("SSCommand3"));

        rig.record(1);
        rig.open();
        rig.meter("erase");
        rig.dialogs.messages.clear();
        rig.logger()->SSCommand2_Click();
        QCOMPARE(rig.messages(), QStringList{"NO RECORDS, TRY AGAIN"});
        QCOMPARE(rig.find<Grid>("Grid1")->rowCount(), 1);
    }

    // ERASE: Cancel leaves the memory as it is, OK erases it and LOGGER shows the empty memory.
    // SYSTEM TIME sets the meter's clock, the poll paused meanwhile, and LOGGER shows it.
    void eraseAndSystemTime() {
        LoggerRig rig;
        rig.open();
        rig.waiter.waits.clear();
        rig.dialogs.messageAnswers = {Dialogs::Answer::Cancel, Dialogs::Answer::Ok};
        rig.commands.CMDERASE_Click();
        QVERIFY(rig.serial.writes.isEmpty());
        QCOMPARE(rig.serial.engine().memory().setCount(), 3);
        rig.commands.CMDERASE_Click();
        const FakeDialogs::Message& message = rig.dialogs.messages.last();
        QCOMPARE(message.text,
                 QStringLiteral("ALL RECORDED DATA IN THE METER\n\rWILL BE DELETED!!"));
        QCOMPARE(message.buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(message.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"EEE"});
        QCOMPARE(rig.waiter.waits, QList<double>{0.02});
        QCOMPARE(rig.serial.engine().memory().setCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{"EEE", "Y", "C"}));
        QCOMPARE(rig.texts({"LBLSET", "Label6"}), (QStringList{"0", "32 K"}));

        rig.serial.writes.clear();
        QStringList captions;
        QObject::connect(&rig.commands, &MeterSettingsCommands::commCaptionChanged, &rig.panel,
                         [&](const QString& caption) {
                             captions << caption + (rig.polling() ? "" : " paused");
                         });
        rig.commands.CMDSYSTEM_Click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{QByteArray::fromHex("4403050214301500")});
        QCOMPARE(captions, (QStringList{"WAIT", "Com3"}));
        QVERIFY(rig.polling());
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes.mid(1), (QList<QByteArray>{"Y", "C"}));
    }

    // After the directory was read the meter is erased, or records a longer set, or the line
    // loses bytes: the list holds what arrived whole and in step, never more than the set held,
    // and says what it lacks.
    void showData_data() {
        QTest::addColumn<int>("recordedAgain");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        const QString damaged = QStringLiteral("THE SET ARRIVED DAMAGED!\n\r");
        QTest::newRow("all arrive")
            << -1 << QString() << 3 << QStringLiteral(" 3  RECORDS IN NO.  1  SET") << QString();
        QTest::newRow("set gone") << 0 << QString() << 0
                                  << QStringLiteral(" 0  OF  3  RECORDS IN NO.  1  SET")
                                  << QStringLiteral(" 3  RECORDS DID NOT ARRIVE!");
        QTest::newRow("longer set")
            << 5 << QString() << 3 << QStringLiteral(" 3  RECORDS IN NO.  1  SET, DAMAGED")
            << damaged + QStringLiteral(" 3  OF  3  RECORDS LISTED");
        // The first record's worth of the header lost: the start read is no time of day.
        QTest::newRow("bytes lost") << -1 << QStringLiteral("drop 4") << 0
                                    << QStringLiteral(" 0  RECORDS IN NO.  1  SET, DAMAGED")
                                    << damaged + QStringLiteral(" 0  OF  3  RECORDS LISTED");
    }
    void showData() {
        QFETCH(int, recordedAgain);
        QFETCH(QString, fault);
        QFETCH(int, rows);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        LoggerRig rig;
        rig.record(3);
        rig.open();
        rig.choose(1);
        if (recordedAgain >= 0)
            rig.record(recordedAgain);
        if (!fault.isEmpty())
            rig.serial.engine().control(fault);
        rig.waiter.waits.clear();
        rig.find<QPushButton>("SSCommand3")->click();
        // The click's pause and the line's 2 s of silence in steps of 0.01 s; the list then fills
        // on its own.
        QCOMPARE(rig.waiter.waits.count(0.01), 1 + 200);
        QVERIFY(rig.polling());

        QTRY_COMPARE(rig.listCaption(), caption);
        QCOMPARE(rig.list()->grid().rowCount(), rows + 1);
        QCOMPARE(rig.messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(rig.dialogs.messages.constLast().icon, Dialogs::Icon::Exclamation);
        QVERIFY(!rig.enabled("SSCommand3"));
    }

    // Closed mid-exchange (by the user or the main window), LOGGER gives up at once, the poll
    // starts again, and the window goes only after the exchange has unwound.
    void closeDuringExchange_data() {
        QTest::addColumn<QString>("during");
        for (const char* during : {"status", "download"})
            QTest::newRow(during) << during;
    }
    void closeDuringExchange() {
        QFETCH(QString, during);
        LoggerRig rig;
        QPointer<LoggerWindow> logger = rig.open();
        const bool status = during == QLatin1String("status");
        if (status)
            rig.meter("silent on");
        else
            rig.choose(3);
        int waitsAfterClose = -1;
        bool pausedInside = false;
        rig.waiter.onWait = [&](double seconds) {
            if (waitsAfterClose >= 0) {
                ++waitsAfterClose;
            } else if (status || seconds == 0.02) {
                waitsAfterClose = 0;
                rig.commands.closeLogger();
                // An ERASE from the main window meanwhile must not restart the poll under us.
                rig.commands.CMDERASE_Click();
                pausedInside = !rig.polling();
                // A real wait runs the event loop, which would delete a window let go too soon.
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY(logger);
            }
        };
        if (status)
            logger->Form_Resize();
        else
            logger->SSCommand3_Click();
        QVERIFY(pausedInside);
        QCOMPARE(waitsAfterClose, 1);
        QVERIFY(logger && !logger->isVisible());
        QVERIFY(rig.polling());
        QCOMPARE(rig.messages(),
                 QStringList{"ALL RECORDED DATA IN THE METER\n\rWILL BE DELETED!!"});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!logger);
    }

    // A downloaded set is listed whole whatever becomes of LOGGER or the link meanwhile. A set
    // chosen during the listing is shown when asked: its download replaces the list.
    void listingOutlivesLogger_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("caption");
        const QString whole = QStringLiteral(" 30  RECORDS IN NO.  3  SET");
        QTest::newRow("LOGGER closed") << "close" << whole;
        QTest::newRow("MEMORY again") << "memory" << whole;
        QTest::newRow("meter gone quiet") << "quiet" << whole;
        QTest::newRow("SHOW DATA again") << "show" << QStringLiteral(" 12  RECORDS IN NO.  1  SET");
    }
    void listingOutlivesLogger() {
        QFETCH(QString, meanwhile);
        QFETCH(QString, caption);
        LoggerRig rig;
        LoggerWindow* logger = rig.open();
        rig.choose(3);
        // As the main window does when the poll finds no meter.
        QObject::connect(&rig.link, &MeterLink::noDeviceEntered, &rig.commands,
                         &MeterSettingsCommands::closeLogger);
        bool showDataOffered = false;
        bool oldListDuringDownload = false;
        bool struck = false;
        rig.onRow = [&](int rows) {
            if (rows < 2 || std::exchange(struck, true))
                return;
            if (meanwhile == QLatin1String("close")) {
                rig.commands.closeLogger();
            } else if (meanwhile == QLatin1String("memory")) {
                rig.commands.CMDMEMORY_Click();
            } else if (meanwhile == QLatin1String("quiet")) {
                rig.meter("silent on");
                int waits = 0;
                rig.waiter.onWait = [&](double) {
                    if (++waits == 60)
                        rig.meter("silent off");
                };
                rig.link.Timer1_Timer();
                rig.waiter.onWait = nullptr;
            } else {
                rig.find<Grid>("Grid1")->setCurrentRow(1);
                logger->Grid1_Click();
                showDataOffered = rig.enabled("SSCommand3");
                // The list shown so far goes as SHOW DATA is pressed, not once the set is in.
                const QPointer<RecordListWindow> shown = rig.list();
                rig.waiter.onWait = [&, shown](double) {
                    oldListDuringDownload = oldListDuringDownload || (shown && shown->isVisible());
                };
                rig.find<QPushButton>("SSCommand3")->click();
                rig.waiter.onWait = nullptr;
            }
        };
        logger->SSCommand3_Click();
        QTRY_COMPARE(rig.listCaption(), caption);
        QCOMPARE(rig.list()->grid().rowCount(), qRound(leadingNumber(caption)) + 1);
        QCOMPARE(showDataOffered, meanwhile == QLatin1String("show"));
        QVERIFY(!oldListDuringDownload);
        QVERIFY(rig.messages().isEmpty());
    }

    // The set chosen when SHOW DATA was pressed holds for the whole download: a click on the
    // directory meanwhile changes nothing.
    void aSetClickedDuringTheDownloadChangesNothing() {
        LoggerRig rig;
        rig.open();
        rig.choose(3);
        Grid* grid = rig.find<Grid>("Grid1");
        bool clicked = false;
        rig.waiter.onWait = [&](double seconds) {
            if (seconds != 0.02 || std::exchange(clicked, true))
                return;
            const QRect row2 = grid->visualRect(grid->model()->index(1, 1));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row2.center());
        };
        rig.find<QPushButton>("SSCommand3")->click();
        QTRY_COMPARE(rig.listCaption(), QStringLiteral(" 30  RECORDS IN NO.  3  SET"));
        QCOMPARE(rig.list()->grid().rowCount(), 31);
        QCOMPARE(rig.state.logger.SelectedSet, 3);
        QCOMPARE(rig.texts({"LBLRECORDS"}), QStringList{"30"});
        QVERIFY(!rig.enabled("SSCommand3"));
        QVERIFY(rig.messages().isEmpty());
    }

    // Bytes that come after an exchange was given up on (the rest of a set the meter goes on
    // sending, a late reply) are no reading: the poll waits for the line to fall quiet.
    void noReadingFromBytesNobodyAskedFor_data() {
        QTest::addColumn<bool>("downloadCancelled");
        QTest::newRow("download cancelled") << true;
        QTest::newRow("status timed out") << false;
    }
    void noReadingFromBytesNobodyAskedFor() {
        QFETCH(bool, downloadCancelled);
        LoggerRig rig;
        LoggerWindow* logger = rig.open();
        if (downloadCancelled) {
            rig.choose(3);
            rig.waiter.onWait = [&](double seconds) {
                if (seconds == 0.02)
                    rig.commands.closeLogger();
            };
            logger->SSCommand3_Click();
            rig.meter("silent on");
        } else {
            rig.meter("silent on");
            logger->Form_Resize();
            QCOMPARE(rig.messages(), QStringList{"THE METER DOES NOT ANSWER, TRY AGAIN!"});
        }
        // The meter, busy sending, answers no poll: 8 bytes every wait for a while, then quiet.
        int waits = 0;
        rig.waiter.onWait = [&](double) {
            if (++waits < 100)
                rig.serial.feed(QByteArray::fromHex("2a0b1c0d2e0f1a2b"));
            else if (waits == 100)
                rig.meter("silent off");
        };
        QList<QByteArray> frames;
        QObject::connect(&rig.link, &MeterLink::frameDecoded, &rig.panel,
                         [&] { frames << rig.state.reading.LastFrame; });
        rig.link.Timer1_Timer();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].front(), '\x02');
        QCOMPARE(frames[0].back(), '\x03');
    }

    // LOGGER and REC_LIST readable with the widest texts they show.
    void legibleWithTheWidestTexts() {
        LoggerRig rig;
        rig.serial.engine().receive(QByteArray::fromHex("57ffff00000000"));
        rig.serial.engine().receive(QByteArray::fromHex("58ffff00000000"));
        LoggerWindow* logger = rig.open();
        rig.choose(3);
        for (int set = 4; set <= 255; ++set)
            rig.find<Grid>("Grid1")->addRow(QStringLiteral(" %1\t99-12-31----23:59:59").arg(set));
        rig.find<QLabel>("Label6")->setText(QStringLiteral("32 K"));
        rig.find<QLabel>("Label8")->setText(LoggedSetData::progressText(10 + 4 * 32764));
        rig.find<QLabel>("Label1")->setText(QStringLiteral("PLEASE WAIT....."));
        rig.find<QLabel>("LBLSET")->setText(QStringLiteral("255"));
        rig.find<QLabel>("LBLRECORDS")->setText(QStringLiteral("65535"));
        QCOMPARE(legibilityProblems(logger).join(QStringLiteral("; ")), QString());

        RecordListWindow list(&rig.panel, rig.platform);
        for (int record = 1; record <= 30; ++record)
            list.appendRecordRow(QStringLiteral("99-12-31\t23:59:59\t-199.9\t-199.9\tF\tLOW"));
        list.grid().setCellText(list.grid().firstVisibleRow(), 0, QStringLiteral(" 32764"));
        // A set cut short and a damaged one.
        for (const DownloadCheck& widest :
             {DownloadCheck{32764, 32763, false}, DownloadCheck{32764, 32764, true}}) {
            list.setStatusCaption(widest.recordListCaption(255));
            QCOMPARE(legibilityProblems(&list).join(QStringLiteral("; ")), QString());
        }
    }
};

QTEST_MAIN(LoggerWindowTest)
#include "datalogger_window_test.moc"
