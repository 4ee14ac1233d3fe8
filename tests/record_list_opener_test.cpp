#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "app/RecordListOpener.h"
#include "lists/Grid.h"
#include "lists/RecordListWindow.h"
#include "state/SharedState.h"

#include <QSignalSpy>
#include <QTest>

class RecordListOpenerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // SHOW DATA replaces an open REC_LIST with a fresh, empty one; the old one says it goes.
    void eachOpeningReplacesTheOpenWindow() {
        ScriptedSerialPort serial;
        FakeDialogs dialogs;
        FakePrinter printer;
        FakeClock clock;
        FakeWaiter waiter{&clock};
        SharedState state;
        QWidget panel;
        auto* opener =
            new RecordListOpener(&panel, state, Platform{serial, dialogs, printer, clock, waiter});
        QList<RecordListWindow*> opened;
        connect(opener, &RecordListOpener::opened, this,
                [&opened](RecordListWindow* window) { opened << window; });
        const auto openRecordList = opener->factory();

        QPointer<RecordListWindow> first = openRecordList();
        first->appendRecordRow(QStringLiteral("05-02-2003\t14:00:00\t45.6\t23.1\tC"));
        QSignalSpy firstUnloaded(first.data(), &RecordListWindow::unloaded);
        RecordListWindow* second = openRecordList();
        QCOMPARE(firstUnloaded.size(), 1);
        QTRY_VERIFY(!first);
        QVERIFY(second->isVisible());
        QCOMPARE(second->grid().rowCount(), 1);
        QCOMPARE(opener->window(), second);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.last(), second);
    }
};

QTEST_MAIN(RecordListOpenerTest)
#include "record_list_opener_test.moc"
