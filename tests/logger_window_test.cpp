#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "Legibility.h"
#include "SimSerialPort.h"
#include "link/MeterLink.h"
#include "lists/Grid.h"
#include "lists/RecordListWindow.h"
#include "logger/LoggerWindow.h"
#include "logger/MeterSettingsCommands.h"
#include "logger/SetDownload.h"
#include "state/SharedState.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// LOGGER and the OPTION items against the simulated meter's engine, with waits that take no
// time. The engine starts with sets of 12, 1 and 30 records, ID 1234 and interval 2 s.
struct LoggerRig {
    SharedState state;
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(14, 30, 15))};
    FakeWaiter waiter{&clock};
    SimSerialPort serial{&clock};
    FakeDialogs dialogs;
    FakePrinter printer;
    Platform platform{serial, dialogs, printer, clock, waiter};
    QWidget panel;
    QTimer poll;
    MeterLink link{&panel, serial, waiter, state.reading, &poll};
    QPointer<RecordListWindow> list;
    MeterSettingsCommands commands{&panel, link, state, platform, [this] {
                                       if (list)
                                           list->close();
                                       list = new RecordListWindow(&panel, state, platform);
                                       return list.data();
                                   }};

    LoggerRig() {
        state.ComPortNumber = 3;
        serial.open(3);
        poll.start(1000);
    }
    void meter(const char* line) {
        QCOMPARE(serial.engine().control(QString::fromLatin1(line)), QStringLiteral("ok"));
    }
    // MEMORY, and the status refresh its showing asks for.
    LoggerWindow* open() {
        commands.CMDMEMORY_Click();
        QCoreApplication::processEvents();
        serial.writes.clear();
        return commands.logger();
    }
    // The directory read, and the set in that grid row chosen.
    void choose(int row) {
        commands.logger()->SSCommand2_Click();
        grid()->setCurrentRow(row);
        commands.logger()->Grid1_Click();
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
    QString text(const char* name) const {
        const QString objectName = QString::fromLatin1(name);
        auto* label = commands.logger()->findChild<QLabel*>(objectName);
        return label ? label->text() : commands.logger()->findChild<QLineEdit*>(objectName)->text();
    }
    QPushButton* button(const QString& name) const {
        return commands.logger()->findChild<QPushButton*>(name);
    }
    Grid* grid() const { return commands.logger()->findChild<Grid*>(QStringLiteral("Grid1")); }
    QStringList messages() const {
        QStringList texts;
        for (const FakeDialogs::Message& message : dialogs.messages)
            texts << message.text;
        return texts;
    }
};

void verifyLegible(const QWidget* window) {
    const QStringList problems = legibilityProblems(window);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

} // namespace

class LoggerWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The status shown, and refreshed on resize and after a running exchange.
    void statusRefresh() {
        LoggerRig rig;
        rig.commands.CMDMEMORY_Click();
        QVERIFY(rig.serial.writes.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{"Y", "C"}));
        const QStringList shown{rig.text("Label4"), rig.text("Label6"), rig.text("LBLSET"),
                                rig.text("Text2"),  rig.text("Text3"),  rig.text("Label3"),
                                rig.text("Label1")};
        QCOMPARE(shown, (QStringList{"32 K", "31.8 K", "3", " 2  sec", "1234",
                                     "03-05-02-----14:30:15", ""}));
        QVERIFY(rig.poll.isActive());
        QVERIFY(!rig.button("SSCommand3")->isEnabled());

        // Every resize, minimise and restore refreshes, once for those that come together.
        rig.serial.writes.clear();
        LoggerWindow* logger = rig.commands.logger();
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
        QCOMPARE(rig.serial.writes.size(), 1);
        QCOMPARE(rig.serial.writes.first().at(0), 'K');
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes.mid(1), (QList<QByteArray>{"Y", "C"}));
    }

    void entries_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ID") << "SSCommand4"
                            << "Text3"
                            << "70000" << QByteArray::fromHex("58000000000000") << "0";
        QTest::newRow("interval") << "SSCommand5"
                                  << "Text2"
                                  << " 300  sec" << QByteArray::fromHex("57012c00000000")
                                  << " 300  sec";
    }
    void entries() {
        QFETCH(QString, button);
        QFETCH(QString, box);
        QFETCH(QString, entry);
        QFETCH(QByteArray, frame);
        QFETCH(QString, shown);
        LoggerRig rig;
        LoggerWindow* logger = rig.open();
        logger->findChild<QLineEdit*>(box)->setText(entry);
        rig.button(button)->click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{frame});
        QCOMPARE(logger->findChild<QLineEdit*>(box)->text(), shown);
        const bool invalid = shown == QLatin1String("0");
        QCOMPARE(rig.messages(),
                 invalid ? QStringList{LoggerWindow::invalidEntryMessage()} : QStringList());
        QVERIFY(rig.button(button)->isEnabled());
        QVERIFY(rig.poll.isActive());

        // The frame buffer outlives the window: a later "K" carries this frame's low byte.
        rig.open();
        rig.choose(2);
        rig.commands.logger()->SSCommand3_Click();
        QCOMPARE(rig.serial.writes.first(), "K\x02" + frame.mid(2));
    }

    void directoryAndSelection() {
        LoggerRig rig;
        LoggerWindow* logger = rig.open();
        // Before any directory the current row is the header: nothing is chosen.
        logger->Grid1_Click();
        QCOMPARE(rig.state.logger.SelectedSet, 0);
        QVERIFY(!rig.button("SSCommand3")->isEnabled());

        rig.button("SSCommand2")->click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"I"});
        Grid* grid = rig.grid();
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("24-01-31----23:58:30"));
        QCOMPARE(rig.text("Label8"), QStringLiteral(" 3 SETS COMPLETED"));
        QVERIFY(!rig.button("SSCommand2")->isEnabled());
        QVERIFY(logger->findChild<QLabel*>(QStringLiteral("Label2"))->isVisibleTo(logger));

        const QRect row3 = grid->visualRect(grid->model()->index(2, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(rig.state.logger.SelectedSet, 3);
        QCOMPARE(rig.state.logger.SetRecordCount, QStringLiteral("30"));
        QCOMPARE(rig.text("LBLRECORDS"), QStringLiteral("30"));
        QVERIFY(rig.button("SSCommand3")->isEnabled());

        // An empty memory has no directory to show.
        rig.meter("erase");
        rig.open()->SSCommand2_Click();
        QCOMPARE(rig.messages(), QStringList{LoggerWindow::noRecordsMessage()});
        QCOMPARE(rig.grid()->rowCount(), 1);
    }

    // After the directory was read the meter is erased, or records a shorter or longer set:
    // the list holds what arrived, never more than the set held, and says how many did not.
    void showData_data() {
        QTest::addColumn<int>("recordedAgain");
        QTest::addColumn<int>("rows");
        QTest::newRow("all arrive") << -1 << 3;
        QTest::newRow("one arrives") << 1 << 1;
        QTest::newRow("set gone") << 0 << 0;
        QTest::newRow("longer set") << 5 << 3;
    }
    void showData() {
        QFETCH(int, recordedAgain);
        QFETCH(int, rows);
        LoggerRig rig;
        rig.record(3);
        rig.open();
        rig.choose(1);
        QCOMPARE(rig.text("LBLRECORDS"), QStringLiteral("3"));
        if (recordedAgain >= 0)
            rig.record(recordedAgain);
        rig.waiter.waits.clear();
        rig.button("SSCommand3")->click();

        QVERIFY(rig.list);
        Grid& list = rig.list->grid();
        QCOMPARE(list.rowCount(), rows + 1);
        QCOMPARE(rig.list->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral(" %1  RECORDS IN NO.  1  SET").arg(rows));
        const QStringList missing =
            rows < 3 ? QStringList{LoggerWindow::missingRecordsMessage(3 - rows)} : QStringList();
        QCOMPARE(rig.messages(), missing);
        // The click's pause, the line's silence, then one pause a record.
        const int silence =
            qRound(LoggerExchange::DownloadSilenceSeconds / LoggerExchange::WaitStepSeconds);
        QCOMPARE(rig.waiter.waits.count(0.01), 1 + silence + rows);
        if (recordedAgain < 0)
            QCOMPARE(list.cellText(3, 2), QStringLiteral("14:30:19"));
        QVERIFY(!rig.button("SSCommand3")->isEnabled());
        QCOMPARE(rig.text("Label1"), QString());
        QVERIFY(rig.poll.isActive());
    }

    // A silent meter ends the exchange after the time-out, with a box, everything put back.
    void silentMeter_data() {
        QTest::addColumn<QString>("handler");
        QTest::newRow("status") << "Form_Resize";
        QTest::newRow("directory") << "SSCommand2";
    }
    void silentMeter() {
        QFETCH(QString, handler);
        LoggerRig rig;
        LoggerWindow* logger = rig.open();
        rig.meter("silent on");
        if (handler == QLatin1String("Form_Resize"))
            logger->Form_Resize();
        else
            rig.button(handler)->click();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        const FakeDialogs::Message& message = rig.dialogs.messages.first();
        QCOMPARE(message.text, LoggerWindow::noAnswerMessage());
        QCOMPARE(message.icon, Dialogs::Icon::Critical);
        QCOMPARE(message.title, QStringLiteral("Humidity_Temperature"));
        QCOMPARE(rig.text("Label1"), QString());
        QVERIFY(rig.poll.isActive());
        QVERIFY(rig.button("SSCommand6")->isEnabled());
        QCOMPARE(rig.button("SSCommand2")->isEnabled(), handler != QLatin1String("SSCommand2"));
    }

    // Closed mid-exchange (by the user or the main window), LOGGER gives up at once, the poll
    // starts again, and the window goes only after the exchange has unwound.
    void closeDuringExchange_data() {
        QTest::addColumn<QString>("during");
        for (const char* during : {"status", "download", "listing"})
            QTest::newRow(during) << during;
    }
    void closeDuringExchange() {
        QFETCH(QString, during);
        LoggerRig rig;
        QPointer<LoggerWindow> logger = rig.open();
        if (during == QLatin1String("status"))
            rig.meter("silent on");
        int waitsAfterClose = -1;
        bool pausedInside = false;
        rig.waiter.onWait = [&](double seconds) {
            if (waitsAfterClose >= 0) {
                ++waitsAfterClose;
                return;
            }
            const bool listing = rig.list && rig.list->grid().rowCount() > 2;
            if ((during == QLatin1String("download") && seconds == 0.02) ||
                (during == QLatin1String("listing") && listing) ||
                during == QLatin1String("status")) {
                waitsAfterClose = 0;
                rig.commands.closeLogger();
                // An ERASE from the main window meanwhile must not restart the poll under us.
                rig.commands.CMDERASE_Click();
                pausedInside = !rig.poll.isActive();
            }
        };
        if (during == QLatin1String("status")) {
            logger->Form_Resize();
        } else {
            rig.choose(3);
            logger->SSCommand3_Click();
        }
        // The list fills with the poll running again.
        QCOMPARE(pausedInside, during != QLatin1String("listing"));
        QCOMPARE(waitsAfterClose, 1);
        QVERIFY(logger);
        QVERIFY(!logger->isVisible());
        QVERIFY(rig.poll.isActive());
        QCOMPARE(rig.messages(), QStringList{MeterSettingsCommands::eraseQuestion()});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!logger);
    }

    // Cancel leaves the memory as it is; OK erases it.
    void eraseAndSystemTime() {
        LoggerRig rig;
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

        // SYSTEM TIME sets the meter's clock, the poll paused meanwhile.
        rig.serial.writes.clear();
        QStringList captions;
        QObject::connect(&rig.commands, &MeterSettingsCommands::commCaptionChanged, &rig.panel,
                         [&](const QString& caption) {
                             captions << caption + (rig.poll.isActive() ? "" : " paused");
                         });
        rig.commands.CMDSYSTEM_Click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{QByteArray::fromHex("4403050214301500")});
        QCOMPARE(captions, (QStringList{"WAIT", "Com3"}));
        QVERIFY(rig.poll.isActive());
    }

    // LOGGER and REC_LIST readable with the widest texts they show.
    void legibleWithTheWidestTexts() {
        LoggerRig rig;
        rig.serial.engine().receive(QByteArray::fromHex("57ffff00000000"));
        rig.serial.engine().receive(QByteArray::fromHex("58ffff00000000"));
        LoggerWindow* logger = rig.open();
        QCOMPARE(rig.text("Text2"), QStringLiteral(" 65535  sec"));
        rig.choose(3);
        for (int set = 4; set <= 255; ++set)
            rig.grid()->addRow(QStringLiteral(" %1\t99-12-31----23:59:59").arg(set));
        const QList<std::pair<const char*, QString>> widest{
            {"Label6", QStringLiteral("32 K")},
            {"Label8", SetDownload::progressText(10 + 4 * 32764)},
            {"Label1", LoggerWindow::waitText()},
            {"LBLSET", QStringLiteral("255")},
            {"LBLRECORDS", QStringLiteral("65535")}};
        for (const auto& [name, text] : widest)
            logger->findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
        verifyLegible(logger);

        RecordListWindow list(&rig.panel, rig.state, rig.platform);
        list.setStatusCaption(SetDownload::recordListCaption(32764, 255));
        for (int record = 1; record <= 30; ++record)
            list.appendRecordRow(QStringLiteral("99-12-31\t23:59:59\t-199.9\t-199.9\tF\tLOW"));
        list.grid().setCellText(list.grid().firstVisibleRow(), 0, QStringLiteral(" 32764"));
        verifyLegible(&list);
    }
};

QTEST_MAIN(LoggerWindowTest)
#include "logger_window_test.moc"
