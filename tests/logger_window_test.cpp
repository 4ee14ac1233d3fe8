#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "SimSerialPort.h"
#include "link/MeterLink.h"
#include "lists/Grid.h"
#include "lists/RecordListWindow.h"
#include "logger/LoggerWindow.h"
#include "logger/MeterSettingsCommands.h"
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
    QString text(const char* name) const {
        QWidget* window = commands.logger();
        if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
        return window->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    QPushButton* button(const char* name) const {
        return commands.logger()->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    Grid* grid() const { return commands.logger()->findChild<Grid*>(QStringLiteral("Grid1")); }
    QStringList messages() const {
        QStringList texts;
        for (const FakeDialogs::Message& message : dialogs.messages)
            texts << message.text;
        return texts;
    }
    // A set of three records, 2 s apart, the only one in the meter.
    void recordThree() {
        meter("erase");
        meter("drift off");
        meter("rh 45.2");
        meter("temp 21.3");
        serial.engine().receive("S");
        clock.advanceMilliseconds(4500);
        serial.engine().receive("T");
    }
};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray data;
    for (int value : values)
        data.append(static_cast<char>(value));
    return data;
}

} // namespace

class LoggerWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusRefresh_data() {
        QTest::addColumn<bool>("erased");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QString>("sets");
        QTest::newRow("0 sets") << true << "32 K"
                                << "0";
        QTest::newRow("3 sets") << false << "31.8 K"
                                << "3";
    }
    void statusRefresh() {
        QFETCH(bool, erased);
        QFETCH(QString, remaining);
        QFETCH(QString, sets);
        LoggerRig rig;
        if (erased)
            rig.meter("erase");
        rig.commands.CMDMEMORY_Click();
        QVERIFY(rig.serial.writes.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{"Y", "C"}));
        QCOMPARE(rig.text("Label4"), QStringLiteral("32 K"));
        QCOMPARE(rig.text("Label6"), remaining);
        QCOMPARE(rig.text("LBLSET"), sets);
        QCOMPARE(rig.text("Text2"), QStringLiteral(" 2  sec"));
        QCOMPARE(rig.text("Text3"), QStringLiteral("1234"));
        QCOMPARE(rig.text("Label3"), QStringLiteral("03-05-02-----14:30:15"));
        QCOMPARE(rig.text("Label1"), QString());
        QVERIFY(rig.poll.isActive());
        QVERIFY(!rig.button("SSCommand3")->isEnabled());

        // Every resize, minimise and restore refreshes; a refresh asked for during one runs
        // after it, not inside it.
        rig.serial.writes.clear();
        LoggerWindow* logger = rig.commands.logger();
        logger->resize(logger->width() + 10, logger->height());
        logger->showMinimized();
        QCoreApplication::processEvents();
        QCOMPARE(rig.serial.writes, (QList<QByteArray>{"Y", "C"}));

        // A refresh asked for during another exchange runs after it, not inside it.
        logger->SSCommand2_Click();
        rig.grid()->setCurrentRow(2);
        logger->Grid1_Click();
        rig.serial.writes.clear();
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
        QTest::newRow("ID 70000") << "SSCommand4"
                                  << "Text3"
                                  << "70000" << bytes({'X', 0, 0, 0, 0, 0, 0}) << "0";
        QTest::newRow("interval -1") << "SSCommand5"
                                     << "Text2"
                                     << "-1" << bytes({'W', 0, 0, 0, 0, 0, 0}) << "0";
        QTest::newRow("interval as shown")
            << "SSCommand5"
            << "Text2"
            << " 300  sec" << bytes({'W', 1, 0x2C, 0, 0, 0, 0}) << " 300  sec";
        QTest::newRow("ID 65535") << "SSCommand4"
                                  << "Text3"
                                  << "65535" << bytes({'X', 0xFF, 0xFF, 0, 0, 0, 0}) << "65535";
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
        rig.button(button.toLatin1())->click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{frame});
        QCOMPARE(rig.text(box.toLatin1()), shown);
        const bool invalid = shown == QLatin1String("0");
        QCOMPARE(rig.messages(),
                 invalid ? QStringList{LoggerWindow::invalidEntryMessage()} : QStringList());
        QVERIFY(rig.button(button.toLatin1())->isEnabled());
        QVERIFY(rig.poll.isActive());

        // The frame buffer outlives the window: a later "K" carries this frame's low byte.
        logger = rig.open();
        logger->SSCommand2_Click();
        rig.grid()->setCurrentRow(2);
        logger->Grid1_Click();
        rig.serial.writes.clear();
        logger->SSCommand3_Click();
        QCOMPARE(rig.serial.writes.first(), bytes({'K', 2, frame.at(2), 0, 0, 0, 0}));
    }

    // The longest texts the meter can bring still fit their boxes.
    void textsFit() {
        LoggerRig rig;
        rig.serial.engine().receive(bytes({'W', 0xFF, 0xFF, 0, 0, 0, 0}));
        rig.serial.engine().receive(bytes({'X', 0xFF, 0xFF, 0, 0, 0, 0}));
        LoggerWindow* logger = rig.open();
        logger->findChild<QLabel*>(QStringLiteral("Label8"))
            ->setText(QStringLiteral("32764 RECORDS COMPLETED"));
        logger->findChild<QLabel*>(QStringLiteral("Label6"))->setText(QStringLiteral("31.9 K"));
        QCOMPARE(rig.text("Text2"), QStringLiteral(" 65535  sec"));
        for (const QWidget* widget : logger->findChildren<QWidget*>()) {
            QString text;
            int padding = 0;
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                text = label->text();
            else if (const auto* button = qobject_cast<const QPushButton*>(widget))
                text = button->text(), padding = 8;
            else if (const auto* box = qobject_cast<const QLineEdit*>(widget))
                text = box->text(), padding = 8;
            QVERIFY2(widget->fontMetrics().horizontalAdvance(text) + padding <= widget->width(),
                     qPrintable(widget->objectName()));
            QVERIFY2(widget->fontMetrics().height() <= widget->height(),
                     qPrintable(widget->objectName()));
        }
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
        QCOMPARE(rig.grid()->rowCount(), 4);
        QCOMPARE(rig.grid()->cellText(3, 0), QStringLiteral(" 3"));
        QCOMPARE(rig.grid()->cellText(1, 1), QStringLiteral("24-01-31----23:58:30"));
        QCOMPARE(rig.text("Label8"), QStringLiteral(" 3 SETS COMPLETED"));
        QVERIFY(!rig.button("SSCommand2")->isEnabled());
        QVERIFY(logger->findChild<QLabel*>(QStringLiteral("Label2"))->isVisibleTo(logger));

        Grid* grid = rig.grid();
        const QRect row3 = grid->visualRect(grid->model()->index(2, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(rig.state.logger.SelectedSet, 3);
        QCOMPARE(rig.state.logger.SetRecordCount, QStringLiteral("30"));
        QCOMPARE(rig.text("LBLRECORDS"), QStringLiteral("30"));
        QVERIFY(rig.button("SSCommand3")->isEnabled());
    }

    void noRecords() {
        LoggerRig rig;
        rig.meter("erase");
        LoggerWindow* logger = rig.open();
        logger->SSCommand2_Click();
        QCOMPARE(rig.serial.writes, QList<QByteArray>{"I"});
        QCOMPARE(rig.messages(), QStringList{LoggerWindow::noRecordsMessage()});
        QCOMPARE(rig.grid()->rowCount(), 1);
        QVERIFY(!rig.button("SSCommand2")->isEnabled());
    }

    // After the directory was read the meter is erased, or records a shorter set: the list
    // holds what arrived and says how many did not.
    void showData_data() {
        QTest::addColumn<int>("recordedAgain");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("caption");
        QTest::newRow("all arrive") << -1 << 3 << " 3  RECORDS IN NO.  1  SET";
        QTest::newRow("one arrives") << 1 << 1 << " 1  RECORDS IN NO.  1  SET";
        QTest::newRow("set gone") << 0 << 0 << " 0  RECORDS IN NO.  1  SET";
    }
    void showData() {
        QFETCH(int, recordedAgain);
        QFETCH(int, rows);
        QFETCH(QString, caption);
        LoggerRig rig;
        rig.recordThree();
        LoggerWindow* logger = rig.open();
        logger->SSCommand2_Click();
        rig.grid()->setCurrentRow(1);
        logger->Grid1_Click();
        QCOMPARE(rig.text("LBLRECORDS"), QStringLiteral("3"));
        if (recordedAgain >= 0) {
            rig.meter("erase");
            if (recordedAgain > 0) {
                rig.serial.engine().receive("S");
                rig.serial.engine().receive("T");
            }
        }
        rig.waiter.waits.clear();
        rig.button("SSCommand3")->click();

        QVERIFY(rig.list);
        Grid& list = rig.list->grid();
        QCOMPARE(list.rowCount(), rows + 1);
        QCOMPARE(rig.list->findChild<QLabel*>(QStringLiteral("Label1"))->text(), caption);
        const QStringList missing =
            rows < 3 ? QStringList{LoggerWindow::missingRecordsMessage(3 - rows)} : QStringList();
        QCOMPARE(rig.messages(), missing);
        // The click's pause, the line's silence, then one pause a record.
        const int silence =
            qRound(LoggerExchange::DownloadSilenceSeconds / LoggerExchange::WaitStepSeconds);
        QCOMPARE(rig.waiter.waits.count(0.01), 1 + silence + rows);
        if (recordedAgain < 0) {
            QCOMPARE(list.cellText(3, 0), QStringLiteral(" 3"));
            QCOMPARE(list.cellText(3, 2), QStringLiteral("14:30:19"));
            QCOMPARE(list.cellText(1, 3), QStringLiteral("45.2"));
            QCOMPARE(list.cellText(1, 4), QStringLiteral("21.3"));
        }
        QVERIFY(!rig.button("SSCommand3")->isEnabled());
        QCOMPARE(rig.text("Label1"), QString());
        QVERIFY(rig.poll.isActive());
    }

    // A silent meter ends each exchange after the time-out, everything put back; a surplus
    // byte after a reply does not hold the wait.
    void meterTrouble_data() {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<bool>("timesOut");
        for (const char* handler : {"Form_Resize", "SSCommand6", "SSCommand2"})
            QTest::newRow(handler) << handler << "silent on" << true;
        QTest::newRow("clock, surplus") << "SSCommand6"
                                        << "extra 1" << false;
        QTest::newRow("directory, surplus") << "SSCommand2"
                                            << "extra 1" << false;
    }
    void meterTrouble() {
        QFETCH(QString, handler);
        QFETCH(QString, trouble);
        QFETCH(bool, timesOut);
        LoggerRig rig;
        rig.meter("erase");
        rig.serial.engine().receive("S");
        rig.serial.engine().receive("T");
        LoggerWindow* logger = rig.open();
        rig.meter(trouble.toLatin1());
        rig.clock.advanceMilliseconds(1000);
        const qint64 start = rig.clock.steadyMilliseconds();
        if (handler == QLatin1String("Form_Resize"))
            logger->Form_Resize();
        else
            rig.button(handler.toLatin1())->click();

        QCOMPARE(rig.dialogs.messages.size(), timesOut ? 1 : 0);
        if (timesOut) {
            const FakeDialogs::Message& message = rig.dialogs.messages.first();
            QCOMPARE(message.text, LoggerWindow::noAnswerMessage());
            QCOMPARE(message.icon, Dialogs::Icon::Critical);
            QCOMPARE(message.title, QStringLiteral("Humidity_Temperature"));
            QVERIFY(rig.clock.steadyMilliseconds() - start < 10'000);
        } else if (handler == QLatin1String("SSCommand6")) {
            QCOMPARE(rig.text("Label3"), QStringLiteral("03-05-02-----14:30:16"));
        } else {
            QCOMPARE(rig.grid()->rowCount(), 2);
        }
        QCOMPARE(rig.text("Label1"), QString());
        QVERIFY(rig.poll.isActive());
        QVERIFY(rig.button("SSCommand6")->isEnabled());
        QCOMPARE(rig.button("SSCommand2")->isEnabled(), handler != QLatin1String("SSCommand2"));
    }

    // Closed mid-exchange (by the user or the main window), LOGGER gives up at once, the poll
    // starts again, and the window goes only after the exchange has unwound.
    void closeDuringExchange_data() {
        QTest::addColumn<QString>("during");
        QTest::newRow("status") << "status";
        QTest::newRow("download") << "download";
        QTest::newRow("listing") << "listing";
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
            logger->SSCommand2_Click();
            rig.grid()->setCurrentRow(3);
            logger->Grid1_Click();
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

    void erase_data() {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::newRow("OK") << Dialogs::Answer::Ok << QList<QByteArray>{"EEE"};
        QTest::newRow("Cancel") << Dialogs::Answer::Cancel << QList<QByteArray>{};
    }
    void erase() {
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QList<QByteArray>, sent);
        LoggerRig rig;
        rig.dialogs.messageAnswers = {answer};
        rig.commands.CMDERASE_Click();
        const FakeDialogs::Message& message = rig.dialogs.messages.first();
        QCOMPARE(message.text,
                 QStringLiteral("ALL RECORDED DATA IN THE METER\n\rWILL BE DELETED!!"));
        QCOMPARE(message.buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(message.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(rig.serial.writes, sent);
        QCOMPARE(rig.waiter.waits, sent.isEmpty() ? QList<double>{} : QList<double>{0.02});
        QCOMPARE(rig.serial.engine().memory().setCount(), sent.isEmpty() ? 3 : 0);
        QVERIFY(rig.poll.isActive());
    }

    void systemTimeSet() {
        LoggerRig rig;
        QStringList captions;
        QObject::connect(&rig.commands, &MeterSettingsCommands::commCaptionChanged, &rig.panel,
                         [&](const QString& caption) {
                             captions << caption + (rig.poll.isActive() ? "" : " paused");
                         });
        rig.commands.CMDSYSTEM_Click();
        QCOMPARE(rig.serial.writes,
                 QList<QByteArray>{bytes({0x44, 0x03, 0x05, 0x02, 0x14, 0x30, 0x15, 0x00})});
        QCOMPARE(captions, (QStringList{"WAIT", "Com3"}));
        QVERIFY(rig.poll.isActive());
    }
};

QTEST_MAIN(LoggerWindowTest)
#include "logger_window_test.moc"
