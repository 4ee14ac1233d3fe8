#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "SimProcess.h"
#include "link/MeterLink.h"
#include "lists/Grid.h"
#include "lists/RecordListWindow.h"
#include "logger/LoggerWindow.h"
#include "logger/MeterSettingsCommands.h"
#include "platform/Clock.h"
#include "platform/QtSerialPort.h"
#include "platform/QtWaiter.h"
#include "state/SharedState.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

// One set downloaded from meter-sim on a pseudo-terminal at the pace of a 9600-baud line,
// through the real serial port, waits and clock.
class LoggerEndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void downloadThroughTheLine() {
        SimProcess sim;
        QVERIFY2(sim.start(), "meter-sim did not start");
        qputenv("METER_COM1", sim.devicePath().toLocal8Bit());
        sim.control(QStringLiteral("pace on"));

        SharedState state;
        state.ComPortNumber = 1;
        QWidget panel;
        auto* serial = new QtSerialPort(&panel);
        QVERIFY(serial->open(1));
        FakeDialogs dialogs;
        FakePrinter printer;
        SystemClock clock;
        QtWaiter waiter;
        const Platform platform{*serial, dialogs, printer, clock, waiter};
        QTimer poll;
        MeterLink link(&panel, *serial, waiter, state.reading, &poll);
        QPointer<RecordListWindow> list;
        MeterSettingsCommands commands(&panel, link, state, platform, [&] {
            list = new RecordListWindow(&panel, state, platform);
            return list.data();
        });

        commands.CMDMEMORY_Click();
        LoggerWindow* logger = commands.logger();
        const auto text = [logger](const char* name) {
            return logger->findChild<QLabel*>(QString::fromLatin1(name))->text();
        };
        QTRY_COMPARE_WITH_TIMEOUT(text("LBLSET"), QStringLiteral("3"), 10000);
        QTRY_VERIFY(!logger->exchangeRunning());
        logger->SSCommand2_Click();
        logger->findChild<Grid*>(QStringLiteral("Grid1"))->setCurrentRow(3);
        logger->Grid1_Click();
        logger->SSCommand3_Click();
        QVERIFY(list);
        QCOMPARE(text("Label8"), QStringLiteral("30 RECORDS COMPLETED"));
        QCOMPARE(list->grid().rowCount(), 31);
        QCOMPARE(list->grid().cellText(30, 2), QStringLiteral("09:34:50"));
        QCOMPARE(list->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral(" 30  RECORDS IN NO.  3  SET"));
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(poll.isActive());
    }
};

QTEST_MAIN(LoggerEndToEndTest)
#include "logger_end_to_end_test.moc"
